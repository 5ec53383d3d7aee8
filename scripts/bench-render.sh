#!/usr/bin/env bash
# The whole-process render benchmark: `davodu render` against matplotlib and
# a bare Cairo program on the same chart (bench/render/render_bench.py).
# Installs what is missing (matplotlib only for this benchmark), builds the
# programs in Release and prints the times, ratios and peak memory.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# Debian's python3 (a python3 earlier on PATH may be another one).
python=/usr/bin/python3
[ -x "$python" ] || python=python3
if ! "$python" -c "import matplotlib" 2>/dev/null; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends python3-matplotlib >/dev/null
fi
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DDAVODU_BUILD_BENCH=ON -DDAVODU_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" --target davodu_cli davodu_bare_cairo
"$python" bench/render/render_bench.py --davodu build-bench/app/davodu \
  --bare build-bench/bench/davodu_bare_cairo --python "$python" "$@"
