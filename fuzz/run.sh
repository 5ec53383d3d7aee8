#!/usr/bin/env bash
# Builds the record file fuzzer with clang and runs it on a copy of the seed
# corpus; exits non-zero when the fuzzer finds a crash or a broken contract.
#
#   fuzz/run.sh [SECONDS [BUILD_DIR]]
#
# SECONDS defaults to 60, BUILD_DIR to build-fuzz-run/ in the source tree.
# FUZZ_CXX chooses the compiler (default clang++). New inputs the fuzzer
# finds stay in BUILD_DIR/run/corpus; a crashing input is saved in
# BUILD_DIR/run/artifacts/ and its path printed.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
seconds=${1:-60}
build=${2:-$here/../build-fuzz-run}
cxx=${FUZZ_CXX:-clang++}

cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target zu_mfile_fuzz -j2

work=$build/run
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
cp "$here"/corpus/zu_mfile/* "$work/corpus/"

"$build/zu_mfile_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus"
