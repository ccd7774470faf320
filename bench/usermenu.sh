#!/usr/bin/env bash
# USERMENU on an IDE INI file holding 1,000 user menu entries, under Wine: how many times the file is read and
# written (once each), and the medians of USERMENU and of `qzcl CMD` run alternately (target: at most 1.3 times).
set -eu
. "$(dirname "$0")/common.sh" menu-bench
ini=$work/C6/BIN/C60EE.ini
make_ini() {
  { printf '[User Menus]\r\n'
    for i in $(seq 1000); do printf '%d=&Tools/Vendor %04d/Item|APP%04d\r\n' "$i" "$i" "$i"; done
    printf '[User Applications]\r\n'; } >"$ini"
}
wineserver -p
trap 'wineserver -k 2>/dev/null; true' EXIT
cd "$work"
ms() { local t0 t1; t0=$(date +%s%N); "$@" >/dev/null 2>&1 || true; t1=$(date +%s%N); echo $(( (t1 - t0) / 1000000 )); }
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
for where in first last; do
  menu='&Tools/Vendor 0000/First'
  [ $where = last ] && menu='&Zzz'
  make_ini
  # Wine's file trace names every open of the file for reading and every rename that replaces it.
  WINEDEBUG=-all,+file wine "$exe/qzcl.exe" USERMENU NEWAPP "$menu" new.exe 2>"$work/trace" >/dev/null || true
  reads=$(grep -c 'CreateFileW L".*C60EE.ini." GENERIC_READ' "$work/trace" || true)
  writes=$(grep -c 'MoveFileWithProgressW (.*,L".*C60EE.ini."' "$work/trace" || true)
  entries=$(grep -c '|' "$ini")
  a=(); b=()
  for _ in $(seq "${RUNS:-11}"); do
    make_ini
    a+=("$(ms wine "$exe/qzcl.exe" USERMENU NEWAPP "$menu" new.exe)")
    b+=("$(ms wine "$exe/qzcl.exe" CMD)")
  done
  ma=$(median "${a[@]}"); mb=$(median "${b[@]}")
  echo "USERMENU with 1,000 entries, the new one sorted $where: median $ma ms against qzcl CMD $mb ms" \
       "(ratio $(awk "BEGIN{printf \"%.2f\", $ma/$mb}")), file read $reads and written $writes times, $entries entries after"
done
