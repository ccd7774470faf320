#!/usr/bin/env bash
# The installer recipes of the release, built as a vendor builds them and run silently under Wine against a demo
# installation of the IDE: the installer makes each change byte for byte, and the uninstaller gives back every
# byte of the IDE's files and the environment variable. Two NSIS add-ons share a folder, which goes with the last
# one uninstalled; a failed NSIS installation takes out what it added.
#   recipes_test.sh <release folder: qzcl.exe and recipes/>
set -u
stage=$1 here=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/wine-test} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$here/scripts/wine-prefix" "$WINEPREFIX" >/dev/null || exit 1
name=qzcl-recipes-$$ win=$WINEPREFIX/drive_c/windows/win.ini
work=$WINEPREFIX/drive_c/$name root=$WINEPREFIX/drive_c/$name/Clarion6 build=$WINEPREFIX/drive_c/$name/build
msidir="$WINEPREFIX/drive_c/Program Files (x86)/MyTool" var=QZCL_RECIPE_PATH
envkey='HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
uninstkey='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\MyTool'
msi_installed=0
cleanup() {
  [ $msi_installed -eq 0 ] || (cd "$build" && wine msiexec /x MyTool.msi /qn >/dev/null 2>&1)
  wine reg delete "$envkey" /v $var /f >/dev/null 2>&1
  wine reg delete "$uninstkey" /f >/dev/null 2>&1
  mv "$work.win.ini" "$win"
  rm -rf "$work" "$msidir"
}
mkdir -p "$build/MyTool/template" && cp "$win" "$work.win.ini"
trap cleanup EXIT
failed=0
fail() {
  echo "FAIL: $*"
  failed=1
}
crlf() { printf '%s\r\n' "$@"; }

# The IDE's files before an installation, or after one that put the add-on <name> (MyTool, the default, or
# OtherTool) in <folder> (Windows path) with <command line> on the user menu; the environment variable with
# <item> added. $shared is the shared folder's item of the *.tpl entry, with its ";".
#   ide <dir> [folder cmd item [name]]
shared=''
ide() {
  local d=$1 dir=${2-} tpl='' menu=('2=&Tools/Notepad|NOTEPAD') app=() inc=() name=${5:-MyTool}
  [ -z "$dir" ] || { tpl=";$dir\\template" app=("${name^^}=$3") inc=("#INCLUDE('$name.tpw')")
                     menu=('2=&Tools/My Tool|MYTOOL' '3=&Tools/Notepad|NOTEPAD')
                     # OtherTool comes after MyTool, whose line then ended the template: a blank line first
                     [ "$name" = MyTool ] || menu=('2=&Tools/Notepad|NOTEPAD' '3=&Tools/Other Tool|OTHERTOOL') \
                       inc=('' "#INCLUDE('$name.tpw')"); }
  mkdir -p "$d/BIN" "$d/template"
  crlf '[Paths]' 'Libsrc=C:\CLARION6\LIBSRC' '' '; the IDE keeps its menus here' '[User Menus]' \
    '1=&Tools/Calculator|CALC' "${menu[@]}" '' '[User Applications]' 'CALC=calc.exe' 'NOTEPAD=notepad.exe' \
    "${app[@]}" >"$d/BIN/C60EE.ini"
  crlf '[Common]' "*.tpl = %ROOT%\\template${dir:+$shared}$tpl" "*.tpw = %ROOT%\\template$tpl" '' '[Debug]' \
    '*.obj = obj\debug' \
    >"$d/BIN/C60EE.RED"
  # Ends with an empty line: INCLUDE would otherwise put one before its own, which UNINCLUDE leaves.
  crlf "#TEMPLATE(ABChain,'Application Builder Class Templates'),FAMILY('ABC')" "#INCLUDE('ABCODE.TPW')" '' \
    "${inc[@]}" >"$d/template/ABCHAIN.TPL"
  printf '    %s    REG_EXPAND_SZ    %s\n' $var "C:\\Existing;D:\\Other Tools${4:+;$4}" >"$d/environment"
}
# Compares the IDE's files and the variable with what <dir> expects.   check <what> <dir>
check() {
  mkdir -p "$work/now/BIN" "$work/now/template"
  cp "$root/BIN/C60EE.ini" "$root/BIN/C60EE.RED" "$work/now/BIN/"
  cp "$root/template/ABCHAIN.TPL" "$work/now/template/"
  wine reg query "$envkey" /v $var 2>&1 | tr -d '\r' | grep -F "$var" >"$work/now/environment"
  diff -r "$2" "$work/now" >"$work/diff" || fail "$1: $(cat "$work/diff")"
  rm -rf "$work/now"
}

# The demo installation, the variable, and the add-on's files.
printf '\r\n[Clarion 6.0  Enterprise Edition]\r\nRoot=C:\\%s\\Clarion6\\\r\nExeName=C60EE\r\n' "$name" >>"$win"
ide "$root" && rm "$root/environment"
wine reg add "$envkey" /v $var /t REG_EXPAND_SZ /d 'C:\Existing;D:\Other Tools' /f >/dev/null 2>&1
ide "$work/before"
for tool in MyTool OtherTool; do
  mkdir -p "$build/$tool/template"
  crlf 'MZ' >"$build/$tool/$tool.exe"
  crlf "#TEMPLATE($tool,'$tool'),FAMILY('ABC')" >"$build/$tool/template/$tool.tpl"
  crlf "#GROUP(%$tool)" >"$build/$tool/template/$tool.tpw"
