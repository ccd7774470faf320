// INCLUDE appends an #INCLUDE line to a template file unless the file already has it.
#pragma once
#include "base/command_line.h"
#include "base/services.h"

namespace qz {

void IncludeTemplate(Services& svc, const CommandLine& line);
// UNINCLUDE takes that line out again.
void RemoveInclude(Services& svc, const CommandLine& line);

}  // namespace qz
