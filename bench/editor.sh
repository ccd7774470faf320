#!/usr/bin/env bash
# The editor with 1,000 user menus under Wine (see bench/editor_bench_win32.cpp); then, traced, how often one
# such session reads and writes the INI file: the list read when the window opens, the backup copied, and the
# update's one read and one write.
set -eu
. "$(dirname "$0")/common.sh" editor-bench
wineserver -p
trap 'wineserver -k 2>/dev/null; true' EXIT
cd "$work"
wine "$exe/editor_bench.exe" 'C6\BIN\C60EE.ini' </dev/null
WINEDEBUG=-all,+file wine "$exe/editor_bench.exe" 'C6\BIN\C60EE.ini' </dev/null 2>"$work/trace" >/dev/null
echo "EDIT session traced: the INI file opened for reading $(grep -c 'CreateFileW L".*C60EE.ini." GENERIC_READ' "$work/trace" || true)" \
     "times and replaced $(grep -c 'MoveFileWithProgressW (.*,L".*C60EE.ini."' "$work/trace" || true) times"
