#include "support/text_markieren.h"

#include <gtest/gtest.h>

#include "platform/ui/form.h"
#include "support/debug_log.h"

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

TEST(TextMarkieren, SelectsAtMostTheFirst255CharactersAndLeavesOtherControlsAlone) {
    ScopedLogCapture log;
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
    TextMarkieren(form.label("lblSumme"));
    EXPECT_EQ(form.label("lblSumme").caption(), "0,0");
    EXPECT_EQ(log.count(), 0u);
}

}  // namespace
