// ENV adds a value, such as a directory, to a machine-wide environment variable; UNENV takes it out again.
#pragma once
#include "base/command_line.h"
#include "base/services.h"

namespace qz {

void SetEnvironmentVariableCommand(Services& svc, const CommandLine& line);
// UNENV takes out of the variable what ENV put in it.
void RemoveEnvironmentValue(Services& svc, const CommandLine& line);

}  // namespace qz
