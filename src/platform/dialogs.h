// Message boxes: the model and the port that shows them.
#pragma once
#include <optional>
#include <ostream>
#include <string>

namespace qz {

enum class Icon { None, Information, Exclamation, Asterisk, Question, Hand, WinLogo };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Button { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// What a box says about the run, for the unattended exit code.
enum class Outcome { Info, Usage, Error, Busy, IdeRunning };

// One message box. "|" in text starts a new line on screen.
struct Box {
  std::string caption;
  std::string text;
  Icon icon = Icon::Information;
  Buttons buttons = Buttons::Ok;
  Button defaultButton = Button::Ok;
  Outcome outcome = Outcome::Info;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Shows the box and returns the button pressed.
  virtual Button Show(const Box& box) = 0;
  // The open-file dialog: filter is "Name|pattern|Name|pattern"; the chosen path, or nothing when cancelled.
  // The current directory is the same afterwards.
  virtual std::optional<std::string> ChooseFile(const std::string& title, const std::string& filter) = 0;
  // A line for the log of an installer that runs the program; a person at the desktop is not troubled with it.
  virtual void Note(const std::string& line) = 0;
  // What a program asked for (a version, an installation's folders), for it to read: standard output when
  // that is redirected or nobody watches, else a box.
  virtual void Print(const std::string& caption, const std::string& text) = 0;
  // Whether nobody answers the boxes: the program answers them itself.
  virtual bool Unattended() const = 0;
};

// For runs without a desktop: each box is written to a stream (standard error) and answered with its default
// button; what a program asked for goes to another (standard output).
class UnattendedDialogs : public Dialogs {
 public:
  UnattendedDialogs(std::ostream& out, std::ostream& output) : out_(out), output_(output) {}
  Button Show(const Box& box) override;
  std::optional<std::string> ChooseFile(const std::string&, const std::string&) override { return std::nullopt; }
  void Note(const std::string& line) override { out_ << line << "\n" << std::flush; }
  void Print(const std::string&, const std::string& text) override { output_ << text << "\n" << std::flush; }
  bool Unattended() const override { return true; }

 private:
  std::ostream& out_;
  std::ostream& output_;
};

const char* ButtonName(Button b);

// A box as text, with the button that answered it: its caption between "===", its lines, its buttons.
std::string BoxText(const Box& box, Button answer);

}  // namespace qz
