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

# NLopt for WebAssembly, for the page's topology search: Debian's own source package of the
# release this machine runs, fetched with a private package list (the system's lists and
# sources stay untouched), compiled once as a static C library and kept in the build folder.
nlopt="$PWD/$build/nlopt"
if [ ! -f "$nlopt/install/lib/libnlopt.a" ]; then
  rm -rf "$nlopt"
  mkdir -p "$nlopt/lists/partial" "$nlopt/parts" "$nlopt/download" "$nlopt/cache/archives/partial"
  suite=$(. /etc/os-release && echo "${VERSION_CODENAME:?no release code name in /etc/os-release}")
  echo "deb-src http://deb.debian.org/debian $suite main" >"$nlopt/sources.list"
  apt_options=(-q -o "Dir::Etc::SourceList=$nlopt/sources.list" -o "Dir::Etc::SourceParts=$nlopt/parts"
    -o "Dir::State::Lists=$nlopt/lists" -o "Dir::Cache=$nlopt/cache" -o APT::Sandbox::User=root)
  apt-get "${apt_options[@]}" update >/dev/null
  (cd "$nlopt/download" && apt-get "${apt_options[@]}" source --download-only nlopt >/dev/null)
  mkdir -p "$nlopt/source"
  tar -xzf "$nlopt"/download/nlopt_*.orig.tar.gz -C "$nlopt/source" --strip-components=1
  emcmake cmake -S "$nlopt/source" -B "$nlopt/build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$nlopt/install" -DCMAKE_INSTALL_LIBDIR=lib -DBUILD_SHARED_LIBS=OFF \
    -DNLOPT_CXX=OFF -DNLOPT_FORTRAN=OFF -DNLOPT_PYTHON=OFF -DNLOPT_OCTAVE=OFF \
    -DNLOPT_MATLAB=OFF -DNLOPT_GUILE=OFF -DNLOPT_SWIG=OFF -DNLOPT_TESTS=OFF >/dev/null
  cmake --build "$nlopt/build" -j"$(nproc)" --target install >/dev/null
fi

emcmake cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DBANDMATCH_BENCHMARKS=OFF -DBANDMATCH_NLOPT_INCLUDE_DIR="$nlopt/install/include" \
  -DBANDMATCH_NLOPT_LIBRARY="$nlopt/install/lib/libnlopt.a" >/dev/null
cmake --build "$build" -j"$(nproc)" --target bandmatch_page
rm -rf "$out"
mkdir -p "$out"
cp "$build/bandmatch.mjs" "$build/bandmatch.wasm" src/web/page/index.html src/web/page/page.js \
  src/web/page/style.css "$out/"
echo "web page built in $out/: $(ls "$out" | tr '\n' ' ')"
