; An add-on's installer (NSIS 3) that prepares the IDE with QZCL: an item on the IDE's user menu, a folder in
; its redirection file and a folder it shares with the vendor's other add-ons, an #INCLUDE line in one of its
; templates and the add-on's folder on PATH. The uninstaller takes each of them out again, as far as this
; add-on added it: every QZCL run names the add-on as its owner (/OWNER=), so that an item the user had before,
; or one that another add-on still claims, stays. Build it with
;
;   makensis qzcl-example.nsi
;
; and these defines (makensis -DNAME=value) for the paths of the build machine:
;   QZCL_EXE      the qzcl.exe to ship (default: qzcl.exe beside this script)
;   ADDON         the add-on's name, of its files, folder and owner (default: MyTool)
;   MENU, APPREF  its item on the IDE's user menu (default: &Tools-My+Tool) and the item's AppRef (MYTOOL)
;   ADDON_DIR     the add-on's files: <ADDON>.exe, template\<ADDON>.tpl and template\<ADDON>.tpw (default: ADDON)
;   SHARED        the folder under the IDE's that the vendor's add-ons share (default: 3rdParty\template)
;   OUTFILE       the installer to write (default: <ADDON>-setup.exe)
;   ENV_VAR       the machine environment variable that gets the add-on's folder (default: PATH)
;   TARGET_AMD64  a 64-bit installer instead of NSIS's default, x86-unicode
;
; Vendors ship x86 installers, which run on every Windows. QZCL is a 64-bit program, so the installer checks
; for 64-bit Windows (${RunningX64}) before it runs QZCL.
;
; Each QZCL run is unattended (/UNATTENDED: no window, nothing waits for a click) and its exit code is
; checked: 0 the change is there, 1 it failed, 2 the command line was refused, 3 the IDE is running and must
; be closed first, 4 another QZCL run kept the file busy. Every message box names its answer for a silent run
; (MyTool-setup.exe /S, uninstall.exe /S), so that none waits: Cancel where QZCL offers a retry. A failed
; installation runs the uninstaller, which takes out only what this add-on's claims name: that is its rollback.

!ifdef TARGET_AMD64
  Target amd64-unicode
!else
  Target x86-unicode
!endif
!ifndef QZCL_EXE
  !define QZCL_EXE "qzcl.exe"
!endif
!ifndef ADDON
  !define ADDON "MyTool"
!endif
!ifndef MENU
  !define MENU "&Tools-My+Tool"
!endif
!ifndef APPREF
  !define APPREF "MYTOOL"
!endif
!ifndef ADDON_DIR
  !define ADDON_DIR "${ADDON}"
!endif
!ifndef SHARED
  !define SHARED "3rdParty\template"
!endif
!ifndef OUTFILE
  !define OUTFILE "${ADDON}-setup.exe"
!endif
!ifndef ENV_VAR
  !define ENV_VAR "PATH"
!endif
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${ADDON}"

!include LogicLib.nsh
!include x64.nsh

Name "${ADDON}"
OutFile "${OUTFILE}"
; Replaced in .onInit by a folder in the IDE's, unless /D= named another.
InstallDir "$PROGRAMFILES\${ADDON}"
; The machine's environment (ENV without /USER) and the IDE's folder need administrator rights.
RequestExecutionLevel admin

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Var IdeRoot

; Runs QZCL with the command in $R0 and returns once the change is there; $R1 says what the command does,
; for the messages. Otherwise it says why and ends the set-up: the installer first takes out what it added,
; through the uninstaller, since NSIS has no rollback of its own.
!macro QZCL_FUNCTIONS UN
Function ${UN}Qzcl
  retry:
  ClearErrors
  ExecWait '"$INSTDIR\qzcl.exe" /UNATTENDED /OWNER=${ADDON} $R0' $0
  IfErrors 0 started
    MessageBox MB_OK|MB_ICONSTOP "QZCL could not be started to $R1." /SD IDOK
    Goto failed
  started:
  ${If} $0 = 0
    Return
  ${ElseIf} $0 = 3
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "The IDE is running. Close it, then choose Retry to $R1." \
      /SD IDCANCEL IDRETRY retry
  ${ElseIf} $0 = 4
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Another program is changing the IDE's files. Choose Retry to $R1." \
      /SD IDCANCEL IDRETRY retry
  ${Else}
    MessageBox MB_OK|MB_ICONSTOP "QZCL could not $R1 (exit code $0)." /SD IDOK
  ${EndIf}
  failed:
  !ifndef __UNINSTALL__
    SetOutPath "$TEMP"  ; a folder that is the current one of a process cannot be removed
    ExecWait '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
  !endif
  SetErrorLevel 2
  Abort
FunctionEnd

; Sets $IdeRoot to the value of the Root= line in $1, the output of QZCL's WHERE.
Function ${UN}RootOf
  StrCpy $IdeRoot ""
  StrCpy $2 0
  find:
    StrCpy $3 $1 5 $2
    StrCmp $3 "" done
    StrCmp $3 "Root=" found
    IntOp $2 $2 + 1
    Goto find
  found:
    IntOp $2 $2 + 5
  copy:
    StrCpy $3 $1 1 $2
    StrCmp $3 "" done
    StrCmp $3 "$\r" done
    StrCmp $3 "$\n" done
    StrCpy $IdeRoot "$IdeRoot$3"
    IntOp $2 $2 + 1
    Goto copy
  done:
