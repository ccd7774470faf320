// The command words and the procedure each runs.
#pragma once
#include <array>
#include <span>
#include <string_view>

#include "app/cmd_context.h"

namespace qz {

using CommandProc = void (*)(CmdContext&);

struct Command {
  std::array<std::string_view, 3> words;  // upper case; unused slots empty
  CommandProc run;
};

// The table in dispatch order.
std::span<const Command> CommandTable();

// Runs the procedure of CMD1, or shows the general description for any other word.
void Dispatch(CmdContext& ctx);

void ShowCommandSummary(CmdContext& ctx);

}  // namespace qz
