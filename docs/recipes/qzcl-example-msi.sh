#!/usr/bin/env bash
# Builds the MSI package of qzcl-example.wxs with Debian's wixl (packages wixl and msitools), then adds with
# msibuild what wixl cannot express: the search of WIN.INI for the IDE's folder, and the rollback actions.
#   qzcl-example-msi.sh <package.msi> [wixl options: -D QzclExe=... -D AddOnDir=... -D EnvVar=... -a x64]
set -eu
msi=$1
shift
wixl -D Wixl=1 "$@" -o "$msi" "$(dirname "$0")/qzcl-example.wxs"

# The IDE's folder from WIN.INI into IDEROOT, as the WiX toolset builds IniFileSearch (type 0: a folder,
# found only when it exists).
set -- -q 'CREATE TABLE `IniLocator` (`Signature_` CHAR(72) NOT NULL, `FileName` CHAR(255) NOT NULL,
             `Section` CHAR(96) NOT NULL, `Key` CHAR(128) NOT NULL, `Field` SHORT, `Type` SHORT
             PRIMARY KEY `Signature_`)' \
       -q "INSERT INTO \`IniLocator\` (\`Signature_\`, \`FileName\`, \`Section\`, \`Key\`, \`Field\`, \`Type\`)
             VALUES ('IdeRoot', 'win.ini', 'Clarion 6.0  Enterprise Edition', 'Root', 0, 0)" \
       -q "INSERT INTO \`AppSearch\` (\`Property\`, \`Signature_\`) VALUES ('IDEROOT', 'IdeRoot')"

# Just before each AddX action, UndoX runs RemoveX's command should the installation fail and roll back:
# the type gains "rollback" (0x100) and "go on when it fails" (0x40).
tab=$(printf '\t')
table() { msiinfo export "$msi" "$1" | tr -d '\r'; }
actions=$(table CustomAction)
while IFS=$tab read -r action condition sequence; do
  case $action in Add*) ;; *) continue ;; esac
  thing=${action#Add}
  while IFS=$tab read -r name type source target _; do
    [ "$name" = "Remove$thing" ] || continue
    set -- "$@" -q "INSERT INTO \`CustomAction\` (\`Action\`, \`Type\`, \`Source\`, \`Target\`)
                      VALUES ('Undo$thing', $((type | 0x140)), '$source', '$target')" \
                -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Condition\`, \`Sequence\`)
                      VALUES ('Undo$thing', '$condition', $((sequence - 1)))"
  done <<<"$actions"
done <<<"$(table InstallExecuteSequence)"
msibuild "$msi" "$@"
