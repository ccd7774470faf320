#include "base/list_sections.h"

#include "text/text.h"

namespace qz {

namespace {

// Splits text at the last c: the part after it goes to field, text keeps the part before. Without c, field
// gets the whole text and text stays as it is.
void SplitAtLast(std::string& text, std::string& field, char c) {
  auto at = text.rfind(c);
  if (at == std::string::npos) {
    field = text;
    return;
  }
  field = text.substr(at + 1);
  text.resize(at);
}

}  // namespace

const ListSection* FindListSection(std::string_view name) {
  for (const ListSection& section : kListSections)
    if (ClipView(name) == section.name) return &section;
  return nullptr;
}

Entry ParseEntry(const ListSection& section, std::string value) {
  Entry entry{std::move(value), "", ""};
  SplitAtLast(entry.text, entry.appRef, '|');
  if (section.hasMask) SplitAtLast(entry.text, entry.mask, '=');
  return entry;
}

std::string FormatEntry(const ListSection& section, const Entry& entry) {
  if (!section.hasMask) return Clip(entry.text + "|" + entry.appRef);
  if (!section.clipParts) return Clip(entry.text + "=" + entry.mask + "|" + entry.appRef);
  return Clip(Clip(entry.text) + "=" + Clip(entry.mask) + "|" + entry.appRef);
}

std::vector<std::string> EntryValues(const IniDocument& doc, std::string_view section) {
  std::vector<std::string> values;
  for (int n = 1;; ++n) {
    // Kept whole: a long value must come back unchanged when the section is written again.
    std::string value = doc.Get(section, std::to_string(n)).value_or("");
    if (value.empty()) return values;
    values.push_back(std::move(value));
  }
}

}  // namespace qz
