#!/usr/bin/env bash
# The main job on the embedded default: builds, creates the demo database and invoice in demo/
# (once), computes one fee of each of the five items through the command-line host, and shows
# what the invoice now holds. Running it again reopens each fee table and writes it again in
# place, so the invoice keeps exactly five fee tables.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/bootstrap.sh
./scripts/build.sh build >/dev/null
tarvex=build/apps/tarvex/tarvex
db=demo/lumora.sqlite
doc=demo/rechnung.docx

if [ ! -e "$db" ] && [ ! -e "$doc" ]; then
  "$tarvex" init demo
fi

# fee INDEX TAG ACTION...: a window's first run types ACTIONs into the empty window; once the
# invoice holds a table tagged TAG, the window reads it back (--wahl 1, the first table of its
# kind), recomputes the fee and OK writes it again in place.
fee() {
  local index=$1 tag=$2
  shift 2
  local actions=()
  if ! "$tarvex" dump "$doc" | grep -F "{$tag}" >/dev/null; then
    for action in "$@"; do actions+=(-e "$action"); done
  fi
  "$tarvex" show "$index" --db "$db" --doc "$doc" --rechnung 1 --wahl 1 "${actions[@]}" -e ok
}

# 30.1 Zerlegung: parcel 112 divided into three, 6 new boundary points, all marked, land value
# 150 €/m² (factor 2,25).
fee 4 TARVEX_1 \
  'type mskAusFlur 1' \
  'type grdAusFlur "Flst. 112"' \
  'type mskGesamt 3' \
  'type grdNeuFlur "Flst. 112/1\nFlst. 112/2\nFlst. 112/3"' \
  'type mskGP 6' \
  'type mskAGP 6' \
  'type mskBoden 150'

# 30.2 Baulandumlegung: three source parcels, 60 building plots, 20 boundary points, 12 of them
# marked, land value 250 €/m² in a residential, mixed or special area.
fee 3 TARVEX_2 \
  'type grdAusFlur "Flst. 12, 13, 14"' \
  'type mskAusFlur 3' \
  'type mskGesamt 60' \
  'type mskGP 20' \
  'type mskAGP 12' \
  'type mskBoden 250'

# 30.3 Lang gestreckte Anlagen: a road through two parcels, 120 formed parcels, 10 boundary
# points, 8 marked, first classification (factor 1,5).
fee 2 TARVEX_3 \
  'type grdAusFlur "Flst. 201, 202"' \
  'type mskAusFlur 2' \
  'type mskFlurstücke 120' \
  'type mskGP 10' \
  'type mskAGP 8' \
  'select cmbKlassifizierung 0'

# 30.4 Gebäudeaufnahme: a terrace of 12 houses with carports, building costs 300.000 €.
fee 1 TARVEX_4 \
  'type txtGebäude "Reihenhausanlage Am Mühlbach\nCarports"' \
  'type mskAnzahl 12' \
  'type mskBaukosten 300000'

# 30.6 Grenzfeststellung: 12 boundary points, 4 of them marked, land value 150 €/m², kind
# 30.6.1.1.
fee 0 TARVEX_5 \
  'type mskAGPSohne 12' \
  'type mskAGP 4' \
  'type mskBoden 150'

echo
"$tarvex" dump "$doc"
echo
echo "Rechnungsbetrag in der Datenbank (Cent):"
sqlite3 -header -column "$db" \
  'SELECT Rechnungsnummer, NettoRechnung, Brutto, MehrwertsteuerFreierbetrag FROM Rechnung'
echo
echo "Die Rechnung liegt in $(pwd)/$doc"
