#!/usr/bin/env bash
# DDE under Wine:
#  1. qzcl.exe REG against a running stand-in IDE (connect, one execute) beside a program that exits at
#     once: the difference of the medians is the cost beyond process start (target: under 50 ms).
#  2. The processor time of a REG whose IDE never answers: the 30-second Connect (target: under 1 s).
set -eu
. "$(dirname "$0")/common.sh" dde-bench
printf '#TEMPLATE(A,%s)\r\n' "'a'" >"$work/a.tpl"
set_exe() { sed -i "s/^ExeName=.*/ExeName=$1\r/" "$win"; }

wineserver -p
trap 'wineserver -k 2>/dev/null; true' EXIT
cd "$work"
wine "$exe/stand_in_ide.exe" --ready "$work/ready" >/dev/null 2>&1 &
for _ in $(seq 100); do [ -f "$work/ready" ] && break; sleep 0.1; done

ms() { local t0 t1; t0=$(date +%s%N); "$@" >/dev/null 2>&1 || true; t1=$(date +%s%N); echo $(( (t1 - t0) / 1000000 )); }
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
runs=${RUNS:-21}
a=(); b=()
wine "$exe/exit_at_once.exe"; wine "$exe/qzcl.exe" REG a.tpl 2>/dev/null || true
for _ in $(seq "$runs"); do
  a+=("$(ms wine "$exe/exit_at_once.exe")")
  b+=("$(ms wine "$exe/qzcl.exe" REG a.tpl)")
done
ma=$(median "${a[@]}"); mb=$(median "${b[@]}")
echo "REG to a running IDE under Wine, median of $runs: exit_at_once ${ma} ms, qzcl REG ${mb} ms, beyond process start $((mb - ma)) ms"

wineserver -k || true; sleep 1; wineserver -p
set_exe NoSuchIde
TIMEFORMAT='%R %U %S'
t=$( { time wine "$exe/qzcl.exe" REG a.tpl >/dev/null 2>&1; } 2>&1 ) || true  # the run fails, as it should
set -- $t
echo "REG with an IDE that never answers: ${1} s elapsed, processor time $(awk "BEGIN{printf \"%.2f\", $2+$3}") s"
set_exe C60EE
