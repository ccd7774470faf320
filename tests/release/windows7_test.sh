#!/usr/bin/env bash
# The program starts on Windows 7: its header names 6.1 as the oldest Windows and subsystem, and it imports
# only DLLs and functions that Windows 7 has. A new import fails here until it is checked against Windows 7
# and added to windows7-imports.txt.
#   windows7_test.sh <qzcl.exe as linked> <delay library folder> <qzcl.exe as released>
set -u
here=$(cd "$(dirname "$0")" && pwd)
linked=$1 delay=$2 released=$3
status=0
header=$(x86_64-w64-mingw32-objdump -p "$released" | awk '/^Major|^Minor/ { printf "%s %s\n", $1, $2 }' |
  grep -E 'OSystemVersion|SubsystemVersion')
want="MajorOSystemVersion 6
MinorOSystemVersion 1
MajorSubsystemVersion 6
MinorSubsystemVersion 1"
if [ "$header" != "$want" ]; then
  echo "FAIL: the header's versions are:"
  echo "$header"
  status=1
fi
# The released program is the linked one stripped: the same import table.
table() { x86_64-w64-mingw32-objdump -p "$1" | sed -n '/^The Import Tables/,/^The Export Tables\|^PE File Base Relocations/p' | grep -v "^ *vma:\|^$"; }
if [ "$(table "$linked" | awk '{print $NF}')" != "$(table "$released" | awk '{print $NF}')" ]; then
  echo "FAIL: the released program's import table differs from the linked one's"
  status=1
fi
imports=$("$here/imports.sh" "$linked" "$delay" | LC_ALL=C sort -u)
kept=$(grep -v '^#' "$here/windows7-imports.txt" | LC_ALL=C sort -u)
if [ "$imports" != "$kept" ]; then
  echo "FAIL: the imports differ from windows7-imports.txt (< imported, > listed):"
  diff <(echo "$imports") <(echo "$kept") | grep '^[<>]'
  status=1
fi
[ $status -eq 0 ] && echo "$(echo "$imports" | wc -l) imports from $(echo "$imports" | awk '{print $1}' | sort -u | tr '\n' ' ')all in Windows 7"
exit $status
