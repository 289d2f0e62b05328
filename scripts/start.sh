#!/usr/bin/env bash
# The README's first command: installs the Debian packages the programs need (or says which are
# missing), builds every program into the folder build (the CMake target "programs"; the test
# suite stays optional) and starts the dialogue of bandmatch in the folder scratch, where its
# reports go, reading the answers from this script's own standard input (the terminal).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/dependencies.sh
install_packages "${PROGRAM_PACKAGES[@]}"
cmake -S . -B build
cmake --build build --target programs -j"$(nproc)"
mkdir -p scratch
cd scratch
echo "== the programs are in build/; bandmatch starts in scratch/, where it writes its reports"
exec ../build/bandmatch
