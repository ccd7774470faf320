#!/usr/bin/env bash
# A full disk under Wine: qzcl.exe alone may write 8 KB (a file size limit on its process), less than the files
# of about 20 KB it changes. Each command fails with exit code 1 and says why, leaving the file's bytes and no
# temporary file; run again without the limit, it makes its change.   full_disk_test.sh <qzcl.exe>
set -u
here=$(cd "$(dirname "$0")/../.." && pwd) qzcl=$1
export WINEPREFIX=${WINEPREFIX:-$here/build/wine-test} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" QZCL_UNATTENDED=1
"$here/scripts/wine-prefix" "$WINEPREFIX" >/dev/null || exit 1
wine cmd /c exit >/dev/null 2>&1 </dev/null  # Wine's own processes start now, not under the limit
name=qzcl-full-disk-$$ win=$WINEPREFIX/drive_c/windows/win.ini
work=$WINEPREFIX/drive_c/$name bin=$WINEPREFIX/drive_c/$name/C6/BIN
cp "$win" "$work.win.ini"
trap 'mv "$work.win.ini" "$win"; rm -rf "$work"' EXIT
printf '\r\n[Clarion 6.0  Enterprise Edition]\r\nRoot=C:\\%s\\C6\r\nExeName=C60EE\r\n' "$name" >>"$win"
mkdir -p "$bin"
{ printf '[User Menus]\r\n'; for i in $(seq 400); do printf '%d=&Tools/Vendor %04d|APP%04d\r\n' "$i" "$i" "$i"; done
  printf '[User Applications]\r\n'; for i in $(seq 400); do printf 'APP%04d=tool%04d.exe\r\n' "$i" "$i"; done; } >"$bin/C60EE.ini"
{ printf '[Common]\r\n*.tpl = C:\\A\r\n'; for i in $(seq 1200); do printf '*.x%04d = C:\\X\r\n' "$i"; done; } >"$bin/C60EE.RED"
for i in $(seq 700); do printf "#! line %04d of the template\r\n" "$i"; done >"$work/a.tpl"
failed=0
check() {  # <file> <line expected on standard error> <arguments...>
  local file=$1 said=$2
  shift 2
  cp "$file" "$work/before"
  (cd "$work" && bash -c 'ulimit -f 8; trap "" XFSZ; exec wine "$0" "$@"' "$qzcl" "$@" 2>"$work/err" >/dev/null)
  local rc=$? why=
  [ $rc -eq 1 ] || why="ended with $rc"
  cmp -s "$file" "$work/before" || why="$why, changed the file"
  ! ls "$(dirname "$file")"/~qzcl-* >/dev/null 2>&1 || why="$why, left a temporary file"
  tr -d '\r' <"$work/err" | grep -qxF -- "$said" || why="$why, said: $(cat "$work/err")"
  (cd "$work" && wine "$qzcl" "$@" >/dev/null 2>&1) && ! cmp -s "$file" "$work/before" || why="$why, no change without the limit"
  [ -z "$why" ] || { echo "FAIL: $*: $why"; failed=1; }
}
check "$bin/C60EE.RED" "The disk is full." RED Common '*.tpl' 'C:\X'
check "$bin/C60EE.ini" "The disk is full." USERMENU NEWAPP Zzz new.exe
check "$work/a.tpl" "The template file was not changed: a.tpl: The disk is full." INCLUDE a.tpl x.tpw
[ $failed -eq 0 ] && echo "RED, USERMENU and INCLUDE on a full disk: nothing changed, nothing left"
exit $failed
