// Round trip: every combination of the optional blocks, written by OK into the invoice,
// saved, reopened and read back by a freshly loaded window, then written again unchanged.

#include "kalkulator_fixture.h"

namespace tarvex::testing {
namespace {

// How the small parcels of 30.21.2.3 are entered.
enum class Klein { keine, erstes, mitWeiteren, nurWeitere };

struct Fall {
    bool zwei;      // 30.21.2.2
    Klein klein;    // 30.21.2.3
    bool gross;     // 30.21.2.4
    bool splitter;  // 30.1.2
    bool anteil;    // share of 500
    bool ueber50;   // formed parcels beyond the 50th
    bool klasse;    // the classification factor is written instead of the value factor
};

class ZerlegungRundlauf : public ZerlegungTest, public ::testing::WithParamInterface<Fall> {
  protected:
    // What the window shows that the table must bring back: counts (without the blanks of
    // empty places, which the read-back may place differently), lists, box, factors, share,
    // every amount and the fee.
    static std::vector<std::string> zustand(frmKat1& f, bool klasse) {
        std::vector<std::string> z;
        for (const char* feld :
             {"mskAusFlur", "mskGesamt", "mskNeuFlur", "mskNeuFlur51", "mskGesamt2", "mskGesamt75",
              "mskWeiter75", "mskGesamt599", "mskGP", "mskAGP", "mskBezug"}) {
            std::string t = text(f, feld);
            std::erase(t, ' ');
            z.push_back(std::string(feld) + "=" + t);
        }
        for (const char* liste : {"grdAusFlur", "grdNeuFlur", "txt_2", "txt_50", "Text4"})
            z.push_back(std::string(liste) + "=" + f.textBox(liste).text());
        z.push_back("sevCheck1=" + std::to_string(f.checkBox("sevCheck1").value()));
        z.push_back("lblSplitter=" + std::to_string(f.label("lblSplitter").visible()));
        if (klasse) {
            z.push_back("cmb=" + f.combo("cmbKlassifizierung").text());
            z.push_back("lblStrasse=" + caption(f, "lblStrasse"));
        } else {
            std::string boden = text(f, "mskBoden");
            std::erase(boden, ' ');
            z.push_back("mskBoden=" + boden);
            z.push_back("lblFaktor=" + caption(f, "lblFaktor"));
        }
        for (const char* betrag :
             {"lblAusFlur", "lblNeuFlur", "lblNeuFlur51", "lblNeu2", "lblNeu75", "lblNeu75_51",
              "lblNeu499", "lblGP", "lblAGP", "lblZwischen", "lblSumme"})
            z.push_back(std::string(betrag) + "=" + caption(f, betrag));
        return z;
    }
};

TEST_P(ZerlegungRundlauf, TableReadBackRestoresTheInputsTheFeeAndTheSameTable) {
    const Fall& p = GetParam();
    frmKat1& f = zerlegung();
    user::type(f, "mskAusFlur", "3");
    user::type(f, "grdAusFlur", "Flst. 12\nFlst. 13\nFlst. 14");
    user::type(f, "mskGesamt", p.ueber50 ? "57" : "7");
    user::type(f, "grdNeuFlur", "Flst. 20/1\nFlst. 20/2");
    if (p.zwei) {
        user::type(f, "mskGesamt2", "1");
        user::type(f, "txt_2", "Flst. 20/3\nFlst. 20/4");
    }
    if (p.klein == Klein::erstes || p.klein == Klein::mitWeiteren)
        user::type(f, "mskGesamt75", "1");
    if (p.klein == Klein::mitWeiteren || p.klein == Klein::nurWeitere)
        user::type(f, "mskWeiter75", "3");
    if (p.klein != Klein::keine) user::type(f, "txt_50", "Flst. 20/5\nFlst. 20/6");
    if (p.gross) {
        user::type(f, "mskGesamt599", "2");
        user::type(f, "Text4", "Flst. 20/7");
    }
    user::type(f, "mskGP", "12");
    user::type(f, "mskAGP", "7");
    user::type(f, "mskBoden", p.klasse ? "8" : "1500");
    if (p.klasse) user::chooseListEntry(f, "cmbKlassifizierung", 1);
    if (p.splitter) user::click(f, "sevCheck1");
    if (p.anteil) user::type(f, "mskBezug", "500,");

    rundlauf(f, 4, "TARVEX_1", [&](frmKat1& w) { return zustand(w, p.klasse); });
}

std::string fallName(const Fall& p) {
    static const char* const klein[] = {"", "_Klein", "_KleinUndWeitere", "_NurWeitere"};
    std::string name = std::string(p.zwei ? "_Zwei" : "") + klein[static_cast<int>(p.klein)] +
                       (p.gross ? "_Gross" : "") + (p.splitter ? "_Splitter" : "") +
                       (p.anteil ? "_Anteil500" : "") + (p.ueber50 ? "_Ueber50" : "") +
                       (p.klasse ? "_Klassifizierung" : "_Bodenwert");
    return name.substr(1);
}

void PrintTo(const Fall& p, std::ostream* out) { *out << fallName(p); }

// Every combination of the optional blocks; the two factors take turns from case to case.
std::vector<Fall> alleFälle() {
    std::vector<Fall> fälle;
    for (int bits = 0; bits < 32; ++bits)
        for (Klein k : {Klein::keine, Klein::erstes, Klein::mitWeiteren, Klein::nurWeitere})
            fälle.push_back({(bits & 1) != 0, k, (bits & 2) != 0, (bits & 4) != 0, (bits & 8) != 0,
                             (bits & 16) != 0, fälle.size() % 2 == 1});
    return fälle;
}

INSTANTIATE_TEST_SUITE_P(AlleBlöcke, ZerlegungRundlauf, ::testing::ValuesIn(alleFälle()),
                         [](const auto& fall) { return fallName(fall.param); });

}  // namespace
}  // namespace tarvex::testing
