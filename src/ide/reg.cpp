#include "ide/reg.h"

#include "app/ini.h"
#include "runtime/text.h"

namespace qz {

namespace {
constexpr std::size_t kTemplateListMax = 1023;  // CSTRING(1024)
constexpr const char* kEnvironment = "Environment";
constexpr const char* kAutoPick = "AutoPick";
}  // namespace

void RegisterTemplates(CmdContext& ctx) {
  Services& svc = ctx.svc;
  std::string templateList;
  long n = ctx.TOKENS;
  if (ctx.SetVersion(Cut(ctx.GetToken(static_cast<std::uint8_t>(n)), 3))) --n;
  for (long i = 2; i <= n; ++i) {
    std::string file = ctx.GetToken(static_cast<std::uint8_t>(i));
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
  if (ctx.LocateInstallation()) return;
  if (IsBlank(templateList)) return;

  // AutoPick would open the IDE's pick dialog for every template it registers.
  ctx.SAVAUTOPIC = Cut(GETINI(svc.profile, kEnvironment, kAutoPick, "on", ctx.CWINIFILE), 19);
  PUTINI(svc.profile, kEnvironment, kAutoPick, "off", ctx.CWINIFILE);
  DdeWindow(svc, ctx.CWEXE, templateList);
  PUTINI(svc.profile, kEnvironment, kAutoPick, ctx.SAVAUTOPIC, ctx.CWINIFILE);
}

void DdeWindow(Services& svc, const std::string& exe, const std::string& templateList) {
  std::unique_ptr<PleaseWaitView> view = svc.views.PleaseWait();
  if (TranslatableWindow* window = view->Open(templateList)) svc.translator.TranslateWindow(*window);
  view->Display();
  DdeChannel& dde = svc.dde;
  dde.Init(exe);
  // The user is not told how it went; an unattended run says it in its exit code.
  if (!dde.Connect() || dde.RegisterTemplateChain(templateList, 0) != kDdeOk) svc.Fail();
  dde.Kill();
  view->Close();
}

}  // namespace qz
