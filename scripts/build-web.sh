#!/bin/sh
# Builds the page into build/web/: ostrel-icm compiled by emscripten (the
# preset web, into build/web-wasm/) beside the page's own files from web/.
# The folder works from any static file server.
set -eu
cd "$(dirname "$0")/.."
# Debian's emscripten finds its JavaScript tools (acorn) in Debian's node
# folder, which a node from elsewhere does not search.
export NODE_PATH=/usr/share/nodejs
cmake --preset web >/dev/null
cmake --build --preset web -j 2
rm -rf build/web
mkdir -p build/web
cp web/index.html web/style.css web/src/*.js build/web/
cp build/web-wasm/ostrel-icm.js build/web/
# The worker unpacks the module itself (web/src/worker.js).
gzip -9 -n -c build/web-wasm/ostrel-icm.wasm >build/web/ostrel-icm.wasm.gz
