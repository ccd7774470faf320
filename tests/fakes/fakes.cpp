#include "fakes/fakes.h"

#include "runtime/text.h"

namespace qz::fake {

std::string FakeProfile::Key(const std::string& file, const std::string& section, const std::string& entry) {
  return Upper(file) + '\x01' + Upper(section) + '\x01' + Upper(entry);
}

std::string FakeProfile::Read(const std::string& file, const std::string& section, const std::string& entry,
                              const std::string& def) {
  auto it = values_.find(Key(file, section, entry));
  return it == values_.end() ? def : it->second;
}

bool FakeProfile::Write(const std::string& file, const std::string& section, const std::string& entry,
                        const std::string& value) {
  if (failWrites) return false;
  ++writes;
  values_[Key(file, section, entry)] = value;
  return true;
}

const std::string* FakeProfile::Find(const std::string& file, const std::string& section,
                                     const std::string& entry) const {
  auto it = values_.find(Key(file, section, entry));
  return it == values_.end() ? nullptr : &it->second;
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
