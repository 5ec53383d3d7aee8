#!/usr/bin/env bash
# Installs the Debian 12 packages DaVodu needs to build, test and render.
# Only packages that are missing are installed; running it twice is harmless.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libboost-dev                      # shared ownership, lexical conversion
  libcairo2-dev libpango1.0-dev libfontconfig-dev   # drawing back end
  fonts-noto-cjk                    # CJK faces for Chinese titles
  libdeflate-dev                    # fast PNG compression
  libsqlite3-dev                    # the embedded well database
  libpq-dev                         # a team's well database on a PostgreSQL server
  postgresql                        # the throwaway server the tests start (initdb, pg_ctl)
  libxxhash-dev                     # hashes of imported files
  libgdk-pixbuf-2.0-dev             # pictures: BMP, JPEG, PNG, TIFF
  liblua5.4-dev                     # the program engine of program columns
  libcpp-httplib-dev                # the HTTP server of davodu serve
  nlohmann-json3-dev                # its JSON API
  chromium chromium-driver python3-selenium   # the browser test of davodu serve
  libfast-float-dev                 # number parsing
  libgtest-dev libgmock-dev         # unit tests
  libbenchmark-dev                  # benchmarks under bench/
  clang libclang-rt-14-dev          # libFuzzer for the fuzz targets
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "installing: ${missing[*]}" >&2
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
