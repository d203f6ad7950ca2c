#include "document/fee_table.h"

#include "plugin/session/sitzungsdaten.h"
#include "support/error_trap.h"

namespace tarvex {

namespace {

constexpr const char* kStartMarke = "lumStart";

}  // namespace

word::Document& offenesDokument() {
    const auto& doc = sitzungsdaten().Doc;
    if (!doc) throw Error(errc::objectNotSet);
    return *doc;
}

std::array<double, 5> Spaltenbreiten(const std::string& Fenstername) {
    if (Fenstername == "frmKat1") return {1.9, 7.9, 1.7, 3.5, 2.5};
    if (Fenstername == "frmKat2" || Fenstername == "frmKat5") return {1.5, 8.3, 1.9, 3.3, 2.5};
    if (Fenstername == "frmKat3" || Fenstername == "frmKat4") return {1.5, 8.3, 1.7, 3.5, 2.5};
    throw Error(errc::invalidCall);
}

word::Range WordTabelleFestlegen(const std::string& Fenstername,
                                 const std::optional<word::Table>& Tabelle) {
    ErrorTrap trap(Fenstername, "WordTabelleFestlegen");
    std::optional<word::Range> bereich;

    if (Tabelle) {
        // The new table takes the place of the one the window was opened on.
        trap.step(10, [&] { bereich = Tabelle->Range(); });
        trap.step(20, [&] {
            word::Table alt = *Tabelle;
            alt.Delete();
        });
        trap.step(30, [&] { bereich.value().Collapse(word::CollapseDirection::End); });
    } else {
        long anzahl = 0;
        // Taken once: inserting paragraphs adds or removes no comment.
        std::optional<word::Comments> kommentare;
        trap.step(40, [&] {
            kommentare = offenesDokument().Comments();
            anzahl = kommentare->Count();
        });
        // Every "lumStart" gets its paragraph; the last one in comment order wins.
        for (long i = 1; i <= anzahl; ++i) {
            std::optional<word::Range> marke;
            if (!trap.step(50,
                           [&] {
                               word::Comment k = kommentare->Item(i);
                               if (k.Text() == kStartMarke) marke = k.Reference();
                           }) ||
                !marke)
                continue;
            trap.step(60, [&] { marke->Collapse(word::CollapseDirection::Start); });
            trap.step(70, [&] { marke->MoveStartWord(-1); });
            trap.step(80, [&] { marke->InsertParagraphBefore(); });
            trap.step(90, [&] { marke->Collapse(word::CollapseDirection::Start); });
            bereich = marke;
        }
        if (!bereich) {
            trap.step(100, [&] {
                word::Range ende = offenesDokument().Content();
                ende.Collapse(word::CollapseDirection::End);
                ende.InsertParagraphAfter();
                ende.Collapse(word::CollapseDirection::End);
                bereich = ende;
            });
        }
    }

    if (bereich) return *bereich;
    // Nothing could be placed (a stale table handle, say): the end of the body still takes a
    // table, so the user's input is not lost. Without a document this raises 91.
    word::Range ende = offenesDokument().Content();
    ende.Collapse(word::CollapseDirection::End);
    return ende;
}

void TabelleFormatieren(const std::string& Fenstername, word::Table& Tabelle) {
    ErrorTrap trap(Fenstername, "TabelleFormatieren");
    auto auswahl = [] { return offenesDokument().Application().Selection(); };

    trap.step(10, [&] { Tabelle.Select(); });
    int zeile = 20;
    for (int rand = -1; rand >= -6; --rand) {
        trap.step(zeile++, [&] {
            auswahl()
                .Borders(static_cast<word::BorderIndex>(rand))
                .SetLineStyle(word::LineStyle::None);
        });
    }
    trap.step(30, [&] { auswahl().SetParagraphAlignment(word::Alignment::Right); });
    trap.step(40, [&] { Tabelle.Columns().Item(1).Select(); });
    trap.step(41, [&] { auswahl().SetParagraphAlignment(word::Alignment::Left); });
    trap.step(50, [&] { Tabelle.Columns().Item(2).Select(); });
    trap.step(51, [&] { auswahl().SetParagraphAlignment(word::Alignment::Left); });

    std::optional<std::array<double, 5>> breiten;
    trap.step(60, [&] { breiten = Spaltenbreiten(Fenstername); });
    if (!breiten) return;
    for (long spalte = 1; spalte <= 5; ++spalte) {
        trap.step(60 + static_cast<int>(spalte), [&] {
            Tabelle.Columns().Item(spalte).SetWidth(word::Application::CentimetersToPoints(
                (*breiten)[static_cast<std::size_t>(spalte - 1)]));
        });
    }
}

void TabellenkopfSchreiben(const std::string& Fenstername, word::Table& Tabelle,
                           const std::string& Überschrift) {
    ErrorTrap trap(Fenstername, "CommandEnde_Click");
    trap.step(10, [&] {
        word::Range kopf = Tabelle.Cell(1, 1).Range();
        kopf.InsertAfter(Überschrift + "\r\n");
        kopf.SetBold(true);
        kopf.SetUnderline(true);
    });
    // Row 1 spans 12 + 1 + 1 + 1 + 2.5 cm, the same 17.5 cm as the columns below.
    constexpr double kopfBreiten[] = {12.0, 1.0, 1.0, 1.0};
    for (long spalte = 1; spalte <= 4; ++spalte) {
        trap.step(20, [&] {
            Tabelle.Cell(1, spalte).SetWidth(word::Application::CentimetersToPoints(
                kopfBreiten[static_cast<std::size_t>(spalte - 1)]));
        });
    }
    const char* spaltenköpfe[] = {"Geb. V.", "Gegenstand", "Anzahl", "Einzelgebühr [€]",
                                  "Gebühr [€]"};
    for (short spalte = 1; spalte <= 5; ++spalte)
        wordTabelle(Tabelle, 2, spalte, spaltenköpfe[spalte - 1], true, "");
}

void wordTabelle(word::Table& Tabelle, short Zeile, short Spalte, const std::string& Text,
                 bool Fett, const std::string& Kommentar) {
    ErrorTrap trap("Rechnung", "wordTabelle");
    std::optional<word::Range> zelle;
    trap.step(10, [&] {
        zelle = Tabelle.Cell(Zeile, Spalte).Range();
        zelle->InsertAfter(Text);
    });
    if (!zelle) return;
    if (Fett) trap.step(20, [&] { zelle->SetBold(true); });
    if (!Kommentar.empty())
        trap.step(30, [&] { offenesDokument().Comments().Add(*zelle, Kommentar); });
}

std::string ZelleEinlesen(const word::Table& Tabelle, short Zeile, short Spalte) {
    ErrorTrap trap("Rechnung", "ZelleEinlesen");
    std::string text;
    trap.step(10, [&] {
        std::string roh = Tabelle.Cell(Zeile, Spalte).Range().Text();
        // Only the end-of-cell mark "\r\a" goes; blanks of empty mask places are data.
        text = roh.size() >= 2 ? roh.substr(0, roh.size() - 2) : std::string();
    });
    return text;
}

void BookmarkSetzen(word::Table& Tabelle, const std::string& Tag) {
    ErrorTrap trap("LM_WordAuto", "BookmarkSetzen");
    trap.step(10, [&] { Tabelle.Cell(1, 5).Select(); });
    trap.step(20, [&] {
        word::Document& doc = offenesDokument();
        doc.Comments().Add(doc.Application().Selection().Range(), Tag);
    });
}

}  // namespace tarvex
