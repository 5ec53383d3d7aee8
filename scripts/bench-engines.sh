#!/usr/bin/env bash
# Runs the engine benchmarks (bench/engine_bench.cpp): the same well on a
# SQLite file and on a throwaway PostgreSQL cluster started for the run.
#   bash scripts/bench-engines.sh [BUILD_DIR]   (default build-bench)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DDAVODU_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target davodu_bench
dir=$(mktemp -d /tmp/davodu-pg-bench.XXXXXX)
trap 'bash scripts/pg-cluster.sh stop "$dir"' EXIT
uri=$(bash scripts/pg-cluster.sh start "$dir")
DAVODU_BENCH_PG=$uri "$build/bench/davodu_bench" \
  --benchmark_filter='BM_ImportWell|BM_LoadAndDrawChart|BM_IdlePoll' --benchmark_min_time=1
