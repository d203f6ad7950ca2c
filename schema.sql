-- The host database as TARVEX reads and writes it: the tables and columns the plug-in names.
-- Amounts are stored in cents and tax rates in tenths of a percent; dates are ISO text
-- (YYYY-MM-DD, optionally with a time). The plug-in creates none of these tables; the demo and
-- the tests create them from this file.

-- The user's pending-document record, written by the host when an invoice is started.
-- A user may have more than one; the plug-in reads the first one returned.
CREATE TABLE "TempDoc" (
    "ID_TempDoc"             INTEGER PRIMARY KEY,
    "ID_Benutzer"            INTEGER NOT NULL,
    "ID_Auftragsnummer"      INTEGER,
    "MeßtruppZusammenfassen" INTEGER DEFAULT 0,            -- flag: 0 false, other true
    "ID_Lieferschein"        INTEGER,
    "AbschlagAbsolut"        REAL,                         -- euro
    "AbschlagProzent"        INTEGER DEFAULT 100,          -- percent; 100 means no share
    "Zahlungsziel"           INTEGER DEFAULT 0,            -- flag: print the deadline
    "Mehrwertsteuersatz"     INTEGER,                      -- tenths of a percent
    "Preisgruppe1"           INTEGER,
    "Preisgruppe2"           INTEGER,
    "Preisgruppe3"           INTEGER,
    "Preisgruppe4"           INTEGER,
    "Mehrwertsteuer"         INTEGER,                      -- tenths of a percent
    "MwStErmäßigt"           INTEGER,                      -- tenths of a percent
    "Rabatt"                 INTEGER DEFAULT 0             -- percent
);
CREATE INDEX "TempDoc_Benutzer" ON "TempDoc" ("ID_Benutzer");

-- Invoices. Kind ("Rechnungsart"): 4 final invoice, 5 advance invoice, 7 credit (amounts
-- stored negative), other values ordinary.
CREATE TABLE "Rechnung" (
    "ID_Rechnungsnummer"         INTEGER PRIMARY KEY,
    "Rechnungsnummer"            TEXT NOT NULL,
    "Rechnungsart"               INTEGER NOT NULL DEFAULT 0,
    "ID_Auftragsnummer"          INTEGER,
    "NettoRechnung"              INTEGER NOT NULL DEFAULT 0,  -- cents, net bearing VAT
    "Brutto"                     INTEGER NOT NULL DEFAULT 0,  -- cents
    "MehrwertsteuerFreierbetrag" INTEGER NOT NULL DEFAULT 0,  -- cents, net without VAT
    "Mehrwertsteuersatz"         INTEGER NOT NULL DEFAULT 0   -- tenths of a percent
);
CREATE INDEX "Rechnung_Auftrag" ON "Rechnung" ("ID_Auftragsnummer", "Rechnungsart");

-- Dated entries of an invoice; kind ("ID_Terminart") 8 is the invoice date.
CREATE TABLE "Termine" (
    "ID_Termin"          INTEGER PRIMARY KEY,
    "ID_Rechnungsnummer" INTEGER NOT NULL REFERENCES "Rechnung" ("ID_Rechnungsnummer"),
    "ID_Terminart"       INTEGER NOT NULL,
    "Datum"              DATE NOT NULL CHECK (date("Datum") IS NOT NULL)
);
CREATE INDEX "Termine_Rechnung" ON "Termine" ("ID_Rechnungsnummer", "ID_Terminart");

-- The office's template settings; the first record counts.
CREATE TABLE "Version" (
    "ID_Version"          INTEGER PRIMARY KEY,
    "Zahlungsziel"        TEXT,                      -- sentence, days between "<" and ">"
    "AbstandZahlungsziel" REAL,                      -- centimetres from the top of the page
    "BundZahlungsziel"    INTEGER NOT NULL DEFAULT 0 -- 0 left, 1 centred, other right
);
