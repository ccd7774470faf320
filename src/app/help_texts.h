// The two boxes that describe the program: the command summary (CMD) and the general description.
#pragma once
#include "base/services.h"

namespace qz {

Box CommandSummary(Services& svc);
Box GeneralDescription(Services& svc);

}  // namespace qz
