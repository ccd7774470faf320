; An add-on's installer (Inno Setup 6) that prepares the IDE with QZCL: an item on the IDE's user menu, a folder
; in its redirection file, an #INCLUDE line in one of its templates and the add-on's folder on PATH. The
; uninstaller takes each of them out again.
;
; Not built or run by QZCL's tests, which run on Linux, where Inno Setup does not: unlike the NSIS and MSI
; recipes beside it, this one has never run. It does the same steps as the NSIS recipe.
;
; Each QZCL run is unattended (/UNATTENDED: no window, nothing waits for a click) and started from [Code] with
; Exec, which returns the exit code ([Run] entries cannot stop Setup): 0 the change is there, 1 it failed, 2
; the command line was refused, 3 the IDE is running and must be closed first, 4 another QZCL run kept the
; file busy. Run silently as MyTool-setup.exe /VERYSILENT /SUPPRESSMSGBOXES, so that no message box waits:
; each is answered with its default, Cancel where QZCL offers a retry. Each run names the add-on as the owner
; of what it adds (/OWNER=MyTool), so that the uninstaller takes out only what this installer added: an item
; the user had before, or one another add-on still claims, stays.

#define QzclExe "qzcl.exe"
#define AddOnDir "MyTool"
#define EnvVar "PATH"

[Setup]
AppId=MyTool
AppName=My Tool
AppVersion=1.0
DefaultDirName={code:IdeFolder}\MyTool
DisableProgramGroupPage=yes
OutputBaseFilename=MyTool-setup
; Vendors ship 32-bit installers; QZCL is a 64-bit program, so Setup runs only on 64-bit Windows
; (x64compatible needs Inno Setup 6.3; write x64 for older versions).
ArchitecturesAllowed=x64compatible
; The machine's environment (ENV without /USER) and the IDE's folder need administrator rights.
PrivilegesRequired=admin

[Files]
Source: "{#AddOnDir}\MyTool.exe"; DestDir: "{app}"
Source: "{#AddOnDir}\template\MyTool.tpl"; DestDir: "{app}\template"
Source: "{#AddOnDir}\template\MyTool.tpw"; DestDir: "{app}\template"
; Last, so that the add-on's files are there when QZCL names them in the IDE's.
Source: "{#QzclExe}"; DestDir: "{app}"; AfterInstall: AddToIde

; REG (registering MyTool.tpl with the IDE) starts the IDE, and DDE does not pass between an elevated
; installer and the IDE. Offer it on the last page, run as the user:
; [Run]
; Filename: "{app}\qzcl.exe"; Parameters: "/UNATTENDED REG ""{app}\template\MyTool.tpl"""; \
;   Description: "Register My Tool's template with the IDE"; Flags: postinstall runasoriginaluser unchecked

[Code]
var
  IdeRoot: String;

