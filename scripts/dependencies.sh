#!/usr/bin/env bash
# The Debian packages bandmatch needs, listed once, and the one way they are installed: with
# apt-get when running as root, only the missing ones and without upgrading or removing anything
# installed; otherwise by saying exactly what to install.
# Usage: source scripts/dependencies.sh; install_packages "${TEST_PACKAGES[@]}"
#        bash scripts/dependencies.sh [programs|test|web|ci]   (prints the list)

# Build every program: compiler, CMake and make; CLI11 for the companion programs' command lines;
# NLopt's C interface for bandmatch-tune's optimizer (it reports every stop as a result code
# instead of throwing); nlohmann-json for the companion programs' --json summaries.
PROGRAM_PACKAGES=(cmake g++ make libcli11-dev libnlopt-dev nlohmann-json3-dev)
# Build and run every test: GoogleTest and GoogleMock, Google Benchmark, ngspice and xmllint as
# independent clients of the exporter's files, librsvg2-bin (rsvg-convert) and python3 (its csv
# module) as clients of its schematic and list of parts, nec2c to simulate the antenna whose
# impedance the tests of measured loads use, python3-scikit-rf to build a chosen network's
# two-port from its own media and compare it with the written .s2p file.
TEST_PACKAGES=("${PROGRAM_PACKAGES[@]}" libgtest-dev libgmock-dev libbenchmark-dev ngspice
  libxml2-utils librsvg2-bin python3 nec2c)
# The Python package bandmatch (python/, src/python) and its tests (tests/python), one reason each.
PYTHON_PACKAGES=(
  pybind11-dev        # the module's binding: pybind11's headers and CMake configuration
  python3-pybind11    # pybind11 for the interpreter the module is built for
  python3-dev         # the interpreter's headers the module compiles against
  python3-numpy       # the arrays the package hands out and takes
  python3-pytest      # runs tests/python under CTest (label python)
  python3-scikit-rf   # an independent reader and client of Touchstone files in the tests
  python3-matplotlib  # plots in the guide's example (docs/python.md), which a test runs
  python3-venv        # the guide's install into a virtual environment
  python3-setuptools  # the build backend of pip install . (pyproject.toml, setup.py)
  python3-wheel       # the wheel setuptools builds for pip
  python3-jsonschema  # validates the programs' --json output against docs/json/*.schema.json
)
TEST_PACKAGES+=("${PYTHON_PACKAGES[@]}")
# Build the web page: Emscripten, and Debian's acorn for its optimizer.
WEB_PACKAGES=(emscripten node-acorn)
# What CI adds: clang and its runtime for the fuzzers, gcovr for coverage, man for the manual
# page check; the web page's packages, and chromium to run its tests.
CI_PACKAGES=("${TEST_PACKAGES[@]}" clang libclang-rt-14-dev gcovr man-db "${WEB_PACKAGES[@]}"
  chromium)

# How long, in seconds, to wait for another package manager (apt, dpkg, unattended-upgrades) to
# let go of its lock before giving up.
APT_LOCK_WAIT=${APT_LOCK_WAIT:-300}
# A new package may come in an older version than the archive's newest, but never upgrades an
# installed one: apt otherwise upgrades the other packages built from the same source as well.
APT_INSTALL_OPTIONS=(--no-install-recommends -o APT::Get::Upgrade-By-Source-Package=false)

# The packages of the list that are not installed (one whose configuration files alone were left
# behind counts as missing).
missing_packages() {
  local package
  for package in "$@"; do
    dpkg-query -W -f='${db:Status-Status}\n' "$package" 2>/dev/null | grep -qx installed ||
      echo "$package"
  done
}

# apt-get with the given arguments, its output shown as it comes. While another package manager
# holds one of apt's locks it waits, APT_LOCK_WAIT seconds at most in all: the dpkg lock through
# apt's own timeout, the lock of the package lists (which apt-get update does not wait for) by
# trying again every 5 seconds. Returns apt-get's status.
apt_get_waiting() {
  local log deadline=$((SECONDS + APT_LOCK_WAIT)) status waited=no
  local held='Could not get lock\|Unable to lock\|Unable to acquire'
  log=$(mktemp)
  while :; do
    if DEBIAN_FRONTEND=noninteractive apt-get -o "DPkg::Lock::Timeout=$((deadline - SECONDS))" \
        "$@" </dev/null 2>&1 | tee "$log" | grep -v --line-buffered "$held"; then
      status=0
    else
      status=${PIPESTATUS[0]}
    fi
    if [ "$status" -eq 0 ] || ! grep -q "$held" "$log"; then
      rm -f "$log"
      return "$status"
    fi
    if [ "$SECONDS" -ge "$deadline" ]; then
      echo "== gave up waiting for another package manager after $APT_LOCK_WAIT s:" \
        "$(grep -m 1 "$held" "$log")" >&2
      rm -f "$log"
      return "$status"
    fi
    if [ "$waited" = no ]; then
      echo "== another package manager holds its lock; waiting for it, $APT_LOCK_WAIT s at most"
      waited=yes
    fi
    sleep 5
  done
}

