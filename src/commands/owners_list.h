// OWNERS [owner]: the claims of the ledgers, for an installer author or support to read.
#pragma once
#include "base/command_line.h"
#include "base/services.h"

namespace qz {

void ListOwners(Services& svc, const CommandLine& line);

}  // namespace qz
