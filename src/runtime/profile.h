// Profile (INI) files: the platform's own profile service.
#pragma once
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qz {

// The lines of one section, in file order.
using ProfileSection = std::vector<std::pair<std::string, std::string>>;

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
  // Every entry of a section; empty when the section does not exist.
  virtual ProfileSection ReadSection(const std::string& file, const std::string& section) = 0;
  // Replaces the whole section in one rewrite of the file.
  virtual bool WriteSection(const std::string& file, const std::string& section, const ProfileSection& lines) = 0;
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

// A section read whole, looked up as reading each entry would: names without regard to case (the first
// of equal names wins), a value without the blanks around it or one pair of enclosing quotes.
class SectionValues {
 public:
  explicit SectionValues(ProfileSection& lines);
  // The entry's value as stored, for changing it in place; nullptr when the section lacks it.
  std::string* Find(const std::string& entry);
  // The value as an entry read gives it, or def.
  std::string Read(const std::string& entry, const std::string& def = "") const;
  // Changes an entry in place or adds it at the end; true when the stored text changed.
  bool Write(const std::string& entry, const std::string& value);

 private:
  ProfileSection& lines_;
  std::unordered_map<std::string, std::size_t> index_;  // upper-cased name -> line
};

}  // namespace qz
