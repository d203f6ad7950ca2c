#!/usr/bin/env bash
# Builds the Debian package tarvex_<version>_amd64.deb into $1 (default build-deb/) and prints
# its path as the last line. The tree is configured for the prefix /usr with the same compiler
# flags as scripts/build.sh (so the shared compiler cache serves it), tests and benchmarks off.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/bootstrap.sh
dir="${1:-build-deb}"

# The changelog's newest entry must carry the version the package gets.
version=$(sed -n 's/^project(tarvex VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
if ! head -1 packaging/changelog | grep -q "^tarvex ($version) "; then
  echo "package.sh: packaging/changelog hat keinen Eintrag für $version" >&2
  exit 1
fi

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVEX_WERROR=ON \
  -DTARVEX_BUILD_DESKTOP=ON -DTARVEX_BUILD_TESTS=OFF -DTARVEX_BUILD_BENCH=OFF \
  -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_EXE_LINKER_FLAGS="-Wl,-z,relro,-z,now" \
  -DCMAKE_SHARED_LINKER_FLAGS="-Wl,-z,relro,-z,now" >/dev/null
cmake --build "$dir" -j"$(nproc)"
if [ ! -f "$dir/packaging/man/tarvex.1.gz" ]; then
  echo "package.sh: Handbuchseiten fehlen (scdoc)" >&2
  exit 1
fi
rm -f "$dir"/tarvex_*.deb
# CPack's notes on the private libraries (no SONAME, so no shlibs line) only go to its log.
(cd "$dir" && cpack -G DEB >cpack.log 2>&1) || { cat "$dir/cpack.log" >&2; exit 1; }
ls "$dir"/tarvex_"$version"_*.deb
