#include "app/dispatcher.h"

#include "app/help_texts.h"
#include "commands/env.h"
#include "commands/include.h"
#include "commands/red.h"
#include "commands/run.h"
#include "commands/usermenu.h"
#include "editor/editor_window.h"
#include "ide/reg.h"
#include "runtime/text.h"

namespace qz {

void ShowCommandSummary(CmdContext& ctx) { ctx.svc.Show(CommandSummary(ctx.svc)); }

namespace {

// To add a command: write its procedure in its own file, declare it in a header beside it
// and give it its row here, in the order the words are tried.
constexpr Command kCommands[] = {
    {{"REG"}, RegisterTemplates},
    {{"USERMENU", "MENU"}, UserMenu},
    {{"INCLUDE"}, IncludeTemplate},
    {{"LIBSRC", "CLASS", "ABCPATH"}, AbcPath},
    {{"ENVIRONMENT", "ENV"}, SetEnvironmentVariableCommand},
    {{"RED", "REDIRECT", "REDIRECTION"}, Redirection},
    {{"RUN"}, RunCommand},
    {{"EDIT"}, EditIni},
    {{"CMD"}, ShowCommandSummary},
};

}  // namespace

std::span<const Command> CommandTable() { return kCommands; }

void Dispatch(CmdContext& ctx) {
  std::string_view word = ClipView(ctx.CMD1);
  for (const Command& command : kCommands) {
    for (std::string_view w : command.words) {
      if (!w.empty() && w == word) {
        command.run(ctx);
        return;
      }
    }
  }
  ctx.svc.Show(GeneralDescription(ctx.svc));
}

}  // namespace qz
