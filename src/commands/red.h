// RED adds directories to an entry of the IDE's redirection file and UNRED takes them out again; ABCPATH sets
// the library source path.
#pragma once
#include "base/command_line.h"
#include "base/services.h"

namespace qz {

void Redirection(Services& svc, const CommandLine& line);
// UNRED takes out of the entry what RED put in it.
void RemoveRedirection(Services& svc, const CommandLine& line);
void AbcPath(Services& svc, const CommandLine& line);

}  // namespace qz
