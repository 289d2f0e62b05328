#!/usr/bin/env bash
# Installs the build into a scratch prefix and builds the Debian package, checking that both hold
# the three executables and their manual pages, that the manual pages render without warnings,
# and that bandmatch-export's page covers every option its --help lists.
# Usage: scripts/package_check.sh [build-directory]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
installed=(bin/bandmatch bin/bandmatch-export bin/bandmatch-fit share/man/man1/bandmatch.1
  share/man/man1/bandmatch-export.1 share/man/man1/bandmatch-fit.1)
for file in "${installed[@]}"; do
  [ -e "$prefix/$file" ] || { echo "install is missing $file"; exit 1; }
done
for page in bandmatch bandmatch-export bandmatch-fit; do
  warnings=$(MANWIDTH=80 man -l --warnings "$prefix/share/man/man1/$page.1" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "manual page $page.1 warnings:"; echo "$warnings"; exit 1; }
done
"$prefix/bin/bandmatch" --version | grep -qx "bandmatch [0-9.]*" ||
  { echo "installed bandmatch --version failed"; exit 1; }
manual=$(MANWIDTH=200 man -l "$prefix/share/man/man1/bandmatch-export.1" 2>/dev/null)
for option in $("$prefix/bin/bandmatch-export" --help | grep -o -- '--[a-z-]*' | sort -u); do
  grep -q -- "$option" <<<"$manual" || { echo "bandmatch-export(1) does not cover $option"; exit 1; }
done
printf 'pkg 1 d s 10 20 1 50 e\n' | (cd "$prefix" && ./bin/bandmatch >/dev/null)
[ -s "$prefix/pkg.csv" ] || { echo "installed program wrote no report"; exit 1; }
table=$("$prefix/bin/bandmatch-fit" --decrement 1)
grep -q '^   inf ' <<<"$table" || { echo "installed bandmatch-fit printed no table"; exit 1; }

(cd "$build" && cpack -G DEB >/dev/null)
package=$(ls "$build"/bandmatch_*_amd64.deb 2>/dev/null | head -n 1)
[ -n "$package" ] || { echo "no Debian package built"; exit 1; }
contents=$(dpkg-deb -c "$package")
for file in "${installed[@]}"; do
  grep -q " ./usr/$file\$" <<<"$contents" || { echo "package is missing /usr/$file"; exit 1; }
done
echo "install and package: ok ($(basename "$package"))"
