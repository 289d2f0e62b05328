#!/usr/bin/env bash
# Installs the build into a scratch prefix and builds the Debian package, checking that both hold
# the two executables and the manual page, and that the manual page renders without warnings.
# Usage: scripts/package_check.sh [build-directory]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/bandmatch bin/bandmatch-export share/man/man1/bandmatch.1; do
  [ -e "$prefix/$file" ] || { echo "install is missing $file"; exit 1; }
done
warnings=$(MANWIDTH=80 man -l --warnings "$prefix/share/man/man1/bandmatch.1" 2>&1 >/dev/null)
[ -z "$warnings" ] || { echo "manual page warnings:"; echo "$warnings"; exit 1; }
printf 'pkg 1 d s 10 20 1 50 e\n' | (cd "$prefix" && ./bin/bandmatch >/dev/null)
[ -s "$prefix/pkg.csv" ] || { echo "installed program wrote no report"; exit 1; }

(cd "$build" && cpack -G DEB >/dev/null)
package=$(ls "$build"/bandmatch_*_amd64.deb 2>/dev/null | head -n 1)
[ -n "$package" ] || { echo "no Debian package built"; exit 1; }
contents=$(dpkg-deb -c "$package")
for file in ./usr/bin/bandmatch ./usr/bin/bandmatch-export ./usr/share/man/man1/bandmatch.1; do
  grep -q " $file\$" <<<"$contents" || { echo "package is missing $file"; exit 1; }
done
echo "install and package: ok ($(basename "$package"))"
