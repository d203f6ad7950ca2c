#include "platform/settings/settings_store.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "common/error_number.h"
#include "common/scoped_env.h"
#include "common/test_files.h"
#include "platform/error/error.h"
#include "platform/settings/qt_settings_store.h"

using tarvex::testing::errorNumber;

using namespace tarvex;
namespace fs = std::filesystem;

namespace {

// A fresh configuration folder per test, named by XDG_CONFIG_HOME as a user session would.
struct TempConfigHome : tarvex::testing::TempFolder {
    tarvex::testing::ScopedEnv env{"XDG_CONFIG_HOME", path().string()};
    const fs::path& root() const { return path(); }
};

// The contract every settings store keeps; run on each implementation.
TEST(SettingsStoreContract, ValuesReadBackExactlyAreAddressedByAllThreeNamesAndReplaced) {
    const std::pair<const char*, std::function<std::shared_ptr<SettingsStore>()>> stores[] = {
        {"Memory", [] { return makeMemorySettingsStore(); }},
        {"QtIni", [] { return makeQtSettingsStore(); }}};
    for (const auto& [name, make] : stores) {
        SCOPED_TRACE(name);
        TempConfigHome home;
        std::shared_ptr<SettingsStore> store = make();
        EXPECT_FALSE(store->get("Lumora", "G_frmTabelle", "Top"));
        store->set("Lumora", "G_frmTabelle", "Top", "1234,5");
        store->set("Lumora", "G_frmTabelle", "Left", "-60");
        store->set("Lumora", "frmAnders", "Top", "7");
        store->set("Lumora", "G_frmTabelle", "Notiz", "Größe, \"zitiert\" = ja; [x]");
        store->set("Lumora", "G_frmTabelle", "Leer", "");
        EXPECT_EQ(store->get("Lumora", "G_frmTabelle", "Top"), "1234,5");
        EXPECT_EQ(store->get("Lumora", "G_frmTabelle", "Left"), "-60");
        EXPECT_EQ(store->get("Lumora", "frmAnders", "Top"), "7");
        EXPECT_EQ(store->get("Lumora", "G_frmTabelle", "Notiz"), "Größe, \"zitiert\" = ja; [x]");
        EXPECT_EQ(store->get("Lumora", "G_frmTabelle", "Leer"), "");
        EXPECT_FALSE(store->get("Andere", "G_frmTabelle", "Top"));
        store->set("Lumora", "G_frmTabelle", "Top", "2");
        EXPECT_EQ(store->get("Lumora", "G_frmTabelle", "Top"), "2");
    }
}

TEST(QtSettingsStore, PersistsInTheUsersConfigFolderAcrossStores) {
    TempConfigHome home;
    makeQtSettingsStore()->set("Lumora", "G_frmTabelle", "Top", "1440");
    EXPECT_TRUE(fs::is_regular_file(home.root() / "Lumora" / "Lumora.ini"));
    EXPECT_EQ(makeQtSettingsStore()->get("Lumora", "G_frmTabelle", "Top"), "1440");
}

TEST(QtSettingsStore, AHandWrittenUnquotedDecimalCommaReadsBackWhole) {
    TempConfigHome home;
    fs::create_directories(home.root() / "Lumora");
    std::ofstream(home.root() / "Lumora" / "Lumora.ini") << "[G_frmTabelle]\nTop=1234,5\n";
    EXPECT_EQ(makeQtSettingsStore()->get("Lumora", "G_frmTabelle", "Top"), "1234,5");
}

TEST(QtSettingsStore, AnUnwritableStoreRaises75AndBadNamesRaise5) {
    TempConfigHome home;
    std::ofstream(home.root() / "Lumora") << "a file where the folder belongs";
    auto store = makeQtSettingsStore();
    EXPECT_EQ(errorNumber([&] { store->set("Lumora", "G_frmTabelle", "State", "0"); }), 75);
    EXPECT_EQ(errorNumber([&] { store->get("../etc", "G_frmTabelle", "State"); }), 5);
}

}  // namespace
