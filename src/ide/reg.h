// REG: registers template files with the running IDE (starting it when needed).
#pragma once
#include <string>

#include "base/command_line.h"
#include "base/installation.h"
#include "base/services.h"
#include "platform/processes.h"
#include "ide/please_wait.h"

namespace qz {

// REG a.tpl b.tpl [version]; view shows "Please Wait..." meanwhile.
void RegisterTemplates(Services& svc, const CommandLine& line, PleaseWaitView& view);

// A registration killed during its wait left the user's AutoPick noted beside the IDE's INI file: put it back,
// unless a registration is running now. Every command that changes the IDE's INI file calls it first.
void RecoverAutoPick(Services& svc, const Installation& ide);

// Shows "Please Wait..." while the template list is sent to the IDE, which ide starts when it is not running.
void SendTemplates(Services& svc, PleaseWaitView& view, const ProgramStart& ide, const std::string& templateList);

}  // namespace qz
