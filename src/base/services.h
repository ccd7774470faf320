// What every command and window receives: the platform's ports, the translator, message boxes, and the
// run's outcome so far.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "runtime/clock.h"
#include "runtime/codec.h"
#include "runtime/dde_transport.h"
#include "runtime/dialogs.h"
#include "runtime/files.h"
#include "runtime/held_file.h"
#include "runtime/processes.h"
#include "runtime/profile.h"
#include "runtime/registry.h"
#include "runtime/shell.h"
#include "translator/loading_view.h"
#include "translator/string_translator.h"

namespace qz {

// Exit codes of an unattended run, for installer authors.
enum ExitCode : int { kExitSuccess = 0, kExitFailed = 1, kExitUsage = 2 };

// The platform as the program uses it: one adapter per port, made once by whoever starts the program.
struct Ports {
  Profile& profile;
  Files& files;
  Clock& clock;
  TextCodec& codec;
  Dialogs& dialogs;
  Processes& processes;
  Shell& shell;
  Registry& registry;
  HeldFile& heldFile;  // the one file the program holds open while a window works on it
  DdeTransport& dde;
  LoadingView& loading;
};

class Services {
 public:
  Services(const Ports& ports, StringTranslator& stringTranslator)
      : profile(ports.profile),
        files(ports.files),
        clock(ports.clock),
        codec(ports.codec),
        processes(ports.processes),
        shell(ports.shell),
        registry(ports.registry),
        heldFile(ports.heldFile),
        dde(ports.dde),
        translator(stringTranslator),
        dialogs_(ports.dialogs) {}
  Services(const Services&) = delete;
  Services& operator=(const Services&) = delete;

  Profile& profile;
  Files& files;
  Clock& clock;
  TextCodec& codec;
  Processes& processes;
  Shell& shell;
  Registry& registry;
  HeldFile& heldFile;
  DdeTransport& dde;
  StringTranslator& translator;
  std::string langFile;  // the translation file in use; blank when the translator was not opened

  // A fixed phrase through the translator.
  std::string tr(std::string_view text) { return translator.Translate(text); }

  Button Show(const Box& box) {
    if (box.outcome == Outcome::Error) failed_ = true;
    if (box.outcome == Outcome::Usage) usage_ = true;
    return dialogs_.Show(box);
  }
  std::optional<std::string> ChooseFile(const std::string& title, const std::string& filter) {
    return dialogs_.ChooseFile(title, filter);
  }
  // A command failed without a box of its own (for example a write that did not happen).
  void Fail() { failed_ = true; }
  // A command that shows nothing was not given what it needs: said in an unattended run's log only.
  void Missing(const std::string& what) {
    usage_ = true;
    dialogs_.Note(what);
  }
  int ExitCode() const { return failed_ ? kExitFailed : usage_ ? kExitUsage : kExitSuccess; }

 private:
  Dialogs& dialogs_;
  bool failed_ = false;
  bool usage_ = false;
};

}  // namespace qz
