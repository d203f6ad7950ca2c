#!/usr/bin/env python3
"""Builds invoices with many fee tables from one that holds a single fee table and its totals.

    rechnungen_erzeugen.py QUELLE.docx ZIEL.docx ANZAHL [ABSÄTZE]

QUELLE is an invoice after one OK (fee table, totals, markers). The fee table and the empty
paragraph after it are repeated until ANZAHL fee tables stand before the totals; every copy gets
comment ids of its own with entries in the comments part. A ten-page appendix of plain
paragraphs follows the totals, as offices attach the survey's notes to the invoice. ABSÄTZE
(default 0) short one-run paragraphs ("Messpunkt 17 geprüft.") follow the appendix: three
elements each, so one million of them make a body of about three million elements.
"""
import re
import sys
import zipfile

quelle, ziel, anzahl = sys.argv[1], sys.argv[2], int(sys.argv[3])
absaetze = int(sys.argv[4]) if len(sys.argv) > 4 else 0
with zipfile.ZipFile(quelle) as z:
    teile = {i.filename: z.read(i.filename) for i in z.infolist()}
    infos = z.infolist()

dokument = teile["word/document.xml"].decode("utf-8")
kommentare = teile["word/comments.xml"].decode("utf-8")

anfang = dokument.index("<w:tbl>")
ende = dokument.index("</w:tbl>", anfang) + len("</w:tbl>")
assert dokument.startswith("<w:p/>", ende), "nach der Gebührentabelle fehlt der leere Absatz"
tabelle = dokument[anfang:ende] + "<w:p/>"

eintraege = {m.group(1): m.group(0) for m in
             re.finditer(r'<w:comment w:id="(\d+)".*?</w:comment>', kommentare)}
naechste = max(int(i) for i in eintraege) + 1
ids = sorted(set(re.findall(r'w:commentReference w:id="(\d+)"', tabelle)), key=int)

kopien, neue_eintraege = [], []
for _ in range(anzahl - 1):
    zuordnung = {}
    for alt in ids:
        zuordnung[alt] = str(naechste)
        neue_eintraege.append(eintraege[alt].replace(f'w:id="{alt}"', f'w:id="{naechste}"', 1))
        naechste += 1
    kopien.append(re.sub(r'(w:comment(?:RangeStart|RangeEnd|Reference) w:id=")(\d+)"',
                         lambda m: m.group(1) + zuordnung[m.group(2)] + '"', tabelle))

satz = ("Die Grenzpunkte wurden nach den Vorschriften des Vermessungsgesetzes festgestellt, "
        "abgemarkt und in das Liegenschaftskataster übernommen. ")
anhang = ['<w:p><w:pPr><w:pageBreakBefore/></w:pPr><w:r><w:rPr><w:b/></w:rPr>'
          '<w:t>Anlage: Erläuterungen zur Grenzfeststellung</w:t></w:r></w:p>']
for seite in range(10):
    for absatz in range(12):
        anhang.append(f'<w:p><w:r><w:t xml:space="preserve">{seite + 1}.{absatz + 1} '
                      f'{satz * 3}</w:t></w:r></w:p>')
anhang.extend(f'<w:p><w:r><w:t>Messpunkt {i + 1} geprüft.</w:t></w:r></w:p>'
              for i in range(absaetze))

dokument = dokument[:ende + len("<w:p/>")] + "".join(kopien) + dokument[ende + len("<w:p/>"):]
schluss = dokument.rindex("<w:sectPr>")
dokument = dokument[:schluss] + "".join(anhang) + dokument[schluss:]
kommentare = kommentare.replace("</w:comments>", "".join(neue_eintraege) + "</w:comments>")

teile["word/document.xml"] = dokument.encode("utf-8")
teile["word/comments.xml"] = kommentare.encode("utf-8")
with zipfile.ZipFile(ziel, "w", zipfile.ZIP_DEFLATED) as z:
    for info in infos:
        z.writestr(info.filename, teile[info.filename])
