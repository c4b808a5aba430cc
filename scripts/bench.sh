#!/usr/bin/env bash
# Installs what is missing, cross-builds everything and runs the benchmark
# under Wine: one summary line per figure, and the table in bench/results.md.
# Extra arguments go to QuelvoBench.exe (for example --reps 3 --big-reps 1).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing
find_wine
configure_and_build
trap stop_all EXIT
start_display
start_wine
results="$ROOT_DIR/bench/results.md"
cd "$BUILD_DIR/bin"
"$WINE64" QuelvoBench.exe --out "$("$WINE64" winepath -w "$results" 2>/dev/null)" "$@"
echo "table: $results"
