#include "app/program.h"

#include "app/dispatcher.h"
#include "notes/notes_window.h"
#include "runtime/text.h"

namespace qz {

void Program::SetUpLanguageFile() {
  Services& svc = services_;
  // Whole: a cut path would name another file.
  std::string langFile = svc.profile.Read("", kQzclSection, kLangFileEntry, "");
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
    WriteIni(svc.profile, "", kQzclSection, kLangFileEntry, langFile);
  }
  if (svc.files.Exists(Clip(langFile))) {
    svc.langFile = Clip(langFile);
    translator_.Init(svc.langFile, StringTranslator::kLoad);
  } else {
    svc.langFile.clear();
    WriteIni(svc.profile, "", kQzclSection, kLangFileEntry, "");
  }
}

void Program::RunCommand(const CommandLine& line) { Dispatch(services_, line, views_); }

int Program::Run(std::u16string_view commandLine) {
  const std::u16string_view parameters = ParameterText(commandLine);
  const std::string ansi = services_.codec.WideToAnsi(parameters);
  // The program's own name is left out of the check: it may stand in any folder.
  if (services_.codec.AnsiToWide(ansi) == parameters) return Run("qzcl " + ansi);
  services_.Refused(
      services_.tr("Incorrect Command Line"),
      services_.tr("The command line holds characters that Windows cannot pass on in its ANSI code page:") + "|  " +
          ansi + "||" + services_.tr("Nothing was changed."));
  return services_.ExitCode();
}

int Program::Run(std::string_view commandLine) {
  const CommandLine line(commandLine);
  if (line.Word() == "EDIT" || line.Word().empty()) SetUpLanguageFile();
  if (!line.Word().empty()) {
    RunCommand(line);
  } else {
    WorkLog(services_, views_.Notes().get());
  }
  if (!IsBlank(services_.langFile)) translator_.Kill();
  return services_.ExitCode();
}

}  // namespace qz
