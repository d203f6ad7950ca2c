#!/usr/bin/env bash
# Times whole command-line host runs on fresh `tarvex init` output: process start, loading the
# plug-in through the class registry, opening database and invoice, one Grenzfeststellung with
# OK, atomic save and commit; and `tarvex dump` of the result. Every run starts from a copy
# of the untouched demo files. Uses hyperfine when installed, else a plain loop.
#
#   bench/run_cli.sh [BUILD_DIR]      (default build/; RUNS=n sets the number of runs, default 20)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
runs="${RUNS:-20}"
tarvex="$(pwd)/$build/apps/tarvex/tarvex"
if [ ! -x "$tarvex" ]; then
  echo "run_cli.sh: $tarvex fehlt; zuerst ./scripts/build.sh $build" >&2
  exit 2
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The class registry, the failure log and "today" stay inside the work folder.
export XDG_CONFIG_HOME="$work/config" TMPDIR="$work" TARVEX_HEUTE=2026-03-01
"$tarvex" init "$work/demo" >/dev/null
cp "$work/demo/lumora.sqlite" "$work/lumora.orig"
cp "$work/demo/rechnung.docx" "$work/rechnung.orig"

q() { printf '%q' "$1"; }
prepare="cp $(q "$work/lumora.orig") $(q "$work/demo/lumora.sqlite") && \
cp $(q "$work/rechnung.orig") $(q "$work/demo/rechnung.docx")"
show="$(q "$tarvex") show 0 --db $(q "$work/demo/lumora.sqlite") \
--doc $(q "$work/demo/rechnung.docx") --rechnung 1 \
-e 'type mskAGPSohne 12' -e 'type mskAGP 4' -e 'type mskBoden 150' -e ok"
dump="$(q "$tarvex") dump $(q "$work/demo/rechnung.docx")"

# One run up front, so that a broken build fails here with its message, not inside the timer.
eval "$prepare" && eval "$show" >/dev/null

if command -v hyperfine >/dev/null 2>&1; then
  hyperfine --warmup 2 --runs "$runs" --prepare "$prepare" "$show"
  hyperfine --warmup 2 --runs "$runs" "$dump"
  exit 0
fi

# Without hyperfine: wall time of each run in milliseconds; mean, minimum, maximum.
measure() {
  local name="$1" setup="$2" command="$3" sum=0 min="" max=0 t0 t1 ms
  for ((i = 0; i < runs; i++)); do
    [ -n "$setup" ] && eval "$setup"
    t0=$(date +%s%N)
    eval "$command" >/dev/null
    t1=$(date +%s%N)
    ms=$(((t1 - t0) / 1000000))
    sum=$((sum + ms))
    [ -z "$min" ] || [ "$ms" -lt "$min" ] && min=$ms
    [ "$ms" -gt "$max" ] && max=$ms
  done
  echo "$name: Mittel $((sum / runs)) ms, min $min ms, max $max ms ($runs Läufe)"
}
measure "tarvex show (30.6, OK)" "$prepare" "$show"
measure "tarvex dump" "" "$dump"
