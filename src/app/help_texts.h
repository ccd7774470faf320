// The two boxes that describe the program: the command summary (CMD) and the general description.
#pragma once
#include "base/services.h"

namespace qz {

void ShowCommandSummary(Services& svc);
void ShowGeneralDescription(Services& svc);

}  // namespace qz
