// The program's version as its windows show it, and its help page.
#pragma once
#include <string_view>

#include "base/services.h"

namespace qz {

inline constexpr const char* kProgramVersion = "6.40  0001";

// F1 in a window: the help page beside the program, opened at the section named keyword.
void OpenHelp(Services& svc, std::string_view keyword);

}  // namespace qz
