#!/usr/bin/env bash
# Installs what is missing, builds the davodu command and runs the demo:
# out/demo.png, out/demo.svg and out/demo.pdf.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DDAVODU_BUILD_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)"
./build/app/davodu demo --out out "$@"
