// ENV adds a value, such as a directory, to a machine-wide environment variable.
#pragma once
#include "base/command_line.h"
#include "base/services.h"

namespace qz {

void SetEnvironmentVariableCommand(Services& svc, const CommandLine& line);

}  // namespace qz