# The arguments for apt-get install that bring the missing packages without upgrading or removing
# anything installed: their names, where needed pinned to an older version. When the newest
# version of a package it would install needs a newer version of an installed one, that package
# is pinned to the installed one's version, if the archive still has it (a library and the tools
# built from the same source share their version). Status 1 when apt cannot plan the install
# (say, a package the lists do not know), 2 when it would still upgrade or remove something.
plan_install() {
  local requests=("$@") simulation changes newcomers pinned package old new request i
  for _ in 1 2 3 4; do
    if ! simulation=$(LC_ALL=C apt-get -s "${APT_INSTALL_OPTIONS[@]}" install "${requests[@]}" 2>&1); then
      grep '^E:' <<<"$simulation" >&2
      return 1
    fi
    # "Inst NAME [INSTALLED] (NEW ...)" upgrades NAME; "Remv NAME ..." removes it.
    changes=$(sed -n 's/^Inst \([^ ]*\) \[\([^]]*\)\] (\([^ ]*\) .*/\1 \2 \3/p
                      s/^Remv \([^ ]*\).*/\1 removed/p' <<<"$simulation")
    if [ -z "$changes" ]; then
      printf '%s\n' "${requests[@]}"
      return 0
    fi
    newcomers=$(sed -n 's/^Inst \([^ []*\) (.*/\1/p' <<<"$simulation")
    pinned=no
    while read -r package old new; do
      [ "$new" != removed ] || continue
      for request in $newcomers; do
        # The newcomer at the upgraded package's installed version, if the archive has it.
        if apt-cache madison "$request" | awk -v v="$old" '$3 == v { found = 1 } END { exit !found }'
        then
          pinned=yes
          for i in "${!requests[@]}"; do
            [ "${requests[$i]%%=*}" != "$request" ] || unset 'requests[i]'
          done
          requests+=("$request=$old")
        fi
      done
    done <<<"$changes"
    requests=("${requests[@]}")
    [ "$pinned" = yes ] || break
  done
  echo "installing ${requests[*]} would change installed packages, which this script never does:" >&2
  while read -r package old new; do
    if [ "$new" = removed ]; then
      echo "  remove $package" >&2
    else
      echo "  upgrade $package from $old to $new" >&2
    fi
  done <<<"$changes"
  echo "upgrade the system first (apt-get upgrade), or install them yourself:" >&2
  echo "  apt-get install ${*}" >&2
  return 2
}

# Installs the packages that are missing, without upgrading or removing any installed one; the
# package lists are fetched only when apt does not know a package or a download fails. Returns
# non-zero, saying what to do, when it cannot.
install_packages() {
  local missing requests=() plan status reasons request
  mapfile -t missing < <(missing_packages "$@")
  [ "${#missing[@]}" -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ] || ! command -v apt-get >/dev/null; then
    echo "missing Debian packages; install them with:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
    return 1
  fi
  echo "== installing ${missing[*]} (waiting for another package manager's lock for" \
    "$APT_LOCK_WAIT s at most)"
  # A package the lists do not know (or lists never fetched) is the one reason to fetch them
  # first; apt's complaint about it is shown only if fetching does not help.
  reasons=$(mktemp)
  plan=$(plan_install "${missing[@]}" 2>"$reasons") && status=0 || status=$?
  [ "$status" -ne 2 ] || cat "$reasons" >&2
  rm -f "$reasons"
  if [ "$status" -eq 1 ]; then
    echo "== fetching the package lists"
    apt_get_waiting update || return 1
    plan=$(plan_install "${missing[@]}") || return 1
  elif [ "$status" -ne 0 ]; then
    return 1
  fi
  mapfile -t requests <<<"$plan"
  if ! apt_get_waiting install -y "${APT_INSTALL_OPTIONS[@]}" "${requests[@]}"; then
    # Lists older than the archive name files it no longer has.
    echo "== fetching the package lists, then trying once more"
    apt_get_waiting update || return 1
    plan=$(plan_install "${missing[@]}") || return 1
    mapfile -t requests <<<"$plan"
    apt_get_waiting install -y "${APT_INSTALL_OPTIONS[@]}" "${requests[@]}" || return 1
  fi
  # A dependency pinned by name is still only a dependency.
  for request in "${requests[@]}"; do
    [[ " ${missing[*]} " == *" ${request%%=*} "* ]] || apt-mark auto "${request%%=*}" >/dev/null
  done
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  case "${1:-test}" in
    programs) echo "${PROGRAM_PACKAGES[*]}" ;;
    test) echo "${TEST_PACKAGES[*]}" ;;
    web) echo "${WEB_PACKAGES[*]}" ;;
    ci) echo "${CI_PACKAGES[*]}" ;;
    *) echo "usage: scripts/dependencies.sh [programs|test|web|ci]" >&2; exit 2 ;;
  esac
fi
