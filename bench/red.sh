#!/usr/bin/env bash
# RED on a redirection file of 100 entries under Wine: how many times the file is read and replaced (read, read
# again before the rename, replaced once), the medians of RED (the file restored before each) and of `qzcl CMD`
# run alternately, and the cost of the file's lock alone (see bench/lock_bench_win32.cpp; target: under 2 ms).
set -eu
. "$(dirname "$0")/common.sh" red-bench
red=$work/C6/BIN/C60EE.RED
make_red() {
  { printf '[Copy]\r\n*.dll = %%ROOT%%\\bin\r\n[Common]\r\n'
    for i in $(seq 99); do printf '*.x%02d = %%ROOT%%\\libsrc;C:\\Vendor%02d\\Source\r\n' "$i" "$i"; done; } >"$red"
}
wineserver -p
trap 'wineserver -k 2>/dev/null; true' EXIT
cd "$work"
ms() { local t0 t1; t0=$(date +%s%N); "$@" >/dev/null 2>&1 || true; t1=$(date +%s%N); echo $(( (t1 - t0) / 1000000 )); }
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
make_red
# Wine's file trace names every open of the file for reading and every rename that replaces it.
WINEDEBUG=-all,+file wine "$exe/qzcl.exe" RED Common '*.x50' 'C:\New' 2>"$work/trace" >/dev/null
reads=$(grep -c 'CreateFileW L".*C60EE.RED" GENERIC_READ' "$work/trace" || true)
writes=$(grep -c 'MoveFileWithProgressW (.*,L".*C60EE.RED"' "$work/trace" || true)
grep -q 'C:\\Vendor50\\Source;C:\\New' "$red" || { echo "RED did not change the file" >&2; exit 1; }
a=(); b=()
for _ in $(seq "${RUNS:-11}"); do
  make_red
  a+=("$(ms wine "$exe/qzcl.exe" RED Common '*.x50' 'C:\New')")
  b+=("$(ms wine "$exe/qzcl.exe" CMD)")
done
ma=$(median "${a[@]}"); mb=$(median "${b[@]}")
echo "RED on a redirection file of 100 entries: median $ma ms against qzcl CMD $mb ms" \
     "(ratio $(awk "BEGIN{printf \"%.2f\", $ma/$mb}")), file read $reads and replaced $writes times"
wine "$exe/lock_bench.exe" 'C6\BIN\C60EE.RED' </dev/null
