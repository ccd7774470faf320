// ENV adds a value, such as a directory, to a machine-wide environment variable.
#pragma once
#include "app/cmd_context.h"

namespace qz {

void SetEnvironmentVariableCommand(CmdContext& ctx);

}  // namespace qz
