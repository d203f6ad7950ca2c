#!/bin/sh
# loaded_libraries.sh PROGRAM [ohne-qt]: fails unless PROGRAM loads exactly one library of
# TARVEX, libtarvex.so.1 (every layer lives in it, so hosts and plug-in share one copy of the
# session state), and, with ohne-qt, no Qt library.
set -eu
libs=$(ldd "$1")
eigene=$(printf '%s\n' "$libs" | grep 'libtarvex' || true)
if [ "$(printf '%s\n' "$eigene" | grep -c .)" != 1 ] ||
   ! printf '%s\n' "$eigene" | grep -q '^[[:space:]]*libtarvex\.so\.1 => /'; then
  printf '%s lädt statt libtarvex.so.1:\n%s\n' "$1" "$eigene" >&2
  exit 1
fi
if [ "${2:-}" = ohne-qt ] && printf '%s\n' "$libs" | grep -q 'libQt'; then
  printf '%s lädt Qt\n' "$1" >&2
  exit 1
fi
