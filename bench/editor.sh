#!/usr/bin/env bash
# The editor with 1,000 user menus under Wine (see bench/editor_bench_win32.cpp).
set -eu
. "$(dirname "$0")/common.sh" editor-bench
wineserver -p
trap 'wineserver -k 2>/dev/null; true' EXIT
cd "$work"
wine "$exe/editor_bench.exe" 'C6\BIN\C60EE.ini' </dev/null
