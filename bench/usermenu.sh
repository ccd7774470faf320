#!/usr/bin/env bash
# USERMENU on an IDE INI file holding 1,000 user menu entries, under Wine: the time of one run
# (target: under 1 s) and how many times the INI file was rewritten.
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
# Wine's profile trace names every flush of a file to disk: one per rewrite. The timed runs are untraced.
for where in first last; do
  menu='&Tools/Vendor 0000/First'
  [ $where = last ] && menu='&Zzz'
  make_ini
  WINEDEBUG=-all,+profile wine "$exe/qzcl.exe" USERMENU NEWAPP "$menu" new.exe 2>"$work/trace" >/dev/null || true
  rewrites=$(grep -c 'PROFILE_FlushFile' "$work/trace" || true)
  make_ini
  t0=$(date +%s%N)
  wine "$exe/qzcl.exe" USERMENU NEWAPP "$menu" new.exe >/dev/null 2>&1 || true
  t1=$(date +%s%N)
  echo "USERMENU with 1,000 entries, the new one sorted $where: $(( (t1 - t0) / 1000000 )) ms, INI file rewritten $rewrites times, $(grep -c '|' "$ini") entries after"
done
