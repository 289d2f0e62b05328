#!/usr/bin/env bash
# The README's test command: installs the Debian packages the tests need (or says which are
# missing), then configures, builds everything in the folder build and runs the whole suite, with
# as many jobs as the machine has cores.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/dependencies.sh
install_packages "${TEST_PACKAGES[@]}"
cmake -S . -B build
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
