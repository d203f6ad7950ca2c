#!/usr/bin/env bash
# The main job on the embedded default: builds, creates the demo database and invoice in demo/
# (once), computes a Grenzfeststellung (30.6) through the command-line host, and shows what
# the invoice now holds. Running it again rewrites the same fee table.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/bootstrap.sh
./scripts/build.sh build >/dev/null
tarvex=build/apps/tarvex/tarvex

if [ ! -e demo/lumora.sqlite ] && [ ! -e demo/rechnung.docx ]; then
  "$tarvex" init demo
fi

# 12 boundary points, 4 of them marked, land value 150 €/m² (factor 2,25), kind 30.6.1.1.
# --wahl 1: when the invoice already holds this fee table, edit it instead of adding one.
"$tarvex" show 0 --db demo/lumora.sqlite --doc demo/rechnung.docx --rechnung 1 --wahl 1 \
  -e 'type mskAGPSohne 12' \
  -e 'type mskAGP 4' \
  -e 'type mskBoden 150' \
  -e ok

echo
"$tarvex" dump demo/rechnung.docx
echo
echo "Rechnungsbetrag in der Datenbank (Cent):"
sqlite3 -header -column demo/lumora.sqlite \
  'SELECT Rechnungsnummer, NettoRechnung, Brutto, MehrwertsteuerFreierbetrag FROM Rechnung'
echo
echo "Die Rechnung liegt in $(pwd)/demo/rechnung.docx"
