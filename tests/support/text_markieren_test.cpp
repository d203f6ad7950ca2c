#include "support/text_markieren.h"

#include <gtest/gtest.h>

#include "platform/ui/form.h"
#include "platform/ui/user_actions.h"
#include "support/debug_log.h"
#include "support/number_text.h"

using namespace tarvex;
using namespace tarvex::ui;

namespace {

Form shareWindow() {
    return Form("frmKat5", [](Form& f) {
        f.addMaskedField("mskBezug", "####,##").setText("1000,00");
        f.addTextBox("txtLang");
        f.addLabel("lblSumme", "0,0");
    });
}

TEST(TextMarkieren, SelectsAtMostTheFirst255Characters) {
    Form form = shareWindow();
    TextBox& box = form.textBox("txtLang");
    box.setText(std::string(300, 'x'));
    box.setSelStart(17);
    TextMarkieren(box);
    EXPECT_EQ(box.selStart(), 0);
    EXPECT_EQ(box.selLength(), 255);
    MaskedField& share = form.masked("mskBezug");
    TextMarkieren(share);
    EXPECT_EQ(share.selLength(), 7);
}

TEST(TextMarkieren, LeavesControlsWithoutSelectionAloneAndLogsNothing) {
    ScopedLogCapture log;
    Form form = shareWindow();
    TextMarkieren(form.label("lblSumme"));
    EXPECT_EQ(form.label("lblSumme").caption(), "0,0");
    EXPECT_EQ(log.count(), 0u);
}

// The share field's frame behaviour built from the pieces: select on focus, and on the comma
// key right-align the integer digits and select the decimals.
TEST(ShareField, CommaRightAlignsTheIntegerDigitsAndSelectsTheDecimals) {
    Form form = shareWindow();
    form.on("mskBezug", Event::GotFocus,
            [&](EventArgs&) { TextMarkieren(form.masked("mskBezug")); });
    form.on("mskBezug", Event::KeyPress, [&](EventArgs& a) {
        if (a.keyAscii != ',') return;
        MaskedField& f = form.masked("mskBezug");
        std::string t = WertFormatieren(f.text(), 7, 2);
        std::erase(t, '.');
        f.setText(t);
        f.setSelStart(5);
        f.setSelLength(2);
    });
    form.load();
    const MaskedField& f = form.masked("mskBezug");
    user::keyPress(form, "mskBezug", ',');  // the full share stays, its decimals selected
    EXPECT_EQ(f.text(), "1000,00");
    EXPECT_EQ(f.selText(), "00");
    user::leave(form, "mskBezug");
    user::type(form, "mskBezug", "5,25");  // focus selects all, 5 replaces it
    EXPECT_EQ(f.text(), "   5,25");
    EXPECT_EQ(f.selStart(), 7);
}

}  // namespace
