// Profile (INI) files through the platform's own profile service: WIN.INI (parts of which Windows keeps in
// the registry) and the program's own small files. The files the program edits for the IDE go through
// IniDocument instead, which keeps every byte it does not own.
#pragma once
#include <string>
#include <string_view>

namespace qz {

class Profile {
 public:
  virtual ~Profile() = default;
  // The whole value of entry in section, or def when the section or entry does not exist.
  // A blank file name means the user's WIN.INI.
  virtual std::string Read(const std::string& file, const std::string& section, const std::string& entry,
                           const std::string& def) = 0;
  // Writes value (creating the file when needed); false when the write failed.
  virtual bool Write(const std::string& file, const std::string& section, const std::string& entry,
                     const std::string& value) = 0;
};

inline constexpr std::size_t kIniValueMax = 1023;  // a value is read into 1024 bytes
inline constexpr std::size_t kIniFileMax = 259;    // a file name is held in 260 bytes

// The program's own settings and logs: a value cut to 1023 characters, or def when the entry does not
// exist. Names are taken without trailing blanks; a blank file name means WIN.INI.
std::string ReadIni(Profile& profile, std::string_view file, std::string_view section, std::string_view entry,
                    std::string_view def);
// Write failures are not reported: no caller's behaviour depends on them.
void WriteIni(Profile& profile, std::string_view file, std::string_view section, std::string_view entry,
              std::string_view value);

}  // namespace qz
