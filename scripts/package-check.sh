#!/usr/bin/env bash
# Builds the Debian package and checks it as an office administrator would meet it: lintian
# without errors, `apt-get install ./tarvex_*.deb`, the programs run from /usr/bin on a fresh
# folder, the manual page and the menu entry, the example host built against the installed
# header, pkg-config and CMake files only, and `apt-get purge` leaving no file behind.
# Needs root (apt-get); removes an earlier installation of tarvex first.
set -euo pipefail
cd "$(dirname "$0")/.."
export DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8

deb=$(./scripts/package.sh "${1:-build-deb}" | tail -1)
version=$(dpkg-deb -f "$deb" Version)
echo "Paket: $deb"

# Kept warnings and their reasons: packaging/README.md.
lintian --fail-on error "$deb"
desktop-file-validate packaging/tarvex-host.desktop

dpkg -s tarvex >/dev/null 2>&1 && apt-get purge -y -qq tarvex >/dev/null
apt-get install -y -qq "./$deb" >/dev/null
dpkg -L tarvex | sort > /tmp/tarvex-dateien.$$

src=$(pwd)
work=$(mktemp -d)
trap 'rm -rf "$work" /tmp/tarvex-dateien.$$' EXIT
export XDG_CONFIG_HOME="$work/config" TMPDIR="$work" QT_QPA_PLATFORM=offscreen
cd "$work"

# The programs from /usr/bin; of TARVEX's own libraries each loads libtarvex.so.1 only, and the
# command-line host no Qt.
[ "$(command -v tarvex)" = /usr/bin/tarvex ]
[ "$(/usr/bin/tarvex --version)" = "tarvex $version" ]
[ "$(/usr/bin/tarvex-host --version)" = "tarvex-host $version" ]
/usr/bin/tarvex-host --help | grep -c -- '--rechnung' >/dev/null
sh "$src/tests/e2e/loaded_libraries.sh" /usr/bin/tarvex ohne-qt
sh "$src/tests/e2e/loaded_libraries.sh" /usr/bin/tarvex-host
ldconfig -p | grep -c 'libtarvex.so.1 ' >/dev/null
/usr/bin/tarvex init demo
cmp demo/rechnung.docx /usr/share/tarvex/rechnung.docx
/usr/bin/tarvex show 0 --db demo/lumora.sqlite --doc demo/rechnung.docx --rechnung 1 \
  -e 'type mskAGPSohne 3' -e ok
/usr/bin/tarvex dump --json demo/rechnung.docx | grep -c '"TARVEX_5"' >/dev/null
grep -q '/usr/lib/x86_64-linux-gnu/libtarvex.so.1"' config/tarvex/classes.json

# The German manual page and the bash completion.
MANWIDTH=80 man tarvex 2>/dev/null | grep -c 'ÜBERSICHT' >/dev/null
MANWIDTH=80 man tarvex-host 2>/dev/null | grep -c 'EXIT-STATUS' >/dev/null
bash -c 'source /usr/share/bash-completion/bash_completion
  source /usr/share/bash-completion/completions/tarvex
  COMP_WORDS=(tarvex show 0 -e o); COMP_CWORD=4; COMP_LINE="tarvex show 0 -e o"
  COMP_POINT=${#COMP_LINE}; _tarvex tarvex o -e; [ "${COMPREPLY[*]}" = ok ]'

# The example host, from a copy outside the source tree: pkg-config, then CMake.
cp -r "$src/examples/host" beispiel
cc -Wall -Wextra -Werror -std=c99 beispiel/beispielhost.c $(pkg-config --cflags --libs tarvex) \
  -o beispielhost-pc
./beispielhost-pc
cmake -S beispiel -B beispiel-cmake -G Ninja >/dev/null
cmake --build beispiel-cmake >/dev/null
beispiel-cmake/beispielhost

apt-get purge -y -qq tarvex >/dev/null
left=$(while read -r f; do [ -e "$f" ] && [ ! -d "$f" ] && echo "$f"; done < /tmp/tarvex-dateien.$$ || true)
for d in /usr/share/tarvex /usr/include/tarvex /usr/lib/x86_64-linux-gnu/tarvex \
  /usr/lib/x86_64-linux-gnu/cmake/tarvex /usr/share/doc/tarvex; do
  [ -e "$d" ] && left="$left $d"
done
if [ -n "$left" ]; then
  echo "Nach apt-get purge übrig: $left" >&2
  exit 1
fi
echo "Paket geprüft: $deb"
