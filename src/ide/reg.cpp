#include "ide/reg.h"

#include "base/installation.h"
#include "ide/dde_channel.h"
#include "base/ini_file.h"
#include "runtime/text.h"

namespace qz {

namespace {
constexpr std::size_t kTemplateListMax = 1023;  // held in 1024 bytes
constexpr std::size_t kAutoPickMax = 19;        // held in 20 bytes
constexpr const char* kEnvironment = "Environment";
constexpr const char* kAutoPick = "AutoPick";

// Sets AutoPick in the IDE's INI file, changing nothing else in it; the value it had, or nothing when the file
// could not be read or written. Failures are not reported: registration goes on without it.
std::optional<std::string> SetAutoPick(Services& svc, const std::string& ini, std::string_view value) {
  std::optional<IniDocument> doc = LoadIni(svc.files, ini);
  if (!doc) return std::nullopt;
  std::string before = Cut(doc->Get(kEnvironment, kAutoPick).value_or("on"), kAutoPickMax);
  doc->Set(kEnvironment, kAutoPick, value);
  if (SaveIni(svc.files, ini, *doc) != FileError::None) return std::nullopt;
  return before;
}

}  // namespace

void RegisterTemplates(Services& svc, const CommandLine& line, PleaseWaitView& view) {
  std::string templateList;
  int n = line.TokenCount();
  const std::string last = Cut(line.Token(n), 3);
  const std::string version = VersionCode(last);
  if (IsVersionCode(last)) --n;
  for (int i = 2; i <= n; ++i) {
    std::string file = line.Token(i);
    if (!file.empty() && svc.files.Exists(file)) {
      if (!templateList.empty()) templateList += ' ';
      templateList = Cut(templateList + '"' + file + '"', kTemplateListMax);
    } else {
      Box box;
      box.caption = svc.tr("QZCL Register Error");
      box.text = svc.translator.TranslateMessage("Template file %1 does not exist.", file, "", "", "");
      box.icon = Icon::Information;
      box.outcome = Outcome::Error;
      svc.Show(box);
    }
  }
  const std::optional<Installation> ide = LocateInstallation(svc, version, line.Text());
  if (!ide) return;
  if (n < 2) svc.Missing(svc.tr("REG needs at least one template file."));
  if (IsBlank(templateList)) return;

  // AutoPick would open the IDE's pick dialog for every template it registers. The file is read again to
  // restore it: the IDE may have written it meanwhile.
  const std::optional<std::string> autoPick = SetAutoPick(svc, ide->iniFile, "off");
  SendTemplates(svc, view, ide->exe, templateList);
  if (autoPick) SetAutoPick(svc, ide->iniFile, *autoPick);
}

void SendTemplates(Services& svc, PleaseWaitView& view, const std::string& exe, const std::string& templateList) {
  if (TranslatableWindow* window = view.Open(templateList)) svc.translator.TranslateWindow(*window);
  view.Display();
  DdeChannel dde(svc, exe);
  // The user is not told how it went; an unattended run says it in its exit code.
  if (!dde.Connect() || dde.RegisterTemplateChain(templateList, 0) != kDdeOk) svc.Fail();
  dde.Close();
  view.Close();
}

}  // namespace qz
