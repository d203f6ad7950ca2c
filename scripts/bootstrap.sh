#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the demo need. A no-op when all are
# there; otherwise runs apt-get update first. Needs root (or sudo) only when installing.
set -euo pipefail

packages=(
  cmake g++ ninja-build pkg-config make
  libsqlite3-dev sqlite3 libzip-dev libpugixml-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-pdf-dev qt6-translations-l10n locales
  clang libclang-rt-14-dev
  python3 python3-docx pandoc libreoffice-writer-nogui poppler-utils fonts-liberation2 fonts-dejavu-core
  hyperfine
  dpkg-dev file scdoc lintian desktop-file-utils man-db bash-completion
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# The desktop tests run once under a German locale.
german_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    echo "Erzeuge die Locale de_DE.UTF-8" >&2
    $SUDO sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
  fi
}

if [ ${#missing[@]} -eq 0 ]; then
  german_locale
  exit 0
fi

echo "Installiere: ${missing[*]}" >&2
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
german_locale
