#!/usr/bin/env bash
# Makes a delay-import library for a system DLL from MinGW's ordinary import library:
# the DLL is then loaded at the first call into it, not at process start.
set -eu
dll=$1 out=$2
lib=/usr/x86_64-w64-mingw32/lib/lib$dll.a
def=${out%.a}.def
{
  echo "LIBRARY $dll.dll"
  echo "EXPORTS"
  x86_64-w64-mingw32-nm "$lib" 2>/dev/null | sed -n 's/^[0-9a-f]* I __imp_\(.*\)$/\1/p' | sort -u
} >"$def"
x86_64-w64-mingw32-dlltool --input-def "$def" --output-delaylib "$out"
