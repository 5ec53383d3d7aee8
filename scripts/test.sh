#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer (the benchmarks too, so that they cannot rot;
# they are not run here) and runs every test, the short fuzz runs included.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DDAVODU_SANITIZE=ON -DDAVODU_BUILD_TESTS=ON \
  -DDAVODU_BUILD_BENCH=ON >/dev/null
cmake --build build-test -j"$(nproc)"
ctest --test-dir build-test --output-on-failure -j"$(nproc)"
