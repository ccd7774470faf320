// USERMENU (MENU): puts an application on the IDE's user menu.
#pragma once
#include "app/cmd_context.h"

namespace qz {

void UserMenu(CmdContext& ctx);

}  // namespace qz
