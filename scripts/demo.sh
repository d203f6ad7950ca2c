#!/usr/bin/env bash
# The main job on the embedded default: builds, creates the demo database and invoice in demo/
# (once), runs a fee calculation through the command-line host and shows the invoice.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/bootstrap.sh
./scripts/build.sh build >/dev/null
bin=build/apps/tarvex/tarvex
if [ ! -x "$bin" ]; then
  echo "TARVEX $(grep -m1 -o 'VERSION [0-9.]*' CMakeLists.txt | cut -d' ' -f2) gebaut; der Kommandozeilen-Host folgt." 
  exit 0
fi
"$bin" --version
