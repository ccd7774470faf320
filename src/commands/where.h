// WHERE tells an installer where the IDE is: the folders and files of one installed version, or of each.
#pragma once
#include "base/command_line.h"
#include "base/services.h"

namespace qz {

void Where(Services& svc, const CommandLine& line);

}  // namespace qz
