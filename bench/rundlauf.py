#!/usr/bin/env python3
"""Whole command-line runs against the floor, on invoices with 1, 20 and 200 fee tables.

    bench/rundlauf.py [BUILD_DIR] [--runs N] [--sizes 1,20,200] [--gross [--gross-runs N]]
                      [--medien MIB]

For each size the script builds the invoice itself (one OK on the demo invoice, then the fee
table repeated by rechnungen_erzeugen.py, plus a ten-page appendix) and times, interleaved:

  OK     tarvex show 0 ... -e "type mskAGPSohne 10" -e "type mskAGP 4" -e ok  (the whole round
         trip: process start, plug-in, database, invoice opened, fee table written, totals
         rebuilt, durable save, commit), on a fresh copy of invoice and database each run;
  dump   tarvex dump --json of the invoice;
  floor  tarvex_boden: read the package, parse and serialise document and comments, write it
         and flush it to disk.

Before timing, each command is checked once: OK must add the fee table and total it, dump must
list every table, the floor's copy must dump like the original. Prints medians, the ratios to
the floor, the growth from 20 to 200 tables and each command's peak memory (maximum resident
set size of the process) in one table.

--gross adds a case of one fee table with 1,000,000 short paragraphs after the appendix (a
document part of about three million elements, below the four million the document engine
opens), timed --gross-runs times (default 3) and never counted with callgrind.

--medien MIB adds a case of one fee table and a media entry of MIB MiB of random bytes, stored
uncompressed (a scanned plan attached to the invoice), timed like the large case: the engine
reads only the parts it parses and copies that entry as stored.
"""
import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import zipfile

HIER = os.path.dirname(os.path.abspath(__file__))
QUELLE = os.path.dirname(HIER)


def lauf(befehl, env, messung=None):
    """Runs a command; returns (seconds, peak memory in KiB, stdout).

    The peak memory comes from /usr/bin/time, which starts the command from its own small
    process: a child forked from this script would report the script's size instead."""
    with tempfile.NamedTemporaryFile("r") as bericht:
        vorne = ["/usr/bin/time", "-f", "%M", "-o", bericht.name] if messung == "zeit" else []
        if messung == "instruktionen":
            vorne = ["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null",
                     f"--log-file={bericht.name}"]
        start = time.perf_counter()
        proc = subprocess.run(vorne + befehl, env=env, capture_output=True)
        dauer = time.perf_counter() - start
        if proc.returncode != 0:
            sys.exit(f"rundlauf: {' '.join(befehl)} endete mit {proc.returncode}\n"
                     f"{proc.stderr.decode()}")
        text = bericht.read()
    if messung == "zeit":
        return dauer, int(text.split()[-1]), proc.stdout
    if messung == "instruktionen":
        return dauer, int(text.split("Collected :")[1].split()[0]), proc.stdout
    return dauer, 0, proc.stdout


def betrag(cent):
    euro, rest = divmod(cent, 100)
    tausender = f"{euro:,}".replace(",", ".")
    return f"{tausender},{rest:02d} €"


