#!/usr/bin/env bash
# Lists what a Windows program imports, one "dll function" per line, sorted: the import table as objdump
# reads it, and the delay-loaded functions, which live outside that table (the linker does not record
# them in the PE header), found by their import symbols and the delay libraries' definition files.
#   imports.sh <program.exe, not stripped> <folder of the delay libraries' .def files>
set -eu
exe=$1 delay=$2
objdump=x86_64-w64-mingw32-objdump nm=x86_64-w64-mingw32-nm
table=$("$objdump" -p "$exe" | awk '
  /^The Import Tables/ { on = 1; next }
  /^The |^PE File / { on = 0 }
  on && /DLL Name:/ { dll = tolower($3); next }
  on && dll != "" && NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print dll, $3 }  # vma hint name')
printf '%s\n' "$table"
"$nm" "$exe" | sed -n 's/^[0-9a-f]* I __imp_\(.*\)$/\1/p' | sort -u | while read -r fn; do
  printf '%s\n' "$table" | grep -q " _\?$fn\$" && continue  # the C runtime's names also answer without "_"
  for def in "$delay"/*.def; do
    if grep -qx "$fn" "$def"; then
      echo "$(sed -n 's/^LIBRARY \(.*\)$/\1/p' "$def" | tr 'A-Z' 'a-z') $fn"
      break
    fi
  done
done
