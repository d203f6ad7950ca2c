#include "platform/ui/form.h"

#include <gtest/gtest.h>

#include "common/error_number.h"
#include "platform/ui/user_actions.h"

using tarvex::testing::errorNumber;

using namespace tarvex;
using namespace tarvex::ui;

namespace {

// A small calculator-like window; every event procedure appends "control.Event" to `log`.
struct Window : ::testing::Test {
    std::vector<std::string> log;
    Form form{
        "frmKat5", [](Form& f) {
            f.setCaption("Grenzfeststellung nach Nr. 30.6");
            for (int i = 0; i < 3; ++i)
                f.addOptionButton("optNr(" + std::to_string(i) + ")", "Art " + std::to_string(i));
            f.option("optNr", 0).setValue(true);
            f.addOptionButton("sevOption1", "W, M, SO", {}, "Faktor A").setValue(true);
            f.addMaskedField("mskAGP", "####");
            f.addMaskedField("mskBoden", "####");
            f.addLabel("lblSumme", "0,0");
            f.addCheckBox("sevCheck1", "Ermäßigung Splitterflächen ");
            f.addComboBox("cmbKlassifizierung", {"Bundesfernstraßen", "Kreisstraßen", "Wege"});
            f.addCommandButton("CommandEnde", "&OK");
        }};

