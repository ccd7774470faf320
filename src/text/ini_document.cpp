#include "text/ini_document.h"

#include "text/text.h"
#include "text/text_list.h"

namespace qz {

namespace {

constexpr std::string_view kBlanks = " \t";

std::string NameOf(std::string_view text) { return Upper(Trim(text)); }

bool HoldsLineBreak(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// Where the value's text stands in a key line: after "=" and its blanks, before the trailing blanks.
struct ValueSpan {
  std::size_t begin, end;
};
ValueSpan ValueSpanOf(std::string_view text) {
  const auto equals = text.find('=');
  if (equals == std::string_view::npos) return {text.size(), text.size()};
  auto begin = text.find_first_not_of(kBlanks, equals + 1);
  if (begin == std::string_view::npos) begin = text.size();
  auto last = text.find_last_not_of(kBlanks);
  const std::size_t end = last == std::string_view::npos || last < begin ? begin : last + 1;
  return {begin, end};
}

// The quote that encloses value, or 0.
char EnclosingQuote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.front();
  return 0;
}

}  // namespace

bool IsIniSectionName(std::string_view text) {
  return !HoldsLineBreak(text) && text.find(']') == std::string_view::npos;
}

bool IsIniKey(std::string_view text) {
  const std::string_view name = Trim(text);
  return !HoldsLineBreak(text) && text.find('=') == std::string_view::npos &&
         (name.empty() || (name.front() != ';' && name.front() != '['));
}

bool IsIniValue(std::string_view text) { return !HoldsLineBreak(text); }

bool IniDocument::IsUtf16(std::string_view bytes) {
  return bytes.size() >= 2 &&
         ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
}

namespace {
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
}  // namespace

IniDocument::IniDocument(std::string_view bytes, TextCodec* codec) {
  // The mark is no part of the first line: a section there is found like any other.
  if (bytes.starts_with(kUtf8Mark)) {
    bytes.remove_prefix(kUtf8Mark.size());
    utf8_ = true;
    codec_ = codec;
  }
  bool endSeen = false;
  for (const LineView& line : SplitLines(bytes, LineEnds::Profile)) {
    if (!endSeen && !line.end.empty()) {
      lineEnd_ = line.end;
      endSeen = true;
    }
    Line kept;
    kept.text = line.text;
    kept.end = line.end;
    lines_.push_back(std::move(kept));
  }
  Index();
}

// Classifies every line and finds the first of each section and of each key in it, as the profile service
// does; keys before the first section, and sections repeated later, are read by no one.
void IniDocument::Index() {
  sections_.clear();
  Section* current = nullptr;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    Line& line = lines_[i];
    const std::string_view text = Trim(line.text);
    if (text.empty() || text.front() == ';') {
      line.kind = Kind::Other;
    } else if (text.front() == '[') {
      line.kind = Kind::Section;
      line.name = NameOf(
          text.substr(1, text.find(']') == std::string_view::npos ? std::string_view::npos : text.find(']') - 1));
      auto [entry, isNew] = sections_.try_emplace(line.name);
      current = isNew ? &entry->second : nullptr;
      if (current) current->header = current->lastKey = i;
    } else {
      line.kind = Kind::Key;
      line.name = NameOf(text.substr(0, text.find('=')));
      if (current) {
        current->keys.try_emplace(line.name, i);
        current->lastKey = i;
      }
    }
  }
}

std::string IniDocument::ToFile(std::string_view text) const {
  return codec_ ? codec_->AnsiToUtf8(text) : std::string(text);
}

std::string IniDocument::FromFile(std::string_view text) const {
  return codec_ ? codec_->Utf8ToAnsi(text) : std::string(text);
}

const IniDocument::Section* IniDocument::Find(std::string_view section) const {
  auto found = sections_.find(NameOf(ToFile(section)));
  return found == sections_.end() ? nullptr : &found->second;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  const Section* s = Find(section);
  if (!s) return std::nullopt;
  auto found = s->keys.find(NameOf(ToFile(key)));
  if (found == s->keys.end()) return std::nullopt;
  const std::string& text = lines_[found->second].text;
  const ValueSpan span = ValueSpanOf(text);
  std::string_view value = std::string_view(text).substr(span.begin, span.end - span.begin);
  if (EnclosingQuote(value)) value = value.substr(1, value.size() - 2);
  return FromFile(value);
}

void IniDocument::Insert(std::size_t at, std::string text) {
  Line line;
  line.text = std::move(text);
  // After a last line without a line end, the new line becomes the last one without it.
  if (at > 0 && lines_[at - 1].end.empty()) {
    lines_[at - 1].end = lineEnd_;
  } else {
    line.end = at > 0 ? lines_[at - 1].end : lineEnd_;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
  changed_ = true;
  Index();
}

void IniDocument::Set(std::string_view sectionName, std::string_view keyName, std::string_view valueText) {
  const std::string section = ToFile(sectionName), key = ToFile(keyName), value = ToFile(valueText);
  const Section* s = Find(sectionName);
  if (!s) {
    Insert(lines_.size(), "[" + section + "]");
    Insert(lines_.size(), key + "=" + value);
    return;
  }
  auto found = s->keys.find(NameOf(key));
  if (found == s->keys.end()) {
    Insert(s->lastKey + 1, key + "=" + value);
    return;
  }
  Line& line = lines_[found->second];
  std::string text;
  if (line.text.find('=') == std::string::npos) {
    text = line.text + "=" + value;  // a key alone on its line gets its value
  } else {
    const ValueSpan span = ValueSpanOf(line.text);
    const char quote = EnclosingQuote(std::string_view(line.text).substr(span.begin, span.end - span.begin));
    const std::string shown = quote ? quote + value + quote : value;
    text = line.text.substr(0, span.begin) + shown + line.text.substr(span.end);
  }
  if (text == line.text) return;
  line.text = std::move(text);
  changed_ = true;
}

bool IniDocument::Remove(std::string_view section, std::string_view key) {
  const Section* s = Find(section);
  if (!s) return false;
  auto found = s->keys.find(NameOf(ToFile(key)));
  if (found == s->keys.end()) return false;
  const std::size_t at = found->second;
  // A last line without a line end leaves the line before it as the last one without it.
  if (lines_[at].end.empty() && at > 0) lines_[at - 1].end.clear();
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(at));
  changed_ = true;
  Index();
  return true;
}

bool IniDocument::RemoveSectionIfEmpty(std::string_view section) {
  const Section* s = Find(section);
  if (!s) return false;
  const std::size_t at = s->header;
  if (at + 1 < lines_.size() && lines_[at + 1].kind != Kind::Section) return false;
  if (lines_[at].end.empty() && at > 0) lines_[at - 1].end.clear();
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(at));
  changed_ = true;
  Index();
  return true;
}

std::string IniDocument::Bytes() const {
  std::size_t size = 0;
  for (const Line& line : lines_) size += line.text.size() + line.end.size();
  std::string bytes(utf8_ ? kUtf8Mark : std::string_view());
  bytes.reserve(size + bytes.size());
  for (const Line& line : lines_) bytes.append(line.text).append(line.end);
  return bytes;
}

}  // namespace qz
