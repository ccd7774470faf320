#include "runtime/profile_win32.h"

#include <windows.h>

#include <vector>

namespace qz {

std::string Win32Profile::Read(const std::string& file, const std::string& section, const std::string& entry,
                               const std::string& def) {
  // The API cuts silently; grow the buffer until the value fits, so nothing stored is lost.
  std::vector<char> buf(1024);
  for (;;) {
    DWORD size = static_cast<DWORD>(buf.size());
    DWORD n = file.empty() ? GetProfileStringA(section.c_str(), entry.c_str(), def.c_str(), buf.data(), size)
                           : GetPrivateProfileStringA(section.c_str(), entry.c_str(), def.c_str(), buf.data(), size,
                                                      file.c_str());
    if (n + 1 < size || buf.size() >= (1u << 24)) return std::string(buf.data(), n);
    buf.resize(buf.size() * 4);
  }
}

bool Win32Profile::Write(const std::string& file, const std::string& section, const std::string& entry,
                         const std::string& value) {
  BOOL ok = file.empty() ? WriteProfileStringA(section.c_str(), entry.c_str(), value.c_str())
                         : WritePrivateProfileStringA(section.c_str(), entry.c_str(), value.c_str(), file.c_str());
  return ok != FALSE;
}

ProfileSection Win32Profile::ReadSection(const std::string& file, const std::string& section) {
  std::vector<char> buf(1u << 16);
  DWORD n = 0;
  for (;;) {
    n = GetPrivateProfileSectionA(section.c_str(), buf.data(), static_cast<DWORD>(buf.size()), file.c_str());
    if (n + 2 < buf.size() || buf.size() >= (1u << 26)) break;
    buf.resize(buf.size() * 4);  // the API says "too small" by returning the size less two
  }
  ProfileSection lines;
  for (std::size_t i = 0; i < n;) {
    std::string line(buf.data() + i);
    i += line.size() + 1;
    if (line.empty()) continue;
    auto eq = line.find('=');
    if (eq == std::string::npos) {
      lines.emplace_back(line, std::string());
    } else {
      lines.emplace_back(line.substr(0, eq), line.substr(eq + 1));
    }
  }
  return lines;
}

bool Win32Profile::WriteSection(const std::string& file, const std::string& section, const ProfileSection& lines) {
  std::string block;
  for (const auto& [key, value] : lines) {
    block += key + "=" + value;
    block += '\0';
  }
  block += '\0';
  return WritePrivateProfileSectionA(section.c_str(), block.c_str(), file.c_str()) != FALSE;
}

}  // namespace qz
