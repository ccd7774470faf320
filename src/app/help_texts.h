// The two boxes that describe the program: the command summary (CMD) and the general description.
#pragma once
#include "app/services.h"

namespace qz {

// The program's version and build, as its windows show them.
inline constexpr const char* kProgramVersion = "6.40  0001";

Box CommandSummary(Services& svc);
Box GeneralDescription(Services& svc);

// F1 in a window: the help page beside the program, opened at the window's help keyword.
void OpenHelp(Services& svc, std::string_view keyword);

}  // namespace qz
