#include "app/program.h"

#include "app/dispatcher.h"
#include "base/owners.h"
#include "notes/notes_window.h"
#include "text/text.h"

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
  const std::string asGiven = "qzcl " + ansi;
  TakeLogSwitch(CommandLine(asGiven));
  services_.Refused(
      services_.tr("Incorrect Command Line"),
      services_.tr("The command line holds characters that Windows cannot pass on in its ANSI code page:") + "|  " +
          ansi + "||" + services_.tr("Nothing was changed."));
  return Finish(asGiven);
}

// Switches stand before the command word and each command takes only its own: a refused one changes nothing.
// Switches stand before the command word and each command takes only its own: a refused one changes nothing.
bool Program::RefusesSwitches(const CommandLine& line) {
  const Switches& options = line.Options();
  const std::string name = Upper(options.refused.substr(0, options.refused.find('=')));
  const std::string& word = line.Word();
  std::string why;
  if (!options.refused.empty()) {
    why = name == "/LOG" ? services_.tr("/LOG names one file, as /LOG=file:") + " " + options.refused
                         : services_.tr("This switch is not known:") + " " + options.refused;
  } else if (options.version && (!word.empty() || options.user || options.whatIf || options.owner || options.adopt)) {
    why = services_.tr("/VERSION stands alone.");
  } else if (word.empty() && options.Any() && !options.version) {
    why = services_.tr("A command word must follow the switches.");
  } else if (options.user && !TakesSwitch(word, kUserSwitch)) {
    why = services_.tr("/USER is taken by ENV and UNENV only.");
  } else if (options.whatIf && !TakesSwitch(word, kWhatIfSwitch)) {
    why = services_.tr(
        "/WHATIF is taken only by the commands that change files or variables: RED, UNRED, USERMENU, "
        "UNMENU, INCLUDE, UNINCLUDE, ENV, UNENV and ABCPATH.");
  } else if (options.owner && !TakesSwitch(word, kOwnerSwitch)) {
    why = services_.tr(
        "/OWNER is taken only by the adding and removal commands: RED, UNRED, USERMENU, UNMENU, "
        "INCLUDE, UNINCLUDE, ENV and UNENV.");
  } else if (options.adopt && (!TakesSwitch(word, kAdoptSwitch) || !options.owner)) {
    why = services_.tr("/ADOPT is taken only with /OWNER, by RED, USERMENU, INCLUDE and ENV.");
  }
  // The owner from the environment is an installer's setting for every run: a command that takes no owner
  // passes it over.
  const std::string owner = options.owner ? *options.owner : TakesSwitch(word, kOwnerSwitch) ? environmentOwner_ : "";
  if (why.empty() && (options.owner || !owner.empty()) && !IsOwnerName(owner))
    why = services_.tr("An owner name is 1 to 64 letters, digits, \".\", \"-\" or \"_\":") + " " + owner;
  if (why.empty()) {
    services_.owner = owner;
    services_.adopt = options.adopt;
    return false;
  }
  services_.Refused(services_.tr("Incorrect Command Line"), why + "||" + services_.tr("Nothing was changed."));
  return true;
}

void Program::TakeLogSwitch(const CommandLine& line) {
  if (!line.Options().log.empty()) logFile_ = line.Options().log;
}

int Program::Run(std::string_view commandLine) {
  const CommandLine line(commandLine);
  TakeLogSwitch(line);
  services_.StartRun();
  if (line.Options().whatIf) services_.StartDryRun();
  try {
    Execute(line);
  } catch (...) {
    // A window passes on what went wrong inside it: the run failed, and its log says so.
    services_.Fail();
    Finish(commandLine);
    throw;
  }
  return Finish(commandLine);
}

void Program::Execute(const CommandLine& line) {
  if (RefusesSwitches(line)) return;
  if (line.Options().version) {
    services_.Tell("QZCL", std::string("QZCL ") + QZCL_VERSION);
    return;
  }
  if (line.Word() == "EDIT" || line.Word().empty()) SetUpLanguageFile();
  if (!line.Word().empty()) {
    RunCommand(line);
  } else {
    OpenVersionNotes(services_, views_.Notes().get());
  }
  if (!IsBlank(services_.langFile)) translator_.Kill();
  if (services_.DryRun() && services_.Report().Empty() && services_.ExitCode() == kExitSuccess)
    services_.Tell("QZCL", services_.tr("Nothing would change."));
}

namespace {

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

}  // namespace

// One block per run, appended in one write: its time, QZCL's version, the command line, what it changed and
// said, and its exit code. The block's own words stay untranslated, so that a program can read the log.
int Program::Finish(std::string_view commandLine) {
  const int exitCode = services_.ProcessExitCode();
  if (logFile_.empty()) return services_.ExitCode();
  const LocalTime t = services_.clock.Now();
  std::string block = "=== " + std::to_string(t.year) + "-" + TwoDigits(t.month) + "-" + TwoDigits(t.day) + " " +
                      TwoDigits(t.hour) + ":" + TwoDigits(t.minute) + ":" + TwoDigits(t.second) + " QZCL " +
                      QZCL_VERSION + " ===\n" + "Command line: " + std::string(commandLine) + "\n";
  if (services_.DryRun()) block += "Dry run (/WHATIF): nothing was written.\n";
  block += services_.Report().Everything() + "Exit code: " + std::to_string(exitCode) + "\n\n";
  std::string crlf;
  for (char c : block) crlf += c == '\n' ? "\r\n" : std::string(1, c);
  if (const FileError error = services_.files.Append(logFile_, crlf); error != FileError::None)
    services_.Warn(services_.tr("QZCL could not write its log file:") + " " + logFile_ + ": " +
                   services_.tr(FileErrorReason(error)));
  return services_.ExitCode();
}

}  // namespace qz
