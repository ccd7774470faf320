#include "translator/translatable_dialog_win32.h"

#include "window/arrow_icon_win32.h"
#include "window/window_text_win32.h"

namespace qz {

namespace {

using K = ControlKind;

// Where the translator finds a control's text.
enum class TextAt { Nowhere, Kept, Window };

TextAt TextOf(const ControlDef& def) {
  switch (def.kind) {
    case K::Tab:
    case K::PictureString:
    case K::Entry:
    case K::Spin:
    case K::Combo: return TextAt::Kept;
    case K::Button: return (def.style & BS_ICON) ? TextAt::Nowhere : TextAt::Window;  // icons have no text
    case K::String:
    case K::Prompt:
    case K::Group:
    case K::Check: return TextAt::Window;
    default: return TextAt::Nowhere;
  }
}

}  // namespace

TranslatableDialog::TranslatableDialog(std::span<const ControlDef> controls, WORD firstId)
    : controls_(controls), firstId_(firstId) {
  if (!controls_.empty()) {
    first_ = controls_.front().number;
    last_ = controls_.back().number;
  }
  for (const ControlDef& def : controls_) kept_.emplace_back(TextOf(def) == TextAt::Kept ? def.text : "");
}

bool TranslatableDialog::CreateFromTable(DialogLayout layout) {
  for (const ControlDef& c : controls_) {
    if (!c.windowClass) continue;
    layout.controls.push_back({c.windowClass, TextOf(c) == TextAt::Kept ? "" : c.text, c.style, c.x, c.y, c.cx, c.cy,
                               static_cast<WORD>(firstId_ + c.number)});
  }
  return Create(layout);
}

int TranslatableDialog::NumberOfId(int id) const {
  const ControlDef* def = DefOf(id - firstId_);
  return def ? def->number : 0;
}

const ControlDef* TranslatableDialog::DefOf(int number) const {
  for (const ControlDef& def : controls_)
    if (def.number == number) return &def;
  return nullptr;
}

void TranslatableDialog::ShowPageControls(int page) {
  for (const ControlDef& c : controls_)
    if (c.windowClass && c.page != 0) ShowWindow(Control(c.number), c.page == page ? SW_SHOWNA : SW_HIDE);
}

void TranslatableDialog::ShowArrow(int number, char direction) {
  SendMessageA(Control(number), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(Keep(ArrowIcon(direction))));
}

ControlKind TranslatableDialog::KindOf(int control) const {
  const ControlDef* def = DefOf(control);
  return def ? def->kind : K::None;
}

std::string TranslatableDialog::Get(int control, Property property) const {
  const ControlDef* def = DefOf(control);
  if (!def) return {};
  if (property == Property::Format) return def->kind == K::List ? ListFormat(control) : std::string();
  if (property != Property::Text) return {};
  switch (TextOf(*def)) {
    case TextAt::Kept: return kept_[static_cast<std::size_t>(def - controls_.data())];
    case TextAt::Window: return WindowText(Control(control));
    default: return {};
  }
}

void TranslatableDialog::Set(int control, Property property, std::string_view value) {
  const ControlDef* def = DefOf(control);
  if (!def) return;
  if (property == Property::Format) {
    if (def->kind == K::List) SetListFormat(control, value);
    return;
  }
  if (property != Property::Text) return;
  switch (TextOf(*def)) {
    case TextAt::Kept: kept_[static_cast<std::size_t>(def - controls_.data())] = value; break;
    case TextAt::Window: SetWindowTextA(Control(control), std::string(value).c_str()); break;
    default: break;
  }
}

}  // namespace qz
