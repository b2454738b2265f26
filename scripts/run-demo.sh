#!/usr/bin/env bash
# Installs what is missing, builds, starts the local demo site and opens
# Brisma against it. While the program itself is not built yet, it builds
# what exists and runs the demo site alone.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"

site=build/tools/demo-site/brisma-demo-site
if [ ! -x build/src/app/brisma ]; then
    echo "The program is not built yet; serving the demo site on http://127.0.0.1:8936/ (Ctrl-C stops it)."
    exec "$site"
fi

"$site" &
site_pid=$!
trap 'kill $site_pid 2>/dev/null || true' EXIT
build/src/app/brisma
