#include "ide/reg.h"

#include "base/installation.h"
#include "ide/dde_channel.h"
#include "base/ini_file.h"
#include "text/text.h"

namespace qz {

namespace {
constexpr const char* kEnvironment = "Environment";
constexpr const char* kAutoPick = "AutoPick";
// The user's AutoPick while a registration has it switched off, beside the IDE's INI file: a registration that
// is killed leaves it, and the next run for that installation puts the value back.
constexpr const char* kAutoPickNote = "QZCL AutoPick.txt";
constexpr std::string_view kNotePrefix = "AutoPick=";

std::string NotePath(const Installation& ide) { return ide.root + "\\BIN\\" + kAutoPickNote; }

// The note goes once the user's value is back; the log shows it going as it showed it made.
void RemoveNote(Services& svc, const Installation& ide) {
  std::string note;
  if (svc.files.ReadAll(NotePath(ide), note) != FileError::None) return;
  svc.files.Remove(NotePath(ide));
  svc.Report().File(NotePath(ide), note, std::nullopt);
}

// Sets AutoPick in the IDE's INI file, changing nothing else in it; the value it had, or nothing when the file
// could not be changed. noteFirst writes that value to the note before the file is changed. Failures are not
// reported: registration goes on without it.
std::optional<std::string> SetAutoPick(Services& svc, const Installation& ide, std::string_view value, bool noteFirst) {
  std::string before;
  bool noted = true;
  const FileChange change = ChangeIniDocument(svc, ide.iniFile, [&](IniDocument& doc) {
    before = doc.Get(kEnvironment, kAutoPick).value_or("on");
    noted = !noteFirst ||
            ChangeFile(svc.Access(), NotePath(ide), WhenMissing::Create, [&](std::string_view, std::string& next) {
              next = std::string(kNotePrefix) + before + "\r\n";
              return FileError::None;
            }).Done();
    if (noted) doc.Set(kEnvironment, kAutoPick, value);
  });
  if (!change.Done() || !noted) return std::nullopt;
  return before;
}

// Puts back the value a killed registration noted, and removes the note; the registration lock is held.
void PutBackAutoPick(Services& svc, const Installation& ide) {
  std::string note;
  if (svc.files.ReadAll(NotePath(ide), note) != FileError::None || !note.starts_with(kNotePrefix)) return;
  const std::string value =
      Clip(std::string_view(note).substr(kNotePrefix.size(), note.find_first_of("\r\n") - kNotePrefix.size()));
  if (SetAutoPick(svc, ide, value, false)) RemoveNote(svc, ide);
}

}  // namespace

void RegisterTemplates(Services& svc, const CommandLine& line, PleaseWaitView& view) {
  std::string templateList;
  int n = line.TokenCount();
  const std::string last = line.Token(n);
  const std::string version = VersionCode(last);
  if (IsVersionCode(last)) --n;
  for (int i = 2; i <= n; ++i) {
    std::string file = line.Token(i);
    if (!file.empty() && svc.files.Exists(file)) {
      if (!templateList.empty()) templateList += ' ';
      templateList += '"' + file + '"';
    } else {
      svc.Error(svc.tr("QZCL Register Error"),
                svc.translator.TranslateMessage("Template file %1 does not exist.", file, "", "", ""),
                Icon::Information);
    }
  }
  const std::optional<Installation> ide = LocateInstallation(svc, version, line.Text());
  if (!ide) return;
  if (n < 2) svc.Quiet(Outcome::Usage, svc.tr("REG needs at least one template file."));
  if (IsBlank(templateList)) return;

  // One registration at a time for an installation, its wait for the IDE included: two would each save the
  // other's "off" as the user's AutoPick.
  std::unique_ptr<Locks::Held> registering;
  if (svc.locks.Acquire(LockKind::Registration, ide->root, kRegistrationWaitMs, registering) == LockWait::Busy) {
    svc.Quiet(Outcome::Busy, svc.tr("Another run of QZCL is registering templates with this IDE."));
    return;
  }
  PutBackAutoPick(svc, *ide);
  // AutoPick would open the IDE's pick dialog for every template it registers. The user's value is noted first,
  // so that a kill during the wait loses nothing; the file is read again to restore it, as the IDE may have
  // written it meanwhile.
  const std::optional<std::string> autoPick = SetAutoPick(svc, *ide, "off", true);
  SendTemplates(svc, view, IdeProgram(svc, *ide), templateList);
  if (autoPick && SetAutoPick(svc, *ide, *autoPick, false)) RemoveNote(svc, *ide);
}

void RecoverAutoPick(Services& svc, const Installation& ide) {
  // A dry run shows the command's own change; the repair waits for a run that writes.
  if (svc.DryRun() || !svc.files.Exists(NotePath(ide))) return;
  std::unique_ptr<Locks::Held> registering;
  // Held: a registration is running and will put the value back itself.
  if (svc.locks.Acquire(LockKind::Registration, ide.root, 0, registering) == LockWait::Held) PutBackAutoPick(svc, ide);
}

void SendTemplates(Services& svc, PleaseWaitView& view, const ProgramStart& ide, const std::string& templateList) {
  if (TranslatableWindow* window = view.Open(templateList)) svc.translator.TranslateWindow(*window);
  view.Display();
  DdeChannel dde(svc, ide);
  // The user is not told how it went; an unattended run says it in its log and its exit code.
  if (!dde.Connect())
    svc.Quiet(Outcome::Error, svc.tr("The IDE did not answer: the templates were not registered."));
  else if (dde.RegisterTemplateChain(templateList, 0) != kDdeOk)
    svc.Quiet(Outcome::Error, svc.tr("The IDE did not accept the templates."));
  dde.Close();
  view.Close();
}

}  // namespace qz
