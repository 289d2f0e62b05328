#!/usr/bin/env bash
# Installs the build into a scratch prefix and builds the Debian package, checking that both hold
# the four executables and their manual pages, that the manual pages render without warnings,
# and that the pages of bandmatch-export and bandmatch-tune cover every option their --help lists.
# Usage: scripts/package_check.sh [build-directory]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
installed=(bin/bandmatch bin/bandmatch-export bin/bandmatch-fit bin/bandmatch-tune
  share/man/man1/bandmatch.1 share/man/man1/bandmatch-export.1 share/man/man1/bandmatch-fit.1
  share/man/man1/bandmatch-tune.1)
for file in "${installed[@]}"; do
  [ -e "$prefix/$file" ] || { echo "install is missing $file"; exit 1; }
done
for page in bandmatch bandmatch-export bandmatch-fit bandmatch-tune; do
  warnings=$(MANWIDTH=80 man -l --warnings "$prefix/share/man/man1/$page.1" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "manual page $page.1 warnings:"; echo "$warnings"; exit 1; }
done
"$prefix/bin/bandmatch" --version | grep -qx "bandmatch [0-9.]*" ||
  { echo "installed bandmatch --version failed"; exit 1; }
for program in bandmatch-export bandmatch-tune; do
  manual=$(MANWIDTH=200 man -l "$prefix/share/man/man1/$program.1" 2>/dev/null)
  for option in $("$prefix/bin/$program" --help | grep -o -- '--[a-z-]*' | sort -u); do
    grep -q -- "$option" <<<"$manual" || { echo "$program(1) does not cover $option"; exit 1; }
  done
done
printf 'pkg 1 d s 10 20 1 50 e\n' | (cd "$prefix" && ./bin/bandmatch >/dev/null)
[ -s "$prefix/pkg.csv" ] || { echo "installed program wrote no report"; exit 1; }
table=$("$prefix/bin/bandmatch-fit" --decrement 1)
grep -q '^   inf ' <<<"$table" || { echo "installed bandmatch-fit printed no table"; exit 1; }
(cd "$prefix" && ./bin/bandmatch-tune pkg.csv >tune.txt) || { echo "installed bandmatch-tune failed"; exit 1; }
grep -q '^tuned on the model load ' "$prefix/tune.txt" && [ -s "$prefix/pkg-values.csv" ] ||
  { echo "installed bandmatch-tune printed no table or wrote no values"; exit 1; }

(cd "$build" && cpack -G DEB >/dev/null)
package=$(ls "$build"/bandmatch_*_amd64.deb 2>/dev/null | head -n 1)
[ -n "$package" ] || { echo "no Debian package built"; exit 1; }
contents=$(dpkg-deb -c "$package")
for file in "${installed[@]}"; do
  grep -q " ./usr/$file\$" <<<"$contents" || { echo "package is missing /usr/$file"; exit 1; }
done
echo "install and package: ok ($(basename "$package"))"
