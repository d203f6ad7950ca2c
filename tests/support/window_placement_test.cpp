#include "support/window_placement.h"

#include <gtest/gtest.h>

#include "support/debug_log.h"

using namespace tarvex;
using namespace tarvex::ui;

namespace {

// A dialog that restores its placement on load and stores it on unload, designed at 900/600.
class Placement : public ::testing::Test {
  protected:
    void SetUp() override {
        dialog.on(kFormEvents, Event::Load, [this](EventArgs&) { GetWindowReg(dialog, *store); });
        dialog.on(kFormEvents, Event::Unload, [this](EventArgs&) { SetWindowReg(dialog, *store); });
    }
    std::optional<std::string> stored(const char* key) const {
        return store->get("Lumora", "G_frmTabelle", key);
    }

    std::shared_ptr<SettingsStore> store = makeMemorySettingsStore();
    Form dialog{"G_frmTabelle", [](Form& f) {
                    f.setTop(900);
                    f.setLeft(600);
                }};
};

TEST_F(Placement, FirstUseOpensNormalAtTheTopLeftAndReopensWhereItWasLeft) {
    dialog.load();
    EXPECT_EQ(dialog.windowState(), WindowState::Normal);
    EXPECT_EQ(dialog.top(), 0.0f);
    EXPECT_EQ(dialog.left(), 0.0f);
    dialog.setTop(1234.5f);
    dialog.setLeft(2880);
    dialog.unload();
    EXPECT_EQ(stored("State"), "0");
    EXPECT_EQ(stored("Top"), "1234,5");
    EXPECT_EQ(stored("Left"), "2880");
    dialog.load();
    EXPECT_EQ(dialog.top(), 1234.5f);
    EXPECT_EQ(dialog.left(), 2880.0f);
}

TEST_F(Placement, MaximisedStoresStateTwoAndKeepsTheEarlierPosition) {
    store->set("Lumora", "G_frmTabelle", "Top", "300");
    store->set("Lumora", "G_frmTabelle", "Left", "450");
    dialog.load();
    dialog.setTop(5);
    dialog.setWindowState(WindowState::Maximized);
    dialog.unload();
    EXPECT_EQ(stored("State"), "2");
    EXPECT_EQ(stored("Top"), "300");
    dialog.load();
    EXPECT_EQ(dialog.windowState(), WindowState::Maximized);
}

TEST_F(Placement, BadValuesAreLoggedAndOnlyTheirStepsSkipped) {
    ScopedLogCapture log;
    store->set("Lumora", "G_frmTabelle", "State", "7");
    store->set("Lumora", "G_frmTabelle", "Top", "oben");
    store->set("Lumora", "G_frmTabelle", "Left", "720");
    dialog.load();
    EXPECT_EQ(dialog.windowState(), WindowState::Normal);
    EXPECT_EQ(dialog.top(), 900.0f);
    EXPECT_EQ(dialog.left(), 720.0f);
    ASSERT_EQ(log.count(), 2u);
    EXPECT_TRUE(log.contains("Error 380: "));
    EXPECT_TRUE(log.contains("Error 13: "));
    EXPECT_TRUE(log.contains("-LumDienste- G_Funktionen.GetWindowReg"));
}

}  // namespace
