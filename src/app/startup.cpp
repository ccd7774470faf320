#include "app/startup.h"

#include "app/cmd_context.h"
#include "app/dispatcher.h"
#include "app/ini.h"
#include "notes/notes_window.h"
#include "runtime/text.h"

namespace qz {

void SetUpLanguageFile(Services& svc) {
  std::string langFile = GETINI(svc.profile, kQzclSection, kLangFileEntry, "", "");
  bool replaced = false;
  if (IsBlank(langFile) || langFile.find("QZCLLang") == std::string::npos || !svc.files.Exists(Clip(langFile))) {
    langFile = std::string(".\\") + kLangFileName;
    replaced = true;
  }
  if (replaced && svc.files.Exists(langFile)) {
    // Store the full short path, so the entry stays valid from another working directory.
    langFile = svc.files.ShortPath(svc.files.CurrentDirectory());
    if (langFile.empty() || langFile.back() != '\\') langFile += '\\';
    langFile += kLangFileName;
    PUTINI(svc.profile, kQzclSection, kLangFileEntry, langFile, "");
  }
  if (svc.files.Exists(Clip(langFile))) {
    svc.langFile = Cut(Clip(langFile), 255);
    svc.translator.Init(svc.langFile, "", StringTranslator::kLoad);
  } else {
    svc.langFile.clear();
    PUTINI(svc.profile, kQzclSection, kLangFileEntry, "", "");
  }
}

void RunMain(Services& svc) {
  std::string first = Upper(LeftJustify(FirstParameter(ParameterText(svc.commandLine))));
  if (first == "EDIT" || first.empty()) SetUpLanguageFile(svc);
  if (!first.empty()) {
    CmdContext ctx(svc);
    if (!ctx.Init()) Dispatch(ctx);
    ctx.Kill();
  } else {
    WorkLog(svc);
  }
  if (!IsBlank(svc.langFile)) svc.translator.Kill();
}

}  // namespace qz
