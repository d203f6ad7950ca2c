// A host in the test: libtarvex.so registers itself, the host creates GO by class name through
// the per-user registry and drives it late-bound only.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>

#include "common/host_database.h"
#include "common/scoped_env.h"
#include "platform/com/class_registry.h"
#include "platform/word/word.h"
#include "platform/dao/dao.h"
#include "plugin/session/sitzungsdaten.h"
#include "tarvex/tarvex.h"

namespace tarvex {
namespace {

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        library = dlopen(TARVEX_PLUGIN_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
        registerServer = entry("tarvex_register_server");
        unregisterServer = entry("tarvex_unregister_server");
        canUnloadNow = entry("tarvex_can_unload_now");
    }
    int (*entry(const char* name))() { return reinterpret_cast<int (*)()>(dlsym(library, name)); }

    testing::TempFolder folder;
    testing::ScopedEnv config{"XDG_CONFIG_HOME", (folder.path() / "config").string()};
    testing::ScopedEnv tmpdir{"TMPDIR", folder.path().string()};
    void* library = nullptr;
    int (*registerServer)() = nullptr;
    int (*unregisterServer)() = nullptr;
    int (*canUnloadNow)() = nullptr;
};

TEST_F(RegistryTest, HostCreatesGoByClassNameAndCallsShowLateBound) {
    ASSERT_EQ(registerServer(), 0);
    nlohmann::json registry = nlohmann::json::parse(std::ifstream(com::classRegistryPath()));
    // The path the library was loaded under (the test links it, so the SONAME link), absolute.
    const std::filesystem::path registered =
        registry["classes"]["TARVEX.GO"]["library"].get<std::string>();
    EXPECT_TRUE(registered.is_absolute()) << registered;
    EXPECT_TRUE(std::filesystem::equivalent(registered, TARVEX_PLUGIN_LIBRARY)) << registered;

    const auto file = testing::schemaDatabase(folder.path());
    testing::runSql(file, testing::gültigerDatensatz);
    {
        auto go = com::createObject("tarvex.go");
        EXPECT_EQ(canUnloadNow(), 0);
        go->put("LumWorkspace", Variant(dao::makeSqliteWorkspace()));
        go->put("DatenbankPfad", Variant(file.string()));
        go->put("ID_Benutzer", Variant(5));
        go->put("Doc", Variant(word::Document::Open(std::string(TARVEX_TEST_DATA) +
                                                     "/templates/template-basic.docx")));
        go->put("Achslänge", Variant(2.5));
        EXPECT_EQ(go->get("ACHSLÄNGE"), Variant(std::int16_t{2}));
        // The GO the registry created and this host share one set of session values.
        go->put("Flurstücksnummer", Variant("17/3"));
        EXPECT_EQ(sitzungsdaten().Flurstücksnummer, "17/3");
        EXPECT_EQ(sitzungsdaten().ID_Benutzer, 5);
        go->invoke(go->idOfName("Show"), com::InvokeKind::Method,
                   {Variant(std::int16_t{0}), Variant(), Variant(77)});
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "Lumo.log")) << "Show met a failure";
    EXPECT_EQ(canUnloadNow(), 0) << "the calculator window is still open";

    ASSERT_EQ(unregisterServer(), 0);
    EXPECT_FALSE(com::registeredLibrary("TARVEX.GO"));
    try {
        com::createObject("TARVEX.GO");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), com::comerr::cannotCreate);
    }
}

// The entry points as a host sees them through the public header: wrong calls are refused
// with an error number and a NULL object, and a released object no longer holds the library.
TEST_F(RegistryTest, PublicEntryPointsCreateAndReleaseGo) {
    auto getClassObject = reinterpret_cast<decltype(&tarvex_get_class_object)>(
        dlsym(library, "tarvex_get_class_object"));
    auto releaseObject =
        reinterpret_cast<decltype(&tarvex_release_object)>(dlsym(library, "tarvex_release_object"));
    ASSERT_NE(getClassObject, nullptr);
    ASSERT_NE(releaseObject, nullptr);

    void* object = &folder;
    EXPECT_EQ(getClassObject("TARVEX.Unbekannt", &object), com::comerr::cannotCreate);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(getClassObject(nullptr, &object), com::comerr::cannotCreate);
    EXPECT_EQ(getClassObject(TARVEX_CLASS_GO, nullptr), errc::invalidCall);
    EXPECT_EQ(releaseObject(nullptr), 0);

    const int before = canUnloadNow();
    ASSERT_EQ(getClassObject("tarvex.go", &object), 0);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(canUnloadNow(), 0);
    EXPECT_EQ(releaseObject(object), 0);
    EXPECT_EQ(canUnloadNow(), before);
}

TEST_F(RegistryTest, UnknownLibraryOrDamagedRegistryCannotCreate) {
    com::registerClass("Fremd.Klasse", (folder.path() / "fehlt.so").string());
    EXPECT_THROW(com::createObject("Fremd.Klasse"), Error);
    std::ofstream(com::classRegistryPath()) << "{ kein json";
    EXPECT_FALSE(com::registeredLibrary("Fremd.Klasse"));
    com::registerClass("TARVEX.GO", TARVEX_PLUGIN_LIBRARY);  // a damaged file is rewritten
    EXPECT_TRUE(com::registeredLibrary("tarvex.go"));
}

}  // namespace
}  // namespace tarvex