FunctionEnd
!macroend
!insertmacro QZCL_FUNCTIONS ""
!insertmacro QZCL_FUNCTIONS "un."

!macro QZCL COMMAND WHAT
  StrCpy $R0 `${COMMAND}`
  StrCpy $R1 `${WHAT}`
  !ifdef __UNINSTALL__
    Call un.Qzcl
  !else
    Call Qzcl
  !endif
!macroend

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "${ADDON} needs 64-bit Windows." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  ; WHERE tells where the IDE is, as every other QZCL command finds it.
  InitPluginsDir
  File "/oname=$PLUGINSDIR\qzcl.exe" "${QZCL_EXE}"
  nsExec::ExecToStack '"$PLUGINSDIR\qzcl.exe" /UNATTENDED WHERE 6'
  Pop $0
  Pop $1
  ${If} $0 != 0
    MessageBox MB_OK|MB_ICONSTOP "The IDE (version 6) is not installed on this computer.$\r$\n$\r$\n$1" /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  Call RootOf
  ${If} $INSTDIR == "$PROGRAMFILES\${ADDON}"
    StrCpy $INSTDIR "$IdeRoot\${ADDON}"
  ${EndIf}
  ; QZCL sees a running IDE over DDE, which Windows does not pass between an elevated installer and the
  ; IDE: the user is asked to close it here, before anything changes.
  MessageBox MB_OKCANCEL|MB_ICONINFORMATION "Please close the IDE before you go on." /SD IDOK IDOK closed
    SetErrorLevel 1
    Abort
  closed:
FunctionEnd

Section "${ADDON}"
  SetOutPath "$INSTDIR"
  File "${QZCL_EXE}"
  File "${ADDON_DIR}\${ADDON}.exe"
  SetOutPath "$INSTDIR\template"
  File "${ADDON_DIR}\template\${ADDON}.tpl"
  File "${ADDON_DIR}\template\${ADDON}.tpw"
  ; Written before QZCL runs: it takes out whatever was added when a later step fails.
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${ADDON}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'

  ; First the one command that needs the IDE closed, so that a retry comes before anything has changed.
  ; "&Tools-My+Tool" is the menu path "&Tools/My Tool": "-" stands for "/" and "+" for a blank.
  !insertmacro QZCL `USERMENU ${APPREF} ${MENU} "$INSTDIR\${ADDON}.exe"` "add ${ADDON} to the IDE's user menu"
  ; The shared folder: the last of the vendor's add-ons to be uninstalled takes it out.
  !insertmacro QZCL `RED Common *.tpl "$IdeRoot\${SHARED}"` "add the shared folder to the redirection file"
  !insertmacro QZCL `RED Common *.tpl "$INSTDIR\template"` "add the template folder to the redirection file"
  !insertmacro QZCL `RED Common *.tpw "$INSTDIR\template"` "add the template folder to the redirection file"
  !insertmacro QZCL `INCLUDE "$IdeRoot\template\ABCHAIN.TPL" ${ADDON}.tpw` "include ${ADDON}'s template"
  !insertmacro QZCL `ENV ${ENV_VAR} "$INSTDIR"` "add the add-on's folder to ${ENV_VAR}"
  ; REG (registering the add-on's template with the IDE) is left out: it starts the IDE, and DDE does not pass between
  ; this elevated installer and the IDE. Run it from a step that runs as the user, or register by hand.
SectionEnd

Section "Uninstall"
  !insertmacro QZCL `UNMENU ${APPREF}` "take ${ADDON} out of the IDE's user menu"
  !insertmacro QZCL `UNRED Common *.tpl "$INSTDIR\template"` "take the template folder out of the redirection file"
  !insertmacro QZCL `UNRED Common *.tpw "$INSTDIR\template"` "take the template folder out of the redirection file"
  ; With the IDE uninstalled first, WHERE finds nothing, and nor would UNINCLUDE.
  nsExec::ExecToStack '"$INSTDIR\qzcl.exe" /UNATTENDED WHERE 6'
  Pop $0
  Pop $1
  ${If} $0 == 0
    Call un.RootOf
    !insertmacro QZCL `UNINCLUDE "$IdeRoot\template\ABCHAIN.TPL" ${ADDON}.tpw` "take out ${ADDON}'s #INCLUDE line"
    !insertmacro QZCL `UNRED Common *.tpl "$IdeRoot\${SHARED}"` "take the shared folder out of the redirection file"
  ${EndIf}
  !insertmacro QZCL `UNENV ${ENV_VAR} "$INSTDIR"` "take the add-on's folder out of ${ENV_VAR}"

  Delete "$INSTDIR\template\${ADDON}.tpl"
  Delete "$INSTDIR\template\${ADDON}.tpw"
  RMDir "$INSTDIR\template"
  Delete "$INSTDIR\${ADDON}.exe"
  Delete "$INSTDIR\qzcl.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
