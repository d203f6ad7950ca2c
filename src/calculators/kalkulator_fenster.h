#pragma once
// The frame shared by the five calculator windows frmKat1 .. frmKat5: caption, table tag,
// the common controls (OK, "Abbruch", version, share field, "Bereich" box, tab strip), whole-
// text selection on focus, recompute on leaving, the load procedure with its table lookup and
// read-back, "Abbruch", and the OK procedure around the window's own rows.
//
// A calculator derives from it, creates its fields in FelderAnlegen, registers its event
// procedures in its constructor, and supplies GebührBerechnen, TabelleEinlesen and the rows
// of its fee table (Zeilenzahl, Überschrift, ZeilenSchreiben).

#include <cstdint>
#include <optional>
#include <string>

#include "platform/ui/form.h"
#include "platform/word/word.h"
#include "support/error_trap.h"

namespace tarvex {

// What distinguishes one calculator window in the frame.
struct Fensterangaben {
    std::string name;         // "frmKat5"; also the module name in the log and the width key
    std::string titel;        // "Grenzfeststellung nach Nr. 30.6"
    std::string tabellenTag;  // "TARVEX_5"
    std::string bereichText = "Bereich Bodenwert";  // caption of chkBereich
    int breite = 9000;  // client area in twips; the common controls sit at its bottom
    int höhe = 7000;
};

// "V " and the revision number of the plug-in's four-part version ("V 17").
std::string Versionstext();

// The text of a fee-table cell for a multi-line text box: the cell's paragraphs (and manual
// line breaks) come back as the box's own line ends.
std::string Zeilen(const std::string& zelle);

class KalkulatorFenster : public ui::Form {
  public:
    explicit KalkulatorFenster(Fensterangaben angaben);

    const Fensterangaben& angaben() const { return angaben_; }
    // The fee table the window was opened on (found at load), or none.
    const std::optional<word::Table>& tabelle() const { return tabelle_; }

    // The live computation: sets every amount label from the fields. Traps its own failures.
    virtual void GebührBerechnen() {}
    // Fills the fields from the window's fee table in the document and recomputes.
    virtual void TabelleEinlesen(const word::Table& TabelleInWord) { (void)TabelleInWord; }
    // frmKat1 empties its fields at load; the others have nothing to do.
    virtual void EingabenLöschen() {}

    // OK: clears the totals, writes the fee table in place of the old one (or at "lumStart"),
    // tags it, rebuilds the totals and unloads the window. Failing steps are logged under the
    // window's name and "CommandEnde_Click"; the window is unloaded in any case.
    void CommandEnde_Click();
    // "Abbruch": unloads the window; nothing is written and nothing is logged.
    void CommandAbbruch_Click();

  protected:
    // Creates the window's own controls; runs at every load after the common controls exist.
    virtual void FelderAnlegen() {}
    // Step 5 of the load: frmKat3 preselects its first classification entry.
    virtual void AuswahlVorbelegen() {}

    // Rows of the new fee table (at least 2: heading and column headers). Raises 6 on overflow.
    virtual std::int16_t Zeilenzahl() { return 2; }
    // Text of the heading cell (1,1).
    virtual std::string Überschrift() { return angaben_.titel; }
    // Writes the item rows from row 3 on; each cell as its own step of `trap`.
    virtual void ZeilenSchreiben(ErrorTrap& trap, word::Table& tabelle) {
        (void)trap;
        (void)tabelle;
    }

    // The share field holds 1000: the client pays the whole fee. The share counts by its
    // leading number, so "1000,50" still means the whole fee.
    bool anteilIst1000();
    // The fee row `zeile` (text in column 2, lblSumme in column 5) and, when the share is not
    // 1000, two rows below it the share and its amount. Exactly one of the two amounts enters
    // the invoice total; the other is marked "no". Cells are steps 200 of `trap`, the share
    // check step `schrittAnteil`, the move to the share row step `schrittZeile`.
    void GebührUndAnteilSchreiben(ErrorTrap& trap, word::Table& tabelle, std::int16_t zeile,
                                  const char* text, int schrittAnteil, int schrittZeile);

    // Wiring for a masked field: select its whole text on focus.
    void markierenBeimFokus(const std::string& feld);
    // Select on focus and run GebührBerechnen on every leave.
    void berechnenBeimVerlassen(const std::string& feld);

  private:
    void gemeinsameSteuerelemente();
    void Form_Load();
    void mskBezug_KeyPress(ui::EventArgs& args);

    Fensterangaben angaben_;
    std::optional<word::Table> tabelle_;
};

}  // namespace tarvex
