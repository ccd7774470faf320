// Translation of whole windows, list formats, messages and "|" lists, on top of Translate.
#include <algorithm>
#include <utility>

#include "text/text.h"
#include "translator/string_translator.h"

namespace qz {

namespace {

constexpr std::size_t kPictureSize = 40;
constexpr std::size_t kFormatSize = 2000;
constexpr std::size_t kMessageSize = 255;
// Of an application frame, only the controls numbered from 1 up to this are translated.
constexpr int kLastFrameControl = 2999;

using K = ControlKind;
using P = Property;

// The control kinds whose texts are translated and, for each, which texts.
constexpr std::pair<ControlKind, Property> kControlTable[] = {
    {K::Button, P::Text},        {K::Button, P::Msg},    {K::Button, P::Tip},      {K::Check, P::Text},
    {K::Check, P::Msg},          {K::Check, P::Tip},     {K::DropList, P::Format}, {K::DropList, P::Text},
    {K::Combo, P::Text},         {K::Combo, P::Format},  {K::Combo, P::Msg},       {K::Combo, P::Tip},
    {K::Entry, P::Msg},          {K::Entry, P::Text},    {K::Entry, P::Tip},       {K::Group, P::Text},
    {K::Group, P::Msg},          {K::Group, P::Tip},     {K::List, P::Msg},        {K::List, P::Tip},
    {K::List, P::Format},        {K::Option, P::Text},   {K::Option, P::Msg},      {K::Option, P::Tip},
    {K::Prompt, P::Text},        {K::Radio, P::Text},    {K::Radio, P::Msg},       {K::Radio, P::Tip},
    {K::Spin, P::Text},          {K::Spin, P::Msg},      {K::Spin, P::Tip},        {K::String, P::Text},
    {K::PictureString, P::Text}, {K::Tab, P::Text},      {K::Tab, P::Msg},         {K::Tab, P::Tip},
    {K::Text, P::Msg},           {K::Text, P::Tip},      {K::Menu, P::Text},       {K::Menu, P::Msg},
    {K::Menu, P::Tip},           {K::MenuItem, P::Text}, {K::MenuItem, P::Msg},    {K::MenuItem, P::Tip},
    {K::Region, P::Tip},
};

// The kinds whose Text is a display picture rather than a caption.
bool ShowsPicture(ControlKind kind) {
  return kind == K::Entry || kind == K::Spin || kind == K::Combo || kind == K::PictureString;
}

}  // namespace

void StringTranslator::CreateControlsQueue() {
  controls_.clear();
  for (const auto& [kind, property] : kControlTable) {
    auto entry = std::lower_bound(controls_.begin(), controls_.end(), kind,
                                  [](const ControlProperties& c, ControlKind k) { return c.kind < k; });
    if (entry == controls_.end() || entry->kind != kind) entry = controls_.insert(entry, {kind, {}});
    auto& properties = entry->properties;
    auto at = std::lower_bound(properties.begin(), properties.end(), property);
    if (at == properties.end() || *at != property) properties.insert(at, property);
  }
}

void StringTranslator::TranslateWindow(TranslatableWindow& window) {
  if (!Translating()) return;
  const std::string title = window.Title();
  const std::string translated = TranslateWindowTitle(window);
  if (translated != title) window.SetTitle(translated);
  for (int control = window.FirstControl(); control != 0; control = window.NextControl(control)) {
    TranslateControl(window, control);
  }
}

std::string StringTranslator::TranslateWindowTitle(const TranslatableWindow& window) {
  return Translate(window.Title());
}

void StringTranslator::TranslateControl(TranslatableWindow& window, int control) {
  if (!Translating()) return;
  const ControlKind kind = window.KindOf(control);
  auto entry = std::lower_bound(controls_.begin(), controls_.end(), kind,
                                [](const ControlProperties& c, ControlKind k) { return c.kind < k; });
  if (entry == controls_.end() || entry->kind != kind) return;
  for (Property property : entry->properties) TranslateProperty(window, control, property);
}

void StringTranslator::TranslateProperty(TranslatableWindow& window, int control, Property property) {
  if (!Translating()) return;
  if (window.Kind() == K::Application && (control < 1 || control > kLastFrameControl)) return;
  const std::string current = window.Get(control, property);
  std::string translated;
  if (property == P::Format) {
    translated = TranslateFormat(current);
  } else if (property == P::Text && ShowsPicture(window.KindOf(control))) {
    std::string picture = Cut(ClipView(current), kPictureSize);
    if (picture.empty()) return;  // nothing to look up, and "@" alone is no picture
    if (picture.front() != '@') picture = Cut("@" + picture, kPictureSize);
    const std::string head = Upper(std::string_view(picture).substr(0, 2));
    if (head == "@S") return;  // string pictures hold the field's size, not a language's habit
    translated = Translate(head + picture.substr(head.size()));
  } else {
    translated = Translate(current);
  }
  if (translated != current) window.Set(control, property, translated);
}

std::string StringTranslator::TranslateFormat(std::string_view format) {
  if (format.empty() || !Translating()) return Clip(format);
  std::string buffer = Cut(format, kFormatSize);

  // Pictures stand from an "@" up to the next one; headers strictly between two "~".
  const auto pass = [this, &buffer](char delimiter, bool pictures) {
    std::size_t from = 0;
    for (;;) {
      const std::size_t open = buffer.find(delimiter, from);
      if (open == std::string::npos) return;
      std::size_t close = buffer.find(delimiter, open + 1);
      if (close == std::string::npos) return;
      const std::size_t start = pictures ? open : open + 1;
      const std::string inner = buffer.substr(start, close - start);
      if (!pictures || Upper(std::string_view(inner).substr(0, 2)) != "@S") {
        const std::string translated = Translate(inner);
        buffer = Cut(buffer.substr(0, start) + translated + buffer.substr(close), kFormatSize);
        close = start + translated.size();
      }
      from = close + 1;
    }
  };
  pass('@', true);
  pass('~', false);
  return Clip(buffer);
}

std::string StringTranslator::TranslateMessage(std::string_view text, std::string_view p1, std::string_view p2,
                                               std::string_view p3, std::string_view p4) {
  std::string buffer = Cut(Translate(text), kMessageSize);
  const std::string_view parameters[] = {p1, p2, p3, p4};
  for (std::size_t n = 0; n < 4; ++n) {
    const char placeholder[] = {'%', static_cast<char>('1' + n), '\0'};
    const std::size_t at = buffer.find(placeholder);
    if (at == std::string::npos) continue;
    buffer = Cut(buffer.substr(0, at) + Clip(parameters[n]) + buffer.substr(at + 2), kMessageSize);
  }
  return Clip(buffer);
}

}  // namespace qz
