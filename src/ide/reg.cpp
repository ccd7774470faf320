#include "ide/reg.h"

#include "base/installation.h"
#include "ide/dde_channel.h"
#include "base/ini_file.h"
#include "runtime/text.h"

namespace qz {

namespace {
constexpr const char* kEnvironment = "Environment";
constexpr const char* kAutoPick = "AutoPick";

// Sets AutoPick in the IDE's INI file, changing nothing else in it; the value it had, or nothing when the file
// could not be changed. Failures are not reported: registration goes on without it.
std::optional<std::string> SetAutoPick(Services& svc, const std::string& ini, std::string_view value) {
  std::string before;
  const FileChange change = ChangeIniDocument(svc, ini, [&](IniDocument& doc) {
    before = doc.Get(kEnvironment, kAutoPick).value_or("on");
    doc.Set(kEnvironment, kAutoPick, value);
  });
  if (!change.Done()) return std::nullopt;
  return before;
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

  // AutoPick would open the IDE's pick dialog for every template it registers. The file is read again to
  // restore it: the IDE may have written it meanwhile.
  const std::optional<std::string> autoPick = SetAutoPick(svc, ide->iniFile, "off");
  SendTemplates(svc, view, IdeProgram(svc, *ide), templateList);
  if (autoPick) SetAutoPick(svc, ide->iniFile, *autoPick);
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
