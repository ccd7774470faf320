// RED adds a directory to an entry of the IDE's redirection file; ABCPATH sets the library source path.
#pragma once
#include "base/command_line.h"
#include "base/services.h"

namespace qz {

void Redirection(Services& svc, const CommandLine& line);
void AbcPath(Services& svc, const CommandLine& line);

}  // namespace qz
