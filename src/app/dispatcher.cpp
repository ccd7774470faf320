#include "app/dispatcher.h"

#include <array>
#include <string_view>

#include "app/help_texts.h"
#include "commands/env.h"
#include "commands/include.h"
#include "commands/red.h"
#include "commands/run.h"
#include "commands/usermenu.h"
#include "commands/where.h"
#include "editor/editor_window.h"
#include "ide/reg.h"
#include "runtime/text.h"

namespace qz {

namespace {

struct Command {
  std::array<std::string_view, 3> words;  // upper case; unused slots empty
  void (*run)(Services& svc, const CommandLine& line, Views& views);
  bool takesUser = false;    // the /USER switch
  bool takesWhatIf = false;  // the /WHATIF switch: a dry run
};

// To add a command: write its procedure in its own file, declare it in a header beside it and give it its
// row here, in the order the words are tried. A command with a window gets it from views.
constexpr Command kCommands[] = {
    {{"REG"},
     [](Services& svc, const CommandLine& line, Views& views) { RegisterTemplates(svc, line, *views.PleaseWait()); }},
    {{"USERMENU", "MENU"}, [](Services& svc, const CommandLine& line, Views&) { UserMenu(svc, line); }, false, true},
    {{"INCLUDE"}, [](Services& svc, const CommandLine& line, Views&) { IncludeTemplate(svc, line); }, false, true},
    {{"LIBSRC", "CLASS", "ABCPATH"},
     [](Services& svc, const CommandLine& line, Views&) { AbcPath(svc, line); },
     false,
     true},
    {{"ENVIRONMENT", "ENV"},
     [](Services& svc, const CommandLine& line, Views&) { SetEnvironmentVariableCommand(svc, line); },
     true,
     true},
    {{"RED", "REDIRECT", "REDIRECTION"},
     [](Services& svc, const CommandLine& line, Views&) { Redirection(svc, line); },
     false,
     true},
    {{"RUN"}, [](Services& svc, const CommandLine& line, Views&) { RunCommand(svc, line); }},
    {{"EDIT"}, [](Services& svc, const CommandLine& line, Views& views) { EditIni(svc, line, views.Editor().get()); }},
    {{"CMD"}, [](Services& svc, const CommandLine&, Views&) { svc.Show(CommandSummary(svc)); }},
    // For uninstallers: each takes out again what the command it names put in.
    {{"UNRED", "UNREDIRECT"},
     [](Services& svc, const CommandLine& line, Views&) { RemoveRedirection(svc, line); },
     false,
     true},
    {{"UNENV", "UNENVIRONMENT"},
     [](Services& svc, const CommandLine& line, Views&) { RemoveEnvironmentValue(svc, line); },
     true,
     true},
    {{"UNMENU", "UNUSERMENU"},
     [](Services& svc, const CommandLine& line, Views&) { RemoveUserMenu(svc, line); },
     false,
     true},
    {{"UNINCLUDE"}, [](Services& svc, const CommandLine& line, Views&) { RemoveInclude(svc, line); }, false, true},
    // For installers: where the IDE is.
    {{"WHERE"}, [](Services& svc, const CommandLine& line, Views&) { Where(svc, line); }},
};

const Command* Find(std::string_view word) {
  for (const Command& command : kCommands)
    for (std::string_view w : command.words)
      if (!w.empty() && w == ClipView(word)) return &command;
  return nullptr;
}

}  // namespace

bool TakesUserSwitch(std::string_view word) {
  const Command* command = Find(word);
  return command && command->takesUser;
}

bool TakesWhatIfSwitch(std::string_view word) {
  const Command* command = Find(word);
  return command && command->takesWhatIf;
}

void Dispatch(Services& svc, const CommandLine& line, Views& views) {
  if (const Command* command = Find(line.Word())) {
    command->run(svc, line, views);
    return;
  }
  svc.Show(GeneralDescription(svc));
}

}  // namespace qz
