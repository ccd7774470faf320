// RUN hands the rest of the command line to the shell's default action.
#pragma once
#include "base/command_line.h"
#include "base/services.h"

namespace qz {

void OpenWithShell(Services& svc, const CommandLine& line);

}  // namespace qz
