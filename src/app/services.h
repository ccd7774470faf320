// What every command and window reaches through its context: the platform ports, the translator,
// the message boxes, and what the run's outcome has been so far.
#pragma once
#include <string>
#include <string_view>

#include "app/views.h"
#include "ide/dde_channel.h"
#include "runtime/clock.h"
#include "runtime/codec.h"
#include "runtime/dialogs.h"
#include "runtime/files.h"
#include "runtime/held_file.h"
#include "runtime/processes.h"
#include "runtime/profile.h"
#include "runtime/registry.h"
#include "runtime/shell.h"
#include "translator/string_translator.h"

namespace qz {

// Exit codes of an unattended run, for installer authors.
enum ExitCode : int { kExitSuccess = 0, kExitFailed = 1, kExitUsage = 2 };

class Services {
 public:
  // The platform's ports and the program's single instances, as main (or a test) built them.
  struct Wiring {
    Profile& profile;
    Files& files;
    Clock& clock;
    TextCodec& codec;
    Dialogs& dialogs;
    Processes& processes;
    Shell& shell;
    Registry& registry;
    HeldFile& heldFile;
    StringTranslator& translator;
    DdeChannel& dde;
    Views& views;
  };
  Services(const Wiring& parts, std::string line)
      : profile(parts.profile), files(parts.files), clock(parts.clock), codec(parts.codec),
        processes(parts.processes), shell(parts.shell),
        registry(parts.registry), heldFile(parts.heldFile), translator(parts.translator), dde(parts.dde), views(parts.views),
        commandLine(std::move(line)), dialogs_(parts.dialogs) {}

  Profile& profile;
  Files& files;
  Clock& clock;
  TextCodec& codec;
  Processes& processes;
  Shell& shell;
  Registry& registry;
  HeldFile& heldFile;  // the one file the program holds open while a window works on it
  StringTranslator& translator;
  DdeChannel& dde;
  Views& views;
  std::string commandLine;  // the process's whole command line, program name first
  std::string langFile;     // LANGFILE: the translation file in use, blank when none

  // tr(x): a fixed phrase through the translator.
  std::string tr(std::string_view text) { return translator.Translate(text); }

  Button Show(const Box& box);
  std::optional<std::string> ChooseFile(const std::string& title, const std::string& filter) {
    return dialogs_.ChooseFile(title, filter);
  }
  // A command failed without a box of its own (for example a write that did not happen).
  void Fail() { failed_ = true; }
  int ExitCode() const { return failed_ ? kExitFailed : usage_ ? kExitUsage : kExitSuccess; }

 private:
  Dialogs& dialogs_;
  bool failed_ = false;
  bool usage_ = false;
};

inline Button Services::Show(const Box& box) {
  if (box.outcome == Outcome::Error) failed_ = true;
  if (box.outcome == Outcome::Usage) usage_ = true;
  return dialogs_.Show(box);
}

}  // namespace qz
