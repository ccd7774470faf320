// The command words and the procedure each runs.
#pragma once
#include "app/views.h"
#include "base/command_line.h"
#include "base/services.h"

namespace qz {

// Runs the procedure of the line's command word, or shows the general description for any other word.
void Dispatch(Services& svc, const CommandLine& line, Views& views);
// Whether the command of word takes the /USER switch (ENV and UNENV), and the /WHATIF switch (the commands that
// change files or variables and nothing else).
bool TakesUserSwitch(std::string_view word);
bool TakesWhatIfSwitch(std::string_view word);

}  // namespace qz
