#!/usr/bin/env bash
# Installs the build into a scratch prefix and builds the Debian package, checking that both hold
# the five executables, their manual pages, the example files and the licence; that the manual
# pages render without warnings; that each page's SYNOPSIS shows every option its program's --help
# lists and its SEE ALSO names every other installed program; and that the installed programs run.
# Usage: scripts/package_check.sh [build-directory]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

programs=(bandmatch bandmatch-export bandmatch-fit bandmatch-tune bandmatch-search)
examples=(examples/*)
cmake --install "$build" --prefix "$prefix" >/dev/null
installed=(share/doc/bandmatch/copyright "${examples[@]/#examples/share/bandmatch/examples}")
for program in "${programs[@]}"; do
  installed+=("bin/$program" "share/man/man1/$program.1")
done
for file in "${installed[@]}"; do
  [ -e "$prefix/$file" ] || { echo "install is missing $file"; exit 1; }
done
cmp -s LICENSE "$prefix/share/doc/bandmatch/copyright" ||
  { echo "the installed copyright is not LICENSE"; exit 1; }
for example in "${examples[@]}"; do
  cmp -s "$example" "$prefix/share/bandmatch/$example" ||
    { echo "the installed $example differs from the repository's"; exit 1; }
done

# The options a program's --help lists, long and short.
help_options() {
  "$prefix/bin/$1" --help | grep -oE -- '(^|[][ ,|(])-{1,2}[a-zA-Z][a-zA-Z-]*' | sed 's/^[^-]*//' |
    sort -u
}
# A section of a rendered manual page, from its heading to the next.
page_section() {
  awk -v heading="$2" '$0 == heading { inside = 1; next } /^[A-Z][A-Z ]*$/ { inside = 0 }
    inside' <<<"$1"
}
# Whether the text shows the option as a word of its own (-h is not found inside --help).
shows_option() {
  grep -qE -- "(^|[^a-zA-Z-])$2([^a-zA-Z-]|$)" <<<"$1"
}
for page in "${programs[@]}"; do
  warnings=$(MANWIDTH=80 man -l --warnings "$prefix/share/man/man1/$page.1" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "manual page $page.1 warnings:"; echo "$warnings"; exit 1; }
  manual=$(MANWIDTH=200 man -l "$prefix/share/man/man1/$page.1" 2>/dev/null)
  synopsis=$(page_section "$manual" SYNOPSIS)
  for option in $(help_options "$page"); do
    shows_option "$synopsis" "$option" || { echo "$page(1) SYNOPSIS does not show $option"; exit 1; }
    shows_option "$(page_section "$manual" OPTIONS)" "$option" ||
      { echo "$page(1) OPTIONS does not describe $option"; exit 1; }
  done
  see_also=$(page_section "$manual" "SEE ALSO")
  for other in "${programs[@]}"; do
    [ "$other" = "$page" ] || grep -qF "$other(1)" <<<"$see_also" ||
      { echo "$page(1) SEE ALSO does not name $other(1)"; exit 1; }
  done
done

"$prefix/bin/bandmatch" --version | grep -qx "bandmatch [0-9.]*" ||
  { echo "installed bandmatch --version failed"; exit 1; }
printf 'pkg 1 d s 10 20 1 50 e\n' | (cd "$prefix" && ./bin/bandmatch >/dev/null)
[ -s "$prefix/pkg.csv" ] || { echo "installed program wrote no report"; exit 1; }
table=$("$prefix/bin/bandmatch-fit" --decrement 1)
grep -q '^   inf ' <<<"$table" || { echo "installed bandmatch-fit printed no table"; exit 1; }
(cd "$prefix" && ./bin/bandmatch-fit share/bandmatch/examples/dipole-80m.s1p 3.5 4.0 >fit.txt) ||
  { echo "installed bandmatch-fit failed on the installed example"; exit 1; }
(cd "$prefix" && ./bin/bandmatch-tune pkg.csv >tune.txt) || { echo "installed bandmatch-tune failed"; exit 1; }
grep -q '^tuned on the model load ' "$prefix/tune.txt" && [ -s "$prefix/pkg-tuned-values.csv" ] ||
  { echo "installed bandmatch-tune printed no table or wrote no values"; exit 1; }
# In the scratch prefix, where the chosen network's files may land.
(cd "$prefix" && ./bin/bandmatch-search 50 150 100 200 --topology "T T" >search.txt) ||
  { echo "installed bandmatch-search failed"; exit 1; }
grep -q '^Best: T T worst |Gamma| ' "$prefix/search.txt" && [ -s "$prefix/search.cir" ] ||
  { echo "installed bandmatch-search printed no best line or wrote no netlist"; exit 1; }

(cd "$build" && cpack -G DEB >/dev/null)
package=$(ls "$build"/bandmatch_*_amd64.deb 2>/dev/null | head -n 1)
[ -n "$package" ] || { echo "no Debian package built"; exit 1; }
contents=$(dpkg-deb -c "$package")
for file in "${installed[@]}"; do
  grep -q " ./usr/$file\$" <<<"$contents" || { echo "package is missing /usr/$file"; exit 1; }
done
echo "install and package: ok ($(basename "$package"))"
