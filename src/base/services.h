// What every command and window receives: the platform's ports, the translator, message boxes, and the
// run's outcome so far.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "text/change_report.h"
#include "platform/clock.h"
#include "text/codec.h"
#include "platform/dde_transport.h"
#include "platform/dialogs.h"
#include "platform/file_change.h"
#include "platform/files.h"
#include "platform/held_file.h"
#include "platform/locks.h"
#include "platform/processes.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "translator/loading_view.h"
#include "translator/string_translator.h"

namespace qz {

// Exit codes of an unattended run, for installer authors. IdeRunning: the command needs the IDE closed and
// changed nothing; Busy: another run kept the target locked; nothing was changed. Either may be tried again.
enum ExitCode : int { kExitSuccess = 0, kExitFailed = 1, kExitUsage = 2, kExitIdeRunning = 3, kExitBusy = 4 };

// The platform's services that commands and windows use directly.
struct Platform {
  Profile& profile;
  Files& files;
  Locks& locks;
  Clock& clock;
  TextCodec& codec;
  Processes& processes;
  Shell& shell;
  Registry& registry;
  HeldFile& heldFile;  // the one file the program holds open while a window works on it
  DdeTransport& dde;
};

// The platform as the program uses it: one adapter per port, made once by whoever starts the program. Boxes
// reach commands only through Services, and the loading window only through the translator.
struct Ports {
  Platform platform;
  Dialogs& dialogs;
  LoadingView& loading;
};

class Services : public Platform {
 public:
  Services(const Ports& ports, StringTranslator& stringTranslator)
      : Platform(ports.platform), translator(stringTranslator), dialogs_(ports.dialogs) {}
  Services(const Services&) = delete;
  Services& operator=(const Services&) = delete;

  StringTranslator& translator;
  std::string langFile;  // the translation file in use; blank when the translator was not opened
  std::string owner;     // who claims what an adding command adds (/OWNER, QZCL_OWNER); empty: nobody
  bool adopt = false;    // /ADOPT: items already there are claimed as the owner's own

  // A fixed phrase through the translator.
  std::string tr(std::string_view text) { return translator.Translate(text); }

  // The files the program changes, through their locks; each change is reported.
  FileAccess Access() { return {files, locks, clock, &report_, dryRun_}; }

  // A new start of the program: its own outcome and report.
  void StartRun() {
    report_ = ChangeReport();
    failed_ = busy_ = ideRunning_ = usage_ = dryRun_ = false;
  }
  // What the run changed (or, in a dry run, would change) and what it said, in order.
  ChangeReport& Report() { return report_; }
  // A dry run (/WHATIF): every command goes as far as its writes, prints each change on standard output instead
  // and writes nothing; nobody is asked anything.
  void StartDryRun() {
    dryRun_ = true;
    report_.onChange = [this](const std::string& change) {
      dialogs_.Print("QZCL", change.substr(0, change.size() - 1));
    };
  }
  bool DryRun() const { return dryRun_; }

  // Boxes by what they tell; each marks the run's outcome for an unattended exit code.
  void Inform(const std::string& caption, const std::string& text, Icon icon = Icon::Information) {
    Show({caption, text, icon, Buttons::Ok, Button::Ok, Outcome::Info});
  }
  // What the command was given cannot be used: nothing was changed.
  void Refused(const std::string& caption, const std::string& text, Icon icon = Icon::Exclamation) {
    Show({caption, text, icon, Buttons::Ok, Button::Ok, Outcome::Usage});
  }
  void Error(const std::string& caption, const std::string& text, Icon icon = Icon::Exclamation) {
    Show({caption, text, icon, Buttons::Ok, Button::Ok, Outcome::Error});
  }
  // A question: the button that answered it; an unattended run takes the default.
  Button Ask(const std::string& caption, const std::string& text, Buttons buttons, Button defaultButton,
             Icon icon = Icon::Exclamation) {
    return Show({caption, text, icon, buttons, defaultButton, Outcome::Info});
  }
  // The IDE runs and the command needs it closed: nothing was changed.
  void IdeRunning(const std::string& caption, const std::string& text) {
    Show({caption, text, Icon::None, Buttons::Ok, Button::Ok, Outcome::IdeRunning});
  }
  // Another run kept the target locked: nothing was changed, and the command may be tried again.
  void Busy(const std::string& caption, const std::string& text) {
    Show({caption, text, Icon::Exclamation, Buttons::Ok, Button::Ok, Outcome::Busy});
  }
  // What a program asked for, for it to read (lines separated by "\n").
  void Tell(const std::string& caption, const std::string& text) {
    dialogs_.Print(caption, text);
    report_.Said(text);
  }
  // Whether nobody answers the boxes: an installer runs the program, or a dry run asks nothing.
  bool Unattended() const { return dialogs_.Unattended() || dryRun_; }
  // A line for an installer's log that is no outcome of the command.
  void Warn(const std::string& line) { dialogs_.Note(line); }
  std::optional<std::string> ChooseFile(const std::string& title, const std::string& filter) {
    return dialogs_.ChooseFile(title, filter);
  }
  // A command failed without a box of its own (for example a write that did not happen).
  void Fail() { failed_ = true; }
  // A command that shows nothing ended so: said in one line of an unattended run's log only.
  void Quiet(Outcome outcome, const std::string& line) {
    Mark(outcome);
    dialogs_.Note(line);
    report_.Said(line);
  }
  // The process's exit code: interactive runs keep 0, installers running unattended learn whether it worked.
  int ProcessExitCode() const { return Unattended() ? ExitCode() : kExitSuccess; }
  int ExitCode() const {
    return failed_       ? kExitFailed
           : ideRunning_ ? kExitIdeRunning
           : busy_       ? kExitBusy
           : usage_      ? kExitUsage
                         : kExitSuccess;
  }

 private:
  // Every box goes through one of the calls above, which say what it tells.
  Button Show(const Box& box) {
    Mark(box.outcome);
    const Button answer = dialogs_.Show(box);
    report_.Said(BoxText(box, answer));
    return answer;
  }
  void Mark(Outcome outcome) {
    failed_ = failed_ || outcome == Outcome::Error;
    busy_ = busy_ || outcome == Outcome::Busy;
    ideRunning_ = ideRunning_ || outcome == Outcome::IdeRunning;
    usage_ = usage_ || outcome == Outcome::Usage;
  }

  Dialogs& dialogs_;
  ChangeReport report_;
  bool dryRun_ = false;
  bool failed_ = false;
  bool busy_ = false;
  bool ideRunning_ = false;
  bool usage_ = false;
};

}  // namespace qz
