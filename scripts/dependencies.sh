#!/usr/bin/env bash
# The Debian packages bandmatch needs, listed once, and the one way they are installed: with
# apt-get when running as root, otherwise by saying exactly what to install.
# Usage: source scripts/dependencies.sh; install_packages "${TEST_PACKAGES[@]}"
#        bash scripts/dependencies.sh [test|ci]   (prints the list)

# Build and run every test: compiler and CMake, GoogleTest and GoogleMock, Google Benchmark,
# CLI11 for the companion programs, ngspice and xmllint as independent clients of their files,
# librsvg2-bin (rsvg-convert) and python3 (its csv module) as clients of the exporter's schematic
# and list of parts, nec2c to simulate the antenna whose impedance the tests of measured loads use,
# NLopt for bandmatch-tune's optimizer (libnlopt-cxx-dev; it brings the C interface, libnlopt-dev,
# which the tuner calls because it reports every stop as a result code instead of throwing).
TEST_PACKAGES=(cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev ngspice
  libxml2-utils librsvg2-bin python3 nec2c libnlopt-cxx-dev)
# What CI adds: clang and its runtime for the fuzzers, gcovr for coverage, man for the manual
# page check; emscripten and node-acorn build the web page, chromium runs its tests.
CI_PACKAGES=("${TEST_PACKAGES[@]}" clang libclang-rt-14-dev gcovr man-db emscripten node-acorn
  chromium)

# Installs the packages that are missing; returns non-zero, naming them, when it cannot.
install_packages() {
  local missing=() package
  for package in "$@"; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
  done
  [ "${#missing[@]}" -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing Debian packages; install them with:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
    return 1
  fi
  echo "== installing ${missing[*]}"
  apt-get update &&
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  case "${1:-test}" in
    test) echo "${TEST_PACKAGES[*]}" ;;
    ci) echo "${CI_PACKAGES[*]}" ;;
    *) echo "usage: scripts/dependencies.sh [test|ci]" >&2; exit 2 ;;
  esac
fi