    void record(const std::string& control, Event event, const char* what) {
        form.on(control, event,
                [this, control, what](EventArgs& a) { log.push_back(a.control + "." + what); });
    }
    void recordFocus(const std::string& control) {
        record(control, Event::GotFocus, "GotFocus");
        record(control, Event::LostFocus, "LostFocus");
    }
};

TEST_F(Window, FocusMovesFireLostFocusOfThePreviousControlBeforeGotFocus) {
    form.load();
    recordFocus("mskAGP");
    recordFocus("mskBoden");
    record("mskBoden", Event::Change, "Change");
    record("CommandEnde", Event::Click, "Click");
    recordFocus("CommandEnde");
    user::focus(form, "mskAGP");
    user::focus(form, "mskAGP");  // already focused: nothing
    user::type(form, "mskBoden", "12");
    user::click(form, "CommandEnde");
    EXPECT_EQ(log,
              (std::vector<std::string>{"mskAGP.GotFocus", "mskAGP.LostFocus", "mskBoden.GotFocus",
                                        "mskBoden.Change", "mskBoden.Change", "mskBoden.LostFocus",
                                        "CommandEnde.GotFocus", "CommandEnde.Click"}));
    EXPECT_EQ(form.masked("mskBoden").text(), "12  ");
}

TEST_F(Window, ProgramAssignmentsFireNoEvents) {
    recordFocus("mskAGP");
    record("mskAGP", Event::Change, "Change");
    record("optNr", Event::Click, "Click");
    record("sevCheck1", Event::Click, "Click");
    form.masked("mskAGP").setText("7");
    form.option("optNr", 2).setValue(true);
    form.checkBox("sevCheck1").setValue(1);
    form.combo("cmbKlassifizierung").setListIndex(1);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(form.option("optNr", 2).value());
    EXPECT_FALSE(form.option("optNr", 0).value());
}

TEST_F(Window, KeyPressProcedureMayChangeOrCancelTheKey) {
    form.load();
    form.on("mskAGP", Event::KeyPress, [](EventArgs& a) {
        if (a.keyAscii == 'x') a.keyAscii = '7';
        if (a.keyAscii == '9') a.keyAscii = 0;
    });
    user::type(form, "mskAGP", "1x9");
    EXPECT_EQ(form.masked("mskAGP").text(), "17  ");
}

TEST_F(Window, OptionGroupsExcludeEachOtherAndArraysShareOneProcedure) {
    form.load();
    std::vector<int> clicked;
    form.on("optNr", Event::Click, [&](EventArgs& a) { clicked.push_back(a.index); });
    user::click(form, "optNr(2)");
    user::click(form, "optNr(2)");  // already selected: no second Click
    user::click(form, "optNr(1)");
    EXPECT_EQ(clicked, (std::vector<int>{2, 1}));
    EXPECT_FALSE(form.option("optNr", 0).value());
    EXPECT_FALSE(form.option("optNr", 2).value());
    EXPECT_TRUE(form.option("optNr", 1).value());
    EXPECT_TRUE(form.option("sevOption1").value());  // another group stays selected
}

TEST_F(Window, DisabledOrHiddenControlsIgnoreTheUser) {
    record("sevCheck1", Event::Click, "Click");
    recordFocus("mskAGP");
    form.checkBox("sevCheck1").setEnabled(false);
    form.masked("mskAGP").setVisible(false);
    user::click(form, "sevCheck1");
    user::type(form, "mskAGP", "5");
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(form.checkBox("sevCheck1").value(), 0);
    EXPECT_EQ(form.masked("mskAGP").text(), "    ");
    form.checkBox("sevCheck1").setEnabled(true);
    user::click(form, "sevCheck1");
    EXPECT_EQ(form.checkBox("sevCheck1").value(), 1);
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(Window, ChoosingAListEntrySetsIndexAndTextThenLeaves) {
    form.load();
    recordFocus("cmbKlassifizierung");
    record("cmbKlassifizierung", Event::Click, "Click");
    user::chooseListEntry(form, "cmbKlassifizierung", 1);
    auto& combo = form.combo("cmbKlassifizierung");
    EXPECT_EQ(combo.listIndex(), 1);
    EXPECT_EQ(combo.text(), "Kreisstraßen");
    EXPECT_EQ(log,
              (std::vector<std::string>{"cmbKlassifizierung.GotFocus", "cmbKlassifizierung.Click",
                                        "cmbKlassifizierung.LostFocus"}));
    EXPECT_THROW(user::chooseListEntry(form, "cmbKlassifizierung", 3), Error);
    combo.setText("Wege");
    EXPECT_EQ(combo.listIndex(), 2);
    combo.setText("Feldweg");
    EXPECT_EQ(combo.listIndex(), -1);
}

TEST_F(Window, UnloadRunsFormUnloadAndTheNextLoadStartsFromTheDesign) {
    int loads = 0, unloads = 0;
    form.on(kFormEvents, Event::Load, [&](EventArgs&) { ++loads; });
    form.on(kFormEvents, Event::Unload, [&](EventArgs&) { ++unloads; });
    form.load();
    const WindowHandle first = form.windowHandle();
    EXPECT_NE(first, 0);
    form.masked("mskAGP").setText("44");
    form.setMousePointer(MousePointer::Hourglass);
    user::focus(form, "mskAGP");
    form.unload();
    EXPECT_FALSE(form.isLoaded());
    EXPECT_EQ(form.windowHandle(), 0);
    EXPECT_TRUE(form.controls().empty());
    // Touching a control loads the form afresh.
    EXPECT_EQ(form.masked("mskAGP").text(), "    ");
    EXPECT_EQ(form.mousePointer(), MousePointer::Default);
    EXPECT_EQ(form.activeControl(), nullptr);
    EXPECT_NE(form.windowHandle(), first);
    EXPECT_EQ(loads, 2);
    EXPECT_EQ(unloads, 1);
}

TEST_F(Window, AProcedureThatUnloadsTheFormEndsTheUserAction) {
    form.on("CommandEnde", Event::Click, [this](EventArgs&) { form.unload(); });
    recordFocus("mskAGP");
    form.load();
    user::focus(form, "mskAGP");
    user::click(form, "CommandEnde");  // LostFocus, then Click unloads
    EXPECT_FALSE(form.isLoaded());
    EXPECT_EQ(log, (std::vector<std::string>{"mskAGP.GotFocus", "mskAGP.LostFocus"}));
    EXPECT_EQ(errorNumber([&] { user::click(form, "CommandEnde"); }), 5);
}

TEST_F(Window, UnknownControlsAndWrongKindsRaise) {
    form.load();
    EXPECT_EQ(errorNumber([&] { form.masked("mskGibtEsNicht"); }), 9);
    EXPECT_EQ(errorNumber([&] { form.label("mskAGP"); }), 13);
    EXPECT_EQ(errorNumber([&] { form.setWindowState(3); }), 380);
}

}  // namespace
