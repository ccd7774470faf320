// REG: registers template files with the running IDE (starting it when needed).
#pragma once
#include <string>

#include "app/cmd_context.h"

namespace qz {

void RegisterTemplates(CmdContext& ctx);

// DDEWINDOW: shows "Please Wait..." while the template list is sent to the IDE started as exe.
void DdeWindow(Services& svc, const std::string& exe, const std::string& templateList);

}  // namespace qz
