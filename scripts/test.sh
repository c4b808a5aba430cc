#!/usr/bin/env bash
# Installs what is missing, cross-builds everything and runs every test under Wine.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing
find_wine
configure_and_build
trap stop_all EXIT
start_display
start_wine
cd "$BUILD_DIR"
ctest --output-on-failure --timeout 300 -j "${TEST_JOBS:-2}" "$@"
