// RED adds a directory to an entry of the IDE's redirection file; ABCPATH sets the library source path.
#pragma once
#include "app/cmd_context.h"

namespace qz {

void Redirection(CmdContext& ctx);
void AbcPath(CmdContext& ctx);

}  // namespace qz
