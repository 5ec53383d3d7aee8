#!/usr/bin/env bash
# Builds the fuzzers with clang and runs one of them on a copy of its seed
# corpus; exits non-zero when the fuzzer finds a crash, a hang, excessive
# memory use or a broken contract.
#
#   fuzz/run.sh TARGET [SECONDS [BUILD_DIR]]   build, then run TARGET
#   fuzz/run.sh --build [BUILD_DIR]            build every fuzzer only
#
# TARGET is zu_mfile, document, las, csv, template or samples (docs/fuzzing.md).
# SECONDS defaults to 60, BUILD_DIR to build-fuzz-run/ in the source tree.
# FUZZ_CXX and FUZZ_CC choose the compilers (default clang++, clang);
# FUZZ_NO_BUILD=1 runs what BUILD_DIR holds without building it (the tests
# build once, then run the fuzzers side by side). New
# inputs the fuzzer finds stay in BUILD_DIR/run-TARGET/corpus; a failing
# input is saved in BUILD_DIR/run-TARGET/artifacts/ and its path printed.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cxx=${FUZZ_CXX:-clang++}
cc=${FUZZ_CC:-$(dirname "$(command -v "$cxx")")/clang}
[ -x "$cc" ] || cc=clang

build_all() {
  # -O1 with line tables: quick to build, fast enough to fuzz, and the
  # stacks of a finding still name the lines.
  cmake -S "$here" -B "$1" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_C_COMPILER="$cc" \
    -DCMAKE_BUILD_TYPE=Fuzz -DCMAKE_CXX_FLAGS_FUZZ="-O1 -gline-tables-only" >/dev/null
  cmake --build "$1" -j2
}

if [ "${1:-}" = "--build" ]; then
  build_all "${2:-$here/../build-fuzz-run}"
  exit 0
fi

target=${1:?usage: fuzz/run.sh TARGET [SECONDS [BUILD_DIR]] or fuzz/run.sh --build [BUILD_DIR]}
seconds=${2:-60}
build=${3:-$here/../build-fuzz-run}
case "$target" in
  zu_mfile) max_len=4096 ;;
  document) max_len=65536 ;;
  las) max_len=65536 ;;
  csv) max_len=16384 ;;
  template) max_len=65536 ;;
  samples) max_len=4096 ;;
  *) echo "fuzz/run.sh: unknown target '$target' (zu_mfile, document, las, csv, template or samples)" >&2; exit 2 ;;
esac

[ "${FUZZ_NO_BUILD:-0}" = 1 ] || build_all "$build" >/dev/null

work=$build/run-$target
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
cp "$here/corpus/$target"/* "$work/corpus/"
case "$target" in
  document)
    # Seeds made by the kits as they are now.
    "$build/document_seeds" "$work/corpus" ;;
  template)
    cp "$here/../docs/demo-template.json" "$work/corpus/seed-demo-template.json" ;;
  las)
    # The small files of the shared LAS corpus, when it is there.
    shared=$here/../../shared/data/lasio-examples
    if [ -d "$shared" ]; then
      find "$shared" -name '*.las' -size -64k | while read -r f; do
        cp "$f" "$work/corpus/shared-$(echo "${f#"$shared"/}" | tr '/' '_')"
      done
    fi ;;
esac
dict=()
[ -f "$here/$target.dict" ] && dict=(-dict="$here/$target.dict")

"$build/${target}_fuzz" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
  -rss_limit_mb=2048 -malloc_limit_mb=1024 -print_final_stats=1 "${dict[@]}" \
  -artifact_prefix="$work/artifacts/" "$work/corpus"
