#!/usr/bin/env bash
# Installs a built tree into a scratch prefix, then builds and runs the
# consumer program against it with find_package(davodu).
#   tests/install/run.sh BUILD_DIR SCRATCH_DIR [EXTRA_CXX_FLAGS]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$1
scratch=$2
flags=${3:-}
rm -rf "$scratch"
cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
cmake -S "$here/consumer" -B "$scratch/consumer" -DCMAKE_PREFIX_PATH="$scratch/prefix" \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
cmake --build "$scratch/consumer" -j"$(nproc)" >/dev/null
# The library's own headers stay out of the installed tree.
if find "$scratch/prefix/include/davodu" -path "*/detail/*" -o -path "*/data/adapters/*" | grep -q .; then
  echo "private headers were installed" >&2
  exit 1
fi
"$scratch/consumer/consumer" "$scratch"
# The installed command finds its chart program in libexec/davodu.
"$scratch/prefix/bin/davodu" patterns -o "$scratch/patterns.svg" >/dev/null
test -s "$scratch/patterns.svg"
