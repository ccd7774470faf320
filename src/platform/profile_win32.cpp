#include "platform/profile_win32.h"

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

}  // namespace qz