{ The folder of the IDE of version 6 as QZCL's WHERE prints it (its Root= line), or '' when it is not installed. }
function WhereIsIde(const Qzcl: String): String;
var
  Output: String;
  Lines: TArrayOfString;
  ResultCode, I: Integer;
begin
  Result := '';
  Output := ExpandConstant('{tmp}\qzcl-where.txt');
  { Exec cannot read a program's output, so cmd writes it to a file. }
  if Exec(ExpandConstant('{cmd}'), '/C ""' + Qzcl + '" /UNATTENDED WHERE 6 > "' + Output + '""', '',
          SW_HIDE, ewWaitUntilTerminated, ResultCode) and (ResultCode = 0) and
     LoadStringsFromFile(Output, Lines) then
    for I := 0 to GetArrayLength(Lines) - 1 do
      if Copy(Lines[I], 1, 5) = 'Root=' then
        Result := Copy(Lines[I], 6, Length(Lines[I]));
end;

function InitializeSetup: Boolean;
begin
  ExtractTemporaryFile('qzcl.exe');
  IdeRoot := WhereIsIde(ExpandConstant('{tmp}\qzcl.exe'));
  Result := IdeRoot <> '';
  if not Result then
    SuppressibleMsgBox('The IDE (version 6) is not installed on this computer.', mbCriticalError, MB_OK, IDOK)
  else
    { QZCL sees a running IDE over DDE, which Windows does not pass between an elevated installer and the
      IDE: the user is asked to close it here, before anything changes. }
    Result := SuppressibleMsgBox('Please close the IDE before you go on.', mbInformation, MB_OKCANCEL, IDOK) = IDOK;
end;

function IdeFolder(Param: String): String;
begin
  Result := IdeRoot;
end;

{ Runs QZCL with Params and tells whether the change is there; What says what the command does, for the
  messages. }
function Qzcl(const Params, What: String): Boolean;
var
  ResultCode: Integer;
begin
  Result := False;
  while True do
  begin
    if not Exec(ExpandConstant('{app}\qzcl.exe'), '/UNATTENDED /OWNER=MyTool ' + Params, '', SW_HIDE, ewWaitUntilTerminated,
                ResultCode) then
    begin
      SuppressibleMsgBox('QZCL could not be started to ' + What + ': ' + SysErrorMessage(ResultCode),
                         mbCriticalError, MB_OK, IDOK);
      Exit;
    end;
    case ResultCode of
      0:
        begin
          Result := True;
          Exit;
        end;
      3:
        if SuppressibleMsgBox('The IDE is running. Close it, then choose Retry to ' + What + '.', mbError,
                              MB_RETRYCANCEL, IDCANCEL) <> IDRETRY then
          Exit;
      4:
        if SuppressibleMsgBox('Another program is changing the IDE''s files. Choose Retry to ' + What + '.',
                              mbError, MB_RETRYCANCEL, IDCANCEL) <> IDRETRY then
          Exit;
    else
      begin
        SuppressibleMsgBox('QZCL could not ' + What + ' (exit code ' + IntToStr(ResultCode) + ').',
                           mbCriticalError, MB_OK, IDOK);
        Exit;
      end;
    end;
  end;
end;

var
  Failed: Boolean;

{ One step of a series: none runs once one has failed. }
procedure Step(const Params, What: String);
begin
  if not Failed then
    Failed := not Qzcl(Params, What);
end;

{ The removals, in the uninstaller's order; with the IDE uninstalled first, there is no template for UNINCLUDE.
  Quiet: for a failed installation, whose removals find nothing for the changes it did not make; their exit
  codes are not looked at. }
procedure RemoveFromIde(Quiet: Boolean);
var
  Commands: TArrayOfString;
  ResultCode, I: Integer;
  App: String;
begin
  App := ExpandConstant('{app}');
  IdeRoot := WhereIsIde(App + '\qzcl.exe');
  SetArrayLength(Commands, 5);
  Commands[0] := 'UNMENU MYTOOL';
  Commands[1] := 'UNRED Common *.tpl "' + App + '\template"';
  Commands[2] := 'UNRED Common *.tpw "' + App + '\template"';
  Commands[3] := 'UNENV {#EnvVar} "' + App + '"';
  if IdeRoot <> '' then
    Commands[4] := 'UNINCLUDE "' + IdeRoot + '\template\ABCHAIN.TPL" MyTool.tpw';
  for I := 0 to 4 do
    if Commands[I] <> '' then
      if Quiet then
        Exec(App + '\qzcl.exe', '/UNATTENDED /OWNER=MyTool ' + Commands[I], '', SW_HIDE, ewWaitUntilTerminated, ResultCode)
      else
        Step(Commands[I], 'take My Tool out of the IDE (' + Commands[I] + ')');
end;

procedure AddToIde;
var
  App: String;
begin
  App := ExpandConstant('{app}');
  Failed := False;
  { First the one command that needs the IDE closed, so that a retry comes before anything has changed.
    "&Tools-My+Tool" is the menu path "&Tools/My Tool": "-" stands for "/" and "+" for a blank. }
  Step('USERMENU MYTOOL &Tools-My+Tool "' + App + '\MyTool.exe"', 'add My Tool to the IDE''s user menu');
  Step('RED Common *.tpl "' + App + '\template"', 'add the template folder to the redirection file');
  Step('RED Common *.tpw "' + App + '\template"', 'add the template folder to the redirection file');
  Step('INCLUDE "' + IdeRoot + '\template\ABCHAIN.TPL" MyTool.tpw', 'include My Tool''s template');
  Step('ENV {#EnvVar} "' + App + '"', 'add the add-on''s folder to {#EnvVar}');
  if Failed then
  begin
    { Setup undoes its own files when an exception stops it; QZCL's changes are taken out here. }
    RemoveFromIde(True);
    RaiseException('My Tool could not be added to the IDE.');
  end;
end;

procedure CurUninstallStepChanged(CurUninstallStep: TUninstallStep);
begin
  if CurUninstallStep = usUninstall then
  begin
    Failed := False;
    RemoveFromIde(False);
    if Failed then
      Abort;
  end;
end;
