#!/usr/bin/env bash
# The release as a user gets it: its checksum holds, the zip unpacks to the files a release promises, and
# the program in it runs `qzcl CMD` unattended under Wine and tells its version on standard output.
#   zip_test.sh <release folder> <release name> <version>
set -u
here=$(cd "$(dirname "$0")/../.." && pwd)
dir=$1 name=$2 version=$3
fail() {
  echo "FAIL: $*"
  exit 1
}
(cd "$dir" && sha256sum --check --strict SHA256SUMS) || fail "the zip does not match SHA256SUMS"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
unzip -q "$dir/$name.zip" -d "$tmp" || fail "the zip does not unpack"
expected="./$name/QZCLLang-template.str
./$name/licences/SQLite.md
./$name/licences/gcc-runtime.txt
./$name/licences/mingw-w64-runtime.txt
./$name/qzcl.exe
./$name/qzcl.html
./$name/recipes/qzcl-example-msi.sh
./$name/recipes/qzcl-example.iss
./$name/recipes/qzcl-example.nsi
./$name/recipes/qzcl-example.wxs
./$name/translation-file.md"
files=$(cd "$tmp" && find . -type f | LC_ALL=C sort)
[ "$files" = "$expected" ] || fail "the zip holds:
$files"
exe=$tmp/$name/qzcl.exe
x86_64-w64-mingw32-objdump -h "$exe" | grep -q '\.debug' && fail "qzcl.exe is not stripped"
[ -z "$(x86_64-w64-mingw32-nm "$exe" 2>/dev/null)" ] || fail "qzcl.exe still has a symbol table"
# The version resource holds its strings in UTF-16.
strings -e l "$exe" | grep -qx "$version" || fail "the version resource does not say $version"
out=$(cd "$tmp/$name" && QZCL_UNATTENDED=1 "$here/scripts/wine-run" qzcl.exe CMD 2>&1 </dev/null | tr -d '\r')
rc=${PIPESTATUS[0]}
[ "$rc" -eq 0 ] || fail "qzcl.exe CMD ended with $rc: $out"
grep -qx "=== QZCL Utility ===" <<<"$out" || fail "no command summary: $out"
grep -q "^ *WHERE \[Version\]" <<<"$out" || fail "the summary is cut short: $out"
# What an installer reads: the version on standard output when it is redirected, not in a box.
printed=$(cd "$tmp/$name" && "$here/scripts/wine-run" qzcl.exe /VERSION 2>/dev/null </dev/null | tr -d '\r')
[ "$printed" = "QZCL $version" ] || fail "qzcl.exe /VERSION printed: $printed"
echo "$name.zip: $(wc -c <"$dir/$name.zip") bytes, qzcl.exe $(wc -c <"$exe") bytes; qzcl.exe CMD ran"
