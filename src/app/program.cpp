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

// Switches stand before the command word and each command takes only its own: a refused one changes nothing.
bool Program::RefusesSwitches(const CommandLine& line) {
  const Switches& options = line.Options();
  const std::string name = Upper(options.refused.substr(0, options.refused.find('=')));
  std::string why;
  if (!options.refused.empty()) {
    // Reserved for the dry run, the log and the owners of what an installer adds.
    why = (name == "/WHATIF" || name == "/LOG" || name == "/OWNER" ? services_.tr("This switch is not available yet:")
                                                                   : services_.tr("This switch is not known:")) +
          " " + options.refused;
  } else if (options.version && (!line.Word().empty() || options.user)) {
    why = services_.tr("/VERSION stands alone.");
  } else if (line.Word().empty() && options.Any() && !options.version) {
    why = services_.tr("A command word must follow the switches.");
  } else if (options.user && !TakesUserSwitch(line.Word())) {
    why = services_.tr("/USER is taken by ENV and UNENV only.");
  }
  if (why.empty()) return false;
  services_.Refused(services_.tr("Incorrect Command Line"), why + "||" + services_.tr("Nothing was changed."));
  return true;
}

int Program::Run(std::string_view commandLine) {
  const CommandLine line(commandLine);
  if (RefusesSwitches(line)) return services_.ExitCode();
  if (line.Options().version) {
    services_.Tell("QZCL", std::string("QZCL ") + QZCL_VERSION);
    return services_.ExitCode();
  }
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
