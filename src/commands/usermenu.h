// USERMENU (MENU): puts an application on the IDE's user menu.
#pragma once
#include "base/command_line.h"
#include "base/services.h"

namespace qz {

void UserMenu(Services& svc, const CommandLine& line);
// UNMENU takes the AppRef's menu item out again.
void RemoveUserMenu(Services& svc, const CommandLine& line);

}  // namespace qz
