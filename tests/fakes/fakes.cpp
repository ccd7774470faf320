#include "fakes/fakes.h"

#include "runtime/text.h"

namespace qz::fake {

namespace {
std::string SectionKey(const std::string& file, const std::string& section) {
  return Upper(file) + '\x01' + Upper(section);
}
}  // namespace

const std::string* FakeProfile::Find(const std::string& file, const std::string& section,
                                     const std::string& entry) const {
  auto it = sections_.find(SectionKey(file, section));
  if (it == sections_.end()) return nullptr;
  for (const auto& [key, value] : it->second)
    if (Upper(key) == Upper(entry)) return &value;
  return nullptr;
}

std::string FakeProfile::Read(const std::string& file, const std::string& section, const std::string& entry,
                              const std::string& def) {
  const std::string* value = Find(file, section, entry);
  return value ? *value : def;
}

bool FakeProfile::Write(const std::string& file, const std::string& section, const std::string& entry,
                        const std::string& value) {
  if (failWrites) return false;
  ++writes;
  if (auto* existing = const_cast<std::string*>(Find(file, section, entry))) {
    *existing = value;
  } else {
    sections_[SectionKey(file, section)].emplace_back(entry, value);
  }
  return true;
}

ProfileSection FakeProfile::ReadSection(const std::string& file, const std::string& section) {
  auto it = sections_.find(SectionKey(file, section));
  return it == sections_.end() ? ProfileSection{} : it->second;
}

bool FakeProfile::WriteSection(const std::string& file, const std::string& section, const ProfileSection& lines) {
  if (failWrites) return false;
  ++writes;
  sections_[SectionKey(file, section)] = lines;
  return true;
}

std::string Latin1Codec::AnsiToUtf8(std::string_view ansi) {
  std::string out;
  for (unsigned char c : ansi) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string Latin1Codec::Utf8ToAnsi(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
    } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
      unsigned code = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
      out += code < 0x100 ? static_cast<char>(code) : '?';
      i += 2;
    } else {
      out += '?';
      ++i;
      while (i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) ++i;
    }
  }
  return out;
}

}  // namespace qz::fake
