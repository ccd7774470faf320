#!/usr/bin/env bash
# The notes window on a 10,000-line version file under Wine (see bench/notes_bench_win32.cpp).
set -eu
. "$(dirname "$0")/common.sh" notes-bench
wineserver -p
trap 'wineserver -k 2>/dev/null; true' EXIT
cd "$work"
rm -f QZCL60.ini
wine "$exe/notes_bench.exe" </dev/null
