#!/usr/bin/env bash
# Start-up cost of `qzcl.exe CMD` (unattended) against a static Win32 program that exits at once,
# run alternately under one persistent wineserver. Prints both medians and their ratio (target: at most 1.10).
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=$here/build/wine-bench WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" QZCL_UNATTENDED=1
"$here/scripts/wine-prefix" "$WINEPREFIX"
wineserver -p
trap 'wineserver -k 2>/dev/null; true' EXIT
exe=$here/build/windows
qzcl=$(ls "$exe"/release/qzcl-*-win64/qzcl.exe)  # the released program: stripped, as users run it
runs=${RUNS:-21}
wine "$exe/exit_at_once.exe"; wine "$qzcl" CMD 2>/dev/null  # warm the caches
# Microseconds: a run takes about ten milliseconds, too few for whole ones to tell 1.10 from 1.20.
us() { local t0 t1; t0=$(date +%s%N); "$@" >/dev/null 2>&1 || true; t1=$(date +%s%N); echo $(( (t1 - t0) / 1000 )); }
a=(); b=()
for _ in $(seq "$runs"); do
  a+=("$(us wine "$exe/exit_at_once.exe")")
  b+=("$(us wine "$qzcl" CMD)")
done
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
ma=$(median "${a[@]}"); mb=$(median "${b[@]}")
awk -v a="$ma" -v b="$mb" -v n="$runs" 'BEGIN {
  printf "start-up under Wine, median of %d: exit_at_once %.1f ms, qzcl CMD %.1f ms, ratio %.2f\n", n, a / 1000, b / 1000, b / a }'
