#!/usr/bin/env bash
# Regenerates the foreign invoices in this folder: one letter written by pandoc (with a
# "lumStart" comment marker), re-saved by LibreOffice with each of its Word export filters, one
# built with python-docx, and a few hand-made packages of unusual but valid shape. The files
# are committed; run this after changing the letter or to compare with newer writers.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat > "$work/brief.md" <<'MD'
Vermessungsbüro Müller & Söhne · Hauptstraße 7 · 12345 Großstadt

**Rechnung Nr. 2026-0042**

Sehr geehrte Damen und Herren,

für die Grenzfeststellung des Flurstücks 17/3 (Gemarkung Übelbach) berechnen wir:

[lumStart]{.comment-start id="0" author="Büro" date="2026-03-01T10:00:00Z"}Gebühren[]{.comment-end id="0"}

| Pos. | Leistung            | Betrag   |
|------|---------------------|---------:|
| 1    | Grenzpunkte (12)    | 480,00 € |
| 2    | Abmarkung (4 Steine)| 160,00 € |

- Auslagen nach Aufwand
- *Zahlbar* ohne Abzug[^1]

Mit freundlichen Grüßen – „Ihr Vermessungsteam“

[^1]: Gemäß Gebührenordnung, Stand 2026.
MD
pandoc "$work/brief.md" -o pandoc.docx

# python-docx writes its own template's parts (no comments part).
/usr/bin/python3 - <<'PY'
import docx
d = docx.Document()
d.add_heading("Rechnung für Flurstück 17/3", level=1)
p = d.add_paragraph("Grenzfeststellung in der Gemarkung ")
p.add_run("Übelbach").bold = True
t = d.add_table(rows=2, cols=3)
for i, text in enumerate(["Pos.", "Leistung", "Betrag"]):
    t.cell(0, i).text = text
for i, text in enumerate(["1", "Grenzpunkte", "480,00 €"]):
    t.cell(1, i).text = text
d.add_paragraph("Mit freundlichen Grüßen")
d.save("python-docx.docx")
PY

# LibreOffice re-saves the pandoc letter once per Word export filter.
convert() {  # filter, extension, output name; a fresh profile each, as an instance still
             # shutting down would swallow the next call
    soffice --headless --norestore "-env:UserInstallation=file://$work/profile-$2-$3" \
        --convert-to "$2:$1" --outdir "$work/lo" pandoc.docx >/dev/null 2>&1
    mv "$work/lo/pandoc.$2" "$3"
}
convert "MS Word 2007 XML" docx lo-word2007.docx
convert "MS Word 2007 XML Template" dotx lo-word2007-template.dotx
convert "MS Word 2007 XML VBA" docm lo-word2007-vba.docm
convert "Office Open XML Text" docx lo-ooxml.docx
# ("Office Open XML Text Template" only imports in LibreOffice 7.4.)

# Hand-made: the smallest package (no styles, no section properties, stored uncompressed),
# and one whose parts live in unusual places with other prefixes and a default namespace for
# the relationships, reached only through the relationships.
/usr/bin/python3 - <<'PY'
import zipfile
W = "http://schemas.openxmlformats.org/wordprocessingml/2006/main"
RELS = "http://schemas.openxmlformats.org/package/2006/relationships"
OFFICE = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument"
MAIN = "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"

def package(name, main, document, compression):
    with zipfile.ZipFile(name, "w", compression) as z:
        z.writestr("[Content_Types].xml",
            '<?xml version="1.0" encoding="UTF-8"?>'
            '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
            '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
            '<Default Extension="xml" ContentType="application/xml"/>'
            f'<Override PartName="/{main}" ContentType="{MAIN}"/></Types>')
        z.writestr("_rels/.rels",
            f'<Relationships xmlns="{RELS}"><Relationship Id="R1" Type="{OFFICE}" Target="/{main}"/></Relationships>')
        z.writestr(main, document)

package("minimal.docx", "word/document.xml",
    f'<w:document xmlns:w="{W}"><w:body><w:p><w:r><w:t>Grenzfeststellung für Übelbach</w:t></w:r></w:p></w:body></w:document>',
    zipfile.ZIP_STORED)
package("unusual-place.docx", "inhalt/brief.xml",
    '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
    f'<w:document xmlns:w="{W}" xmlns:x="urn:unbekannt"><w:body>'
    '<w:sdt><w:sdtContent><w:p><w:r><w:t xml:space="preserve">  Rechnung  </w:t></w:r></w:p></w:sdtContent></w:sdt>'
    '<w:p><w:hyperlink w:anchor="x"><w:r><w:t>Verweis</w:t></w:r></w:hyperlink><w:r><w:tab/><w:t>Tabulator</w:t></w:r></w:p>'
    '<w:tbl><w:tr><w:tc><w:tbl><w:tr><w:tc><w:p><w:r><w:t>Verschachtelt</w:t></w:r></w:p></w:tc></w:tr></w:tbl><w:p/></w:tc></w:tr></w:tbl>'
    '<w:p><w:ins w:id="1" w:author="A"><w:r><w:t>eingefügt</w:t></w:r></w:ins><w:del w:id="2" w:author="A"><w:r><w:delText>gelöscht</w:delText></w:r></w:del></w:p>'
    '<w:sectPr/></w:body></w:document>',
    zipfile.ZIP_DEFLATED)
PY
