#include "platform/profile.h"

#include "text/text.h"

namespace qz {

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

}  // namespace qz
