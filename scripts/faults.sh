#!/usr/bin/env bash
# Runs the fault campaign alone (it also runs within scripts/test.sh) and
# prints its report table, assembled from the rows each case wrote.
set -euo pipefail
ROOT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT_DIR/build}
# The report table is assembled by a small Python script.
if ! command -v python3 >/dev/null; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends python3 >/dev/null
fi
rm -rf "$BUILD_DIR/fault-campaign"
status=0
BUILD_DIR=$BUILD_DIR "$ROOT_DIR/scripts/test.sh" -R 'Fault[A-Z]' "$@" || status=$?
python3 "$ROOT_DIR/tests/faults/campaign_table.py" "$BUILD_DIR/fault-campaign" || status=$?
exit $status
