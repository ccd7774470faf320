#include "app/ini.h"

#include "runtime/text.h"

namespace qz {

std::string GETINI(Profile& profile, std::string_view section, std::string_view entry, std::string_view def,
                   std::string_view file) {
  std::string value = profile.Read(Cut(ClipView(file), kIniFileMax), Clip(section), Clip(entry),
                                   Cut(ClipView(def), kIniValueMax));
  return Cut(value, kIniValueMax);
}

void PUTINI(Profile& profile, std::string_view section, std::string_view entry, std::string_view value,
            std::string_view file) {
  // Write failures are not reported: the callers' behaviour does not depend on them.
  profile.Write(Cut(ClipView(file), kIniFileMax), Clip(section), Clip(entry), Cut(ClipView(value), kIniValueMax));
}

}  // namespace qz
