// The one wiring of the program: the translator and the services over the platform's ports and views,
// and one whole start. main, the unit-test harness and the Windows tests all build it.
#pragma once
#include <string>
#include <string_view>

#include "app/views.h"
#include "base/command_line.h"
#include "base/services.h"
#include "translator/string_translator.h"

namespace qz {

// WIN.INI names of the translation file entry.
inline constexpr const char* kQzclSection = "QZCL";
inline constexpr const char* kLangFileEntry = "LangFile";
inline constexpr const char* kLangFileName = "QZCLLang.str";

class Program {
 public:
  Program(const Ports& ports, Views& views)
      : translator_(ports.platform.profile, ports.platform.files, ports.platform.clock, ports.platform.codec,
                    ports.loading),
        services_(ports, translator_),
        views_(views) {}

  Services& services() { return services_; }
  StringTranslator& translator() { return translator_; }

  // One whole start on commandLine (the program's name first): the translation set-up for the window
  // modes, then one command or the notes window. Returns the exit code of an unattended run.
  int Run(std::string_view commandLine);
  // Run on the command line as Windows holds it: parameters that the ANSI code page, in which the IDE's files
  // are written, cannot hold as they are (a character it lacks, or one it would write as a look-alike) are
  // refused before any command runs.
  int Run(std::u16string_view commandLine);
  // The command of line alone, as a start with that line dispatches it.
  void RunCommand(const CommandLine& line);
  // Finds the translation file (repairing a stale WIN.INI entry) and opens the translator on it.
  void SetUpLanguageFile();
  // The file each run appends its block to (QZCL_LOG); /LOG=file on the command line wins.
  void LogTo(std::string file) { logFile_ = std::move(file); }
  // The owner an installer set once for its runs (QZCL_OWNER); /OWNER=name on the command line wins.
  void OwnerFromEnvironment(std::string owner) { environmentOwner_ = std::move(owner); }

 private:
  bool RefusesSwitches(const CommandLine& line);
  void TakeLogSwitch(const CommandLine& line);
  void Execute(const CommandLine& line);
  // Appends the run's block to the log, when there is one; the exit code of an unattended run.
  int Finish(std::string_view commandLine);

  StringTranslator translator_;
  Services services_;
  Views& views_;
  std::string logFile_;
  std::string environmentOwner_;
};

}  // namespace qz
