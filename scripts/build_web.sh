#!/usr/bin/env bash
# Builds the web page into build-web/ at the repository root: index.html, page.js, style.css and
# the WebAssembly module bandmatch.mjs + bandmatch.wasm, compiled by Emscripten from the same
# C++ layers as the console program. Serve the folder with any static server.
# Usage: scripts/build_web.sh [emscripten-build-directory]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-emscripten}
out=build-web
# Emscripten's optimizer runs under node and needs Debian's acorn, which a node that is not
# Debian's own does not look for.
if [ -d /usr/share/nodejs ]; then
  export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
fi
if ! command -v emcmake >/dev/null 2>&1; then
  source scripts/dependencies.sh
  echo "build_web.sh: Emscripten is not installed (no emcmake); install the Debian packages" \
    "${WEB_PACKAGES[*]}: apt-get install --no-install-recommends ${WEB_PACKAGES[*]}" >&2
  exit 1
fi
emcmake cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DBANDMATCH_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target bandmatch_page
rm -rf "$out"
mkdir -p "$out"
cp "$build/bandmatch.mjs" "$build/bandmatch.wasm" src/web/page/index.html src/web/page/page.js \
  src/web/page/style.css "$out/"
echo "web page built in $out/: $(ls "$out" | tr '\n' ' ')"
