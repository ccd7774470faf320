#include "runtime/profile.h"

#include "runtime/text.h"

namespace qz {

namespace {

std::string Trimmed(std::string_view text) {
  auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  auto last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace

std::string ReadIni(Profile& profile, std::string_view file, std::string_view section, std::string_view entry,
                    std::string_view def) {
  std::string value =
      profile.Read(Cut(ClipView(file), kIniFileMax), Clip(section), Clip(entry), Cut(ClipView(def), kIniValueMax));
  return Cut(value, kIniValueMax);
}

void WriteIni(Profile& profile, std::string_view file, std::string_view section, std::string_view entry,
              std::string_view value) {
  profile.Write(Cut(ClipView(file), kIniFileMax), Clip(section), Clip(entry), Cut(ClipView(value), kIniValueMax));
}

SectionValues::SectionValues(ProfileSection& lines) : lines_(lines) {
  for (std::size_t i = 0; i < lines_.size(); ++i) index_.emplace(Upper(Trimmed(lines_[i].first)), i);
}

std::string* SectionValues::Find(const std::string& entry) {
  auto it = index_.find(Upper(Trimmed(entry)));
  return it == index_.end() ? nullptr : &lines_[it->second].second;
}

std::string SectionValues::Read(const std::string& entry, const std::string& def) const {
  auto it = index_.find(Upper(Trimmed(entry)));
  if (it == index_.end()) return def;
  std::string value = Trimmed(lines_[it->second].second);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return value;
}

bool SectionValues::Write(const std::string& entry, const std::string& value) {
  if (std::string* stored = Find(entry)) {
    if (*stored == value) return false;
    *stored = value;
    return true;
  }
  index_.emplace(Upper(Trimmed(entry)), lines_.size());
  lines_.emplace_back(entry, value);
  return true;
}

}  // namespace qz
