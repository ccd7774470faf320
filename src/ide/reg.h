// REG: registers template files with the running IDE (starting it when needed).
#pragma once
#include <string>

#include "base/command_line.h"
#include "base/services.h"
#include "runtime/processes.h"
#include "ide/please_wait.h"

namespace qz {

// REG a.tpl b.tpl [version]; view shows "Please Wait..." meanwhile.
void RegisterTemplates(Services& svc, const CommandLine& line, PleaseWaitView& view);

// Shows "Please Wait..." while the template list is sent to the IDE, which ide starts when it is not running.
void SendTemplates(Services& svc, PleaseWaitView& view, const ProgramStart& ide, const std::string& templateList);

}  // namespace qz
