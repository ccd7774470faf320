#include "platform/dialogs.h"

namespace qz {

const char* ButtonName(Button b) {
  switch (b) {
    case Button::Ok: return "OK";
    case Button::Cancel: return "Cancel";
    case Button::Yes: return "Yes";
    case Button::No: return "No";
  }
  return "?";
}

static const char* ButtonsText(Buttons b) {
  switch (b) {
    case Buttons::Ok: return "[OK]";
    case Buttons::OkCancel: return "[OK] [Cancel]";
    case Buttons::YesNo: return "[Yes] [No]";
    case Buttons::YesNoCancel: return "[Yes] [No] [Cancel]";
  }
  return "";
}

std::string BoxText(const Box& box, Button answer) {
  std::string text = box.text;
  for (char& c : text)
    if (c == '|') c = '\n';
  return "=== " + box.caption + " ===\n" + text + "\n" + ButtonsText(box.buttons) + " -> " + ButtonName(answer) + "\n";
}

Button UnattendedDialogs::Show(const Box& box) {
  out_ << BoxText(box, box.defaultButton) << std::flush;
  return box.defaultButton;
}

}  // namespace qz
