// INCLUDE appends an #INCLUDE line to a template file unless the file already has it.
#pragma once
#include "app/cmd_context.h"

namespace qz {

void IncludeTemplate(CmdContext& ctx);

}  // namespace qz
