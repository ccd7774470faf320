// GETINI and PUTINI: every INI read and write of the program. A blank file name means WIN.INI.
#pragma once
#include <string>
#include <string_view>

#include "runtime/profile.h"

namespace qz {

inline constexpr std::size_t kIniValueMax = 1023;  // 1024-byte value buffer
inline constexpr std::size_t kIniFileMax = 259;    // 260-byte file name

// The value, cut to 1023 characters, or def when the entry does not exist.
std::string GETINI(Profile& profile, std::string_view section, std::string_view entry, std::string_view def,
                   std::string_view file);
void PUTINI(Profile& profile, std::string_view section, std::string_view entry, std::string_view value,
            std::string_view file);

}  // namespace qz
