#!/usr/bin/env bash
# Start-up cost of `qzcl.exe CMD` (unattended) against a static Win32 program that exits at once,
# run alternately under one persistent wineserver. Prints both medians and their ratio (target: at most 1.3).
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=$here/build/wine-bench WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" QZCL_UNATTENDED=1
"$here/scripts/wine-prefix" "$WINEPREFIX"
wineserver -p
trap 'wineserver -k 2>/dev/null; true' EXIT
exe=$here/build/windows
runs=${RUNS:-21}
wine "$exe/exit_at_once.exe"; wine "$exe/qzcl.exe" CMD 2>/dev/null  # warm the caches
ms() { local t0 t1; t0=$(date +%s%N); "$@" >/dev/null 2>&1 || true; t1=$(date +%s%N); echo $(( (t1 - t0) / 1000000 )); }
a=(); b=()
for _ in $(seq "$runs"); do
  a+=("$(ms wine "$exe/exit_at_once.exe")")
  b+=("$(ms wine "$exe/qzcl.exe" CMD)")
done
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
ma=$(median "${a[@]}"); mb=$(median "${b[@]}")
echo "start-up under Wine, median of $runs: exit_at_once ${ma} ms, qzcl CMD ${mb} ms, ratio $(awk "BEGIN{printf \"%.2f\", $mb/$ma}")"
