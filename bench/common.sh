# Sourced by the Wine benchmarks: the benchmark prefix, and a demo installation of version 6 in
# C:\<folder>\C6 named in its WIN.INI. Sets here, exe, c, work and win.
# usage: . bench/common.sh <folder>
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exe=$here/build/windows
export WINEPREFIX=$here/build/wine-bench WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" QZCL_UNATTENDED=1
"$here/scripts/wine-prefix" "$WINEPREFIX"
wineserver -w
c=$WINEPREFIX/drive_c
work=$c/$1
mkdir -p "$work/C6/BIN"
win=$c/windows/win.ini
sed -i '/^\[Clarion 6.0  Enterprise Edition\]/,/^$/d' "$win" 2>/dev/null || true
printf '\r\n[Clarion 6.0  Enterprise Edition]\r\nRoot=C:\\%s\\C6\r\nExeName=C60EE\r\n\r\n' "$1" >>"$win"
