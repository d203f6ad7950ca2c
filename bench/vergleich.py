#!/usr/bin/env python3
"""Saves the same invoices with two builds and compares what they wrote.

    bench/vergleich.py OLD_BUILD NEW_BUILD

A change to the document engine that is meant to be faster must not change what an OK writes.
For every input (the invoices rundlauf.py times, with 1, 20 and 200 fee tables, and every
template in tests/data/templates) and every calculator window, both builds run the same OK on
fresh copies of invoice and database; then word/document.xml and word/comments.xml of the two
saved invoices are compared byte for byte. Comment dates (the time of the OK) are masked.
Prints one line per case and exits with 1 when any part differs.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

HIER = os.path.dirname(os.path.abspath(__file__))
QUELLE = os.path.dirname(HIER)
TEILE = ("word/document.xml", "word/comments.xml")
# Window index and what is typed before OK; the empty windows write their tables too.
FENSTER = [
    ("0", ["type mskAGPSohne 10", "type mskAGP 4"]),
    ("1", []),
    ("2", []),
    ("3", []),
    ("4", []),
]


def teile(docx):
    with zipfile.ZipFile(docx) as z:
        namen = set(z.namelist())
        return {t: re.sub(rb'w:date="[^"]*"', b'w:date=""', z.read(t)) if t in namen else None
                for t in TEILE}


def ok(build, fenster, eingaben, doc, db, env):
    befehl = [os.path.join(build, "apps/tarvex/tarvex"), "show", fenster, "--db", db, "--doc", doc,
              "--rechnung", "1", "--wahl", "neu"]
    for e in eingaben + ["ok"]:
        befehl += ["-e", e]
    return subprocess.run(befehl, env=env, capture_output=True).returncode


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    alt, neu = (os.path.abspath(b) for b in sys.argv[1:])
    arbeit = tempfile.mkdtemp(prefix="tarvex-vergleich-")
    try:
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(arbeit, "config"), TMPDIR=arbeit,
                   TARVEX_HEUTE="2026-03-01")
        demo = os.path.join(arbeit, "demo")
        subprocess.run([os.path.join(neu, "apps/tarvex/tarvex"), "init", demo], env=env,
                       check=True, capture_output=True)
        datenbank = os.path.join(demo, "lumora.sqlite")
        eins = os.path.join(arbeit, "eins.docx")
        shutil.copy(os.path.join(demo, "rechnung.docx"), eins)
        db = os.path.join(arbeit, "eins.sqlite")
        shutil.copy(datenbank, db)
        ok(neu, *FENSTER[0], eins, db, env)

        eingaben = {}
        for n in (1, 20, 200):
            ziel = os.path.join(arbeit, f"rechnung-{n}.docx")
            subprocess.run([sys.executable, os.path.join(HIER, "rechnungen_erzeugen.py"), eins,
                            ziel, str(n), "0"], check=True)
            eingaben[f"{n} Gebührentabellen"] = ziel
        vorlagen = os.path.join(QUELLE, "tests/data/templates")
        for name in sorted(os.listdir(vorlagen)):
            if name.endswith(".docx"):
                eingaben[name] = os.path.join(vorlagen, name)

        abweichungen = 0
        for name, eingabe in eingaben.items():
            for fenster, getippt in FENSTER:
                ergebnisse = []
                for build in (alt, neu):
                    doc, db = os.path.join(arbeit, "t.docx"), os.path.join(arbeit, "t.sqlite")
                    shutil.copy(eingabe, doc)
                    shutil.copy(datenbank, db)
                    ergebnisse.append((ok(build, fenster, getippt, doc, db, env), teile(doc)))
                (rc_alt, alt_teile), (rc_neu, neu_teile) = ergebnisse
                # Only a written fee table makes the comparison say anything.
                geschrieben = rc_neu == 0 and neu_teile != teile(eingabe)
                gleich = rc_alt == rc_neu and alt_teile == neu_teile and geschrieben
                abweichungen += not gleich
                unterschied = [t for t in TEILE if alt_teile[t] != neu_teile[t]]
                print(f"{'gleich ' if gleich else 'ANDERS '} {name}, Fenster {fenster}"
                      f"{'' if gleich else f' (Ende {rc_alt}/{rc_neu}, {unterschied})'}")
        print(f"\n{abweichungen} Abweichungen")
        sys.exit(1 if abweichungen else 0)
    finally:
        shutil.rmtree(arbeit, ignore_errors=True)


if __name__ == "__main__":
    main()
