// RUN hands the rest of the command line to the shell's default action.
#pragma once
#include "app/cmd_context.h"

namespace qz {

void RunCommand(CmdContext& ctx);

}  // namespace qz
