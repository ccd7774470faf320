// The command words and the procedure each runs.
#pragma once
#include "app/views.h"
#include "base/command_line.h"
#include "base/services.h"

namespace qz {

// Runs the procedure of the line's command word, or shows the general description for any other word.
void Dispatch(Services& svc, const CommandLine& line, Views& views);
// The switches a command may take besides /UNATTENDED and /LOG, which every command takes.
inline constexpr unsigned kUserSwitch = 1, kWhatIfSwitch = 2, kOwnerSwitch = 4, kAdoptSwitch = 8;
// Whether the command of word takes the switch.
bool TakesSwitch(std::string_view word, unsigned which);

}  // namespace qz