def main():
    args = argparse.ArgumentParser()
    args.add_argument("build", nargs="?", default="build")
    args.add_argument("--runs", type=int, default=11)
    args.add_argument("--sizes", default="1,20,200")
    args.add_argument("--gross", action="store_true",
                      help="also time one fee table with --absaetze short paragraphs")
    args.add_argument("--absaetze", type=int, default=1_000_000)
    args.add_argument("--gross-runs", type=int, default=3)
    args.add_argument("--medien", type=int, default=0,
                      help="also time one fee table with a stored media entry of MIB MiB")
    args.add_argument("--instruktionen", action="store_true",
                      help="also count each command's instructions once with callgrind "
                           "(stable where the machine is too loaded for wall times)")
    a = args.parse_args()
    build = os.path.abspath(a.build)
    tarvex = os.path.join(build, "apps/tarvex/tarvex")
    boden = os.path.join(build, "bench/tarvex_boden")
    boden_db = os.path.join(build, "bench/tarvex_boden_db")
    for programm in (tarvex, boden, boden_db):
        if not os.access(programm, os.X_OK):
            sys.exit(f"rundlauf: {programm} fehlt; zuerst bauen")

    arbeit = tempfile.mkdtemp(prefix="tarvex-rundlauf-")
    try:
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(arbeit, "config"), TMPDIR=arbeit,
                   TARVEX_HEUTE="2026-03-01")
        demo = os.path.join(arbeit, "demo")
        lauf([tarvex, "init", demo], env)
        datenbank = os.path.join(demo, "lumora.sqlite")
        eingabe = os.path.join(demo, "rechnung.docx")

        def ok_befehl(doc, db):
            return [tarvex, "show", "0", "--db", db, "--doc", doc, "--rechnung", "1", "--wahl",
                    "neu", "-e", "type mskAGPSohne 10", "-e", "type mskAGP 4", "-e", "ok"]

        # The invoice with one fee table that the larger ones are built from.
        eins = os.path.join(arbeit, "eins.docx")
        shutil.copy(eingabe, eins)
        db = os.path.join(arbeit, "eins.sqlite")
        shutil.copy(datenbank, db)
        lauf(ok_befehl(eins, db), env)

        def tabellen(doc):
            return json.loads(lauf([tarvex, "dump", doc, "--json"], env)[2])["tables"]

        gebuehr = tabellen(eins)[0]["rows"][-1][-1]["text"].strip()  # "1.250,00 €"
        gebuehr_cent = int(gebuehr.replace(".", "").replace(",", "").replace(" €", ""))

        # (fee tables, extra paragraphs, timed runs, count instructions, MiB of media)
        faelle = [(int(x), 0, a.runs, a.instruktionen, 0) for x in a.sizes.split(",")]
        if a.gross:
            faelle.append((1, a.absaetze, a.gross_runs, False, 0))
        if a.medien:
            faelle.append((1, 0, a.gross_runs, False, a.medien))
        zeilen = []
        for n, absaetze, runs, zaehlen, medien in faelle:
            rechnung = os.path.join(arbeit, f"rechnung-{n}-{absaetze}-{medien}.docx")
            subprocess.run([sys.executable, os.path.join(HIER, "rechnungen_erzeugen.py"), eins,
                            rechnung, str(n), str(absaetze)], check=True)
            if medien:
                with zipfile.ZipFile(rechnung, "a") as z, \
                        z.open(zipfile.ZipInfo("word/media/plan.bin"), "w") as f:
                    for _ in range(medien):
                        f.write(os.urandom(1 << 20))
            doc, db, kopie = (os.path.join(arbeit, x) for x in ("t.docx", "t.sqlite", "b.docx"))
            boden_db_befehl = [boden_db, rechnung, kopie, os.path.join(arbeit, "b.sqlite"), "1"]
            shutil.copy(datenbank, boden_db_befehl[3])

            def frisch():
                shutil.copy(rechnung, doc)
                shutil.copy(datenbank, db)

            # Each command does its job before it is timed.
            vorher = tabellen(rechnung)
            if len(vorher) != n + 1:
                sys.exit(f"rundlauf: dump zeigt {len(vorher)} Tabellen statt {n + 1}")
            frisch()
            lauf(ok_befehl(doc, db), env)
            nachher = tabellen(doc)
            summe = json.dumps(nachher[-1], ensure_ascii=False)
            if len(nachher) != n + 2 or betrag((n + 1) * gebuehr_cent) not in summe:
                sys.exit(f"rundlauf: OK hat bei {n} Tabellen keine Tabelle mit Summe geschrieben")
            for befehl in ([boden, rechnung, kopie], boden_db_befehl):
                lauf(befehl, env)
                if tabellen(kopie) != vorher:
                    sys.exit("rundlauf: die Kopie des Bodens liest sich anders als das Original")

            zeiten = {"ok": [], "dump": [], "boden": [], "boden_db": []}
            speicher = {"ok": 0, "dump": 0, "boden": 0, "boden_db": 0}
            for _ in range(runs):
                frisch()
                for name, befehl in (("ok", ok_befehl(doc, db)),
                                     ("dump", [tarvex, "dump", rechnung, "--json"]),
                                     ("boden", [boden, rechnung, kopie]),
                                     ("boden_db", boden_db_befehl)):
                    dauer, kib, _ = lauf(befehl, env, "zeit")
                    zeiten[name].append(dauer)
                    speicher[name] = max(speicher[name], kib)
            instruktionen = {}
            if zaehlen:
                frisch()
                for name, befehl in (("ok", ok_befehl(doc, db)),
                                     ("dump", [tarvex, "dump", rechnung, "--json"]),
                                     ("boden", [boden, rechnung, kopie]),
                                     ("boden_db", boden_db_befehl)):
                    instruktionen[name] = lauf(befehl, env, "instruktionen")[1]
            groesse = os.path.getsize(rechnung)
            with zipfile.ZipFile(rechnung) as z:
                teil = z.getinfo("word/document.xml").file_size
            fall = f"{n} + {absaetze:,} Absätze".replace(",", ".") if absaetze else str(n)
            if medien:
                fall = f"{n} + {medien} MiB Medien"
            zeilen.append((fall, teil, {k: statistics.median(v) for k, v in zeiten.items()},
                           speicher, instruktionen))

        gross = f", {a.gross_runs} beim großen Fall" if a.gross else ""
        print(f"Medianwerte aus {a.runs} Läufen je Befehl{gross} (abwechselnd gemessen)\n")
        print("| Gebührentabellen | document.xml | OK | dump --json | Boden | OK / Boden "
              "| dump / Boden | Spitze OK / dump / Boden | Boden + DB | OK / Boden + DB |")
        print("|---|---|---|---|---|---|---|---|---|---|")
        for n, teil, m, s, _ in zeilen:
            print(f"| {n} | {teil / 1024:.0f} KiB | {m['ok'] * 1000:.0f} ms "
                  f"| {m['dump'] * 1000:.0f} ms | {m['boden'] * 1000:.0f} ms "
                  f"| {m['ok'] / m['boden']:.2f} × | {m['dump'] / m['boden']:.2f} × "
                  f"| {s['ok'] / 1024:.1f} / {s['dump'] / 1024:.1f} / {s['boden'] / 1024:.1f} MiB "
                  f"({s['ok'] / s['boden']:.2f} × / {s['dump'] / s['boden']:.2f} ×) "
                  f"| {m['boden_db'] * 1000:.0f} ms | {m['ok'] / m['boden_db']:.2f} × |")
        if a.instruktionen:
            print("\n| Gebührentabellen | Instruktionen OK | dump | Boden | OK / Boden "
                  "| dump / Boden | Boden + DB | OK / Boden + DB |")
            print("|---|---|---|---|---|---|---|---|")
            for n, _, _, _, i in zeilen:
                if not i:
                    continue
                print(f"| {n} | {i['ok'] / 1e6:.1f} M | {i['dump'] / 1e6:.1f} M "
                      f"| {i['boden'] / 1e6:.1f} M | {i['ok'] / i['boden']:.2f} × "
                      f"| {i['dump'] / i['boden']:.2f} × | {i['boden_db'] / 1e6:.1f} M "
                      f"| {i['ok'] / i['boden_db']:.2f} × |")
        groessen = {n: m for n, _, m, _, _ in zeilen}
        if "20" in groessen and "200" in groessen:
            ok = groessen["200"]["ok"] / groessen["20"]["ok"]
            boden_wachstum = groessen["200"]["boden"] / groessen["20"]["boden"]
            print(f"\nWachstum 20 → 200 Tabellen (Zeit): OK {ok:.2f} ×, Boden "
                  f"{boden_wachstum:.2f} × (Verhältnis {ok / boden_wachstum:.2f})")
            if a.instruktionen:
                i20 = next(i for n, _, _, _, i in zeilen if n == "20")
                i200 = next(i for n, _, _, _, i in zeilen if n == "200")
                ok_i, boden_i = i200["ok"] / i20["ok"], i200["boden"] / i20["boden"]
                print(f"Wachstum 20 → 200 Tabellen (Instruktionen): OK {ok_i:.2f} ×, Boden "
                      f"{boden_i:.2f} × (Verhältnis {ok_i / boden_i:.2f})")
    finally:
        shutil.rmtree(arbeit, ignore_errors=True)


if __name__ == "__main__":
    main()
