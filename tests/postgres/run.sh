#!/usr/bin/env bash
# Runs the tests of the well database and of the davodu command against a
# throwaway PostgreSQL cluster: starts one in a temporary folder (socket
# there, no TCP port), runs the test binary with DAVODU_TEST_PG pointing at
# it, and stops and removes it at the end, whatever happens.
#
#   run.sh TEST_BINARY [GTEST_FILTER]
#
# Exits 77 (a skip) when no cluster can be had (no server installed, or run
# as root without an unprivileged user to run it as), saying why.
set -uo pipefail

binary=$1
filter=${2:-'WellDb*:Deviation*:LasImport*:ImportCli*:ShowCli*:ChartCli*:IntervalCli*:RenderPagesCli*:IntervalAdapters*:GatewayTest*:TeamDatabase*:CopyCli*'}
here=$(cd "$(dirname "$0")" && pwd)
cluster_script="$here/../../scripts/pg-cluster.sh"

dir=$(mktemp -d /tmp/davodu-pg.XXXXXX)
trap 'bash "$cluster_script" stop "$dir"' EXIT
uri=$(bash "$cluster_script" start "$dir")
rc=$?
if [ $rc -eq 2 ]; then
  echo "skipping the PostgreSQL tests: no throwaway cluster could be started" >&2
  exit 77
fi
[ $rc -eq 0 ] || { echo "the throwaway PostgreSQL cluster did not start" >&2; exit 1; }

DAVODU_TEST_PG=$uri "$binary" --gtest_filter="$filter" --gtest_brief=1
