// A dialog whose controls are listed in a table in the window's own order: the table lays the dialog out,
// switches its pages and is what the translator walks.
#pragma once
#include <windows.h>

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "window/dialog_window_win32.h"
#include "translator/translatable_window.h"

namespace qz {

struct ControlDef {
  int number;  // from 1 without gaps; the control's id is the window's first id + number
  ControlKind kind;
  const char* windowClass;  // nullptr: no window of its own (a sheet and its tabs)
  // What the translator reads as the control's text. A tab, an entry, a spin or combo box and a picture
  // string show no text of their own as designed: the window keeps theirs (the tab's text, the display
  // picture), and their controls start empty.
  const char* text;
  DWORD style;
  short x, y, cx, cy;  // dialog units
  int page;            // 0: on every page
};

// A presenter's name for a control beside the control's number.
template <typename Name>
struct NamedControl {
  Name name;
  int number;
};

template <typename Name, std::size_t N>
int NumberOf(const NamedControl<Name> (&names)[N], Name name) {
  for (const NamedControl<Name>& c : names)
    if (c.name == name) return c.number;
  return 0;
}

template <typename Name, std::size_t N>
std::optional<Name> NameOf(const NamedControl<Name> (&names)[N], int number) {
  for (const NamedControl<Name>& c : names)
    if (c.number == number) return c.name;
  return std::nullopt;
}

class TranslatableDialog : public DialogWindow, public TranslatableWindow {
 public:
  ControlKind Kind() const override { return ControlKind::Window; }
  std::string Title() const override { return DialogTitle(); }
  void SetTitle(std::string_view title) override { SetDialogTitle(title); }
  int FirstControl() const override { return first_; }
  int NextControl(int control) const override { return control >= first_ && control < last_ ? control + 1 : 0; }
  ControlKind KindOf(int control) const override;
  std::string Get(int control, Property property) const override;
  void Set(int control, Property property, std::string_view value) override;

 protected:
  // controls: a table that outlives the window.
  TranslatableDialog(std::span<const ControlDef> controls, WORD firstId);

  // Creates the dialog with layout's own controls first (above the table's in the z-order), then the table's.
  bool CreateFromTable(DialogLayout layout);
  HWND Control(int number) const { return GetDlgItem(Dialog(), firstId_ + number); }
  // The number of the table's control with this id; 0 for none.
  int NumberOfId(int id) const;
  const ControlDef* DefOf(int number) const;
  // Shows the controls of page and hides the other pages'.
  void ShowPageControls(int page);
  void ShowArrow(int number, char direction);

  // The list's format, which the view keeps.
  virtual std::string ListFormat(int) const { return {}; }
  virtual void SetListFormat(int, std::string_view) {}

 private:
  std::span<const ControlDef> controls_;
  WORD firstId_;
  int first_ = 0, last_ = 0;
  std::vector<std::string> kept_;  // beside the table: the texts the window keeps for its controls
};

}  // namespace qz
