// An open window as the translator sees it: a title and a walk over numbered controls whose texts
// can be read and replaced. The Win32 adapter serves live controls; the editor serves its list.
#pragma once
#include <string>
#include <string_view>

namespace qz {

// The kind numbers that translation files store. A window itself is an Application frame or a Window.
enum class ControlKind : int {
  None = 0,           // no control with that number
  PictureString = 1,  // a string showing a variable through a picture
  String = 2,
  Image = 3,
  Region = 4,
  Line = 5,
  Box = 6,
  Entry = 8,
  Button = 9,
  Prompt = 10,
  Option = 11,
  Check = 12,
  Group = 13,
  List = 14,
  Combo = 15,
  Spin = 16,
  Text = 17,
  Menu = 19,
  MenuItem = 20,
  Radio = 21,
  Application = 24,
  Window = 25,
  DropList = 34,
  Sheet = 37,
  Tab = 38,
};

// In the order the translator handles them.
enum class Property : int {
  Text = 1,    // the control's text; the display picture of entries, spin and combo boxes, picture strings
  Msg = 2,     // status-bar message
  Format = 3,  // list format: columns with their headers between "~" and pictures between "@"
  Tip = 4,     // tooltip
};

class TranslatableWindow {
 public:
  virtual ~TranslatableWindow() = default;

  virtual ControlKind Kind() const = 0;  // Application or Window
  virtual std::string Title() const = 0;
  virtual void SetTitle(std::string_view title) = 0;

  // The controls in the window's own order; 0 when there is none or no more.
  virtual int FirstControl() const = 0;
  virtual int NextControl(int control) const = 0;

  // None for a number that names no control.
  virtual ControlKind KindOf(int control) const = 0;
  // Empty when the control lacks the property; setting one it lacks does nothing.
  virtual std::string Get(int control, Property property) const = 0;
  virtual void Set(int control, Property property, std::string_view value) = 0;
};

}  // namespace qz