done
cp "$stage/qzcl.exe" "$build/"

# NSIS: the vendors' x86 installer builds; the amd64 one runs here, where no 32-bit program can.
nsis() { makensis -V1 -DQZCL_EXE="$build/qzcl.exe" -DENV_VAR=$var "$@" "$stage/recipes/qzcl-example.nsi"; }
nsis -DADDON_DIR="$build/MyTool" -DOUTFILE="$build/MyTool-x86-setup.exe" || fail "the x86 installer does not build"
nsis -DADDON_DIR="$build/MyTool" -DOUTFILE="$build/MyTool-setup.exe" -DTARGET_AMD64 ||
  fail "the amd64 installer does not build"
nsis -DADDON=OtherTool -DMENU='&Tools-Other+Tool' -DAPPREF=OTHERTOOL -DADDON_DIR="$build/OtherTool" \
  -DOUTFILE="$build/OtherTool-setup.exe" -DTARGET_AMD64 || fail "the second add-on's installer does not build"
inst="C:\\$name\\Clarion6\\MyTool" other="C:\\$name\\Clarion6\\OtherTool"
shared=";C:\\$name\\Clarion6\\3rdParty\\template"
wine "$build/MyTool-setup.exe" /S || fail "the NSIS installer ended with $?"
ide "$work/nsis" "$inst" "$inst\\MyTool.exe" "$inst"
check "after the NSIS installer" "$work/nsis"
[ -f "$root/MyTool/MyTool.exe" ] || fail "the NSIS installer did not put MyTool.exe in $inst"
# The second add-on shares the folder; uninstalled first, the first add-on leaves it to the second.
wine "$build/OtherTool-setup.exe" /S || fail "the second add-on's installer ended with $?"
wine "$inst\\uninstall.exe" /S "_?=$inst" || fail "the NSIS uninstaller ended with $?"
ide "$work/other" "$other" "$other\\OtherTool.exe" "$other" OtherTool
check "after the second add-on's installer and the first one's uninstaller" "$work/other"
wine "$other\\uninstall.exe" /S "_?=$other" || fail "the second add-on's uninstaller ended with $?"
check "after both NSIS uninstallers" "$work/before"
for tool in MyTool OtherTool; do
  [ "$(ls "$root/$tool")" = uninstall.exe ] || fail "the $tool uninstaller left: $(ls -R "$root/$tool")"
  rm -rf "${root:?}/$tool"
done
[ ! -e "$root/BIN/QZCL.owners" ] || fail "the last uninstaller left the owners file: $(cat "$root/BIN/QZCL.owners")"
wine reg query "$uninstkey" >/dev/null 2>&1 && fail "the NSIS uninstaller left its uninstall key"
# INCLUDE fails on a missing template: the installer takes out what it had added, and its files.
mv "$root/template/ABCHAIN.TPL" "$work/ABCHAIN.TPL"
wine "$build/MyTool-setup.exe" /S 2>/dev/null
rc=$?
mv "$work/ABCHAIN.TPL" "$root/template/ABCHAIN.TPL"
[ $rc -eq 2 ] || fail "a failed NSIS installation ended with $rc"
check "after a failed NSIS installation" "$work/before"
[ ! -e "$root/MyTool" ] || fail "a failed NSIS installation left: $(ls -R "$root/MyTool")"

shared=''
# MSI, built by wixl and msibuild; the x86 package installs into C:\Program Files (x86)\MyTool.
(cd "$build" && "$stage/recipes/qzcl-example-msi.sh" MyTool.msi -D EnvVar=$var) || fail "the MSI package does not build"
# Windows runs the rollback actions before it takes the files away again; Wine takes them away first, so that
# qzcl.exe is gone. Here the package is only checked: an UndoX just before each AddX.
order=$(msiinfo export "$build/MyTool.msi" InstallExecuteSequence | tr -d '\r' | grep -E '^(Add|Undo)' |
  sort -t$'\t' -k3n | cut -f1 | paste -sd' ')
[ "$order" = "UndoMenu AddMenu UndoTplFolder AddTplFolder UndoTpwFolder AddTpwFolder UndoInclude AddInclude \
UndoPath AddPath" ] || fail "the MSI package's changes and rollback actions are: $order"
msi="C:\\Program Files (x86)\\MyTool\\"
(cd "$build" && wine msiexec /i MyTool.msi /qn) && msi_installed=1 || fail "msiexec /i ended with $?"
ide "$work/msi" "${msi%\\}" "\"${msi}MyTool.exe\"" "$msi"
check "after the MSI installation" "$work/msi"
(cd "$build" && wine msiexec /x MyTool.msi /qn) && msi_installed=0 || fail "msiexec /x ended with $?"
check "after the MSI removal" "$work/before"
[ ! -e "$msidir" ] || fail "the MSI removal left: $(ls -R "$msidir")"
[ $failed -eq 0 ] && echo "NSIS and MSI recipes: installed, removed and a failed installation undone, byte for byte"
exit $failed
