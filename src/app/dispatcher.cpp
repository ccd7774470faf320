#include "app/dispatcher.h"

#include <array>
#include <string_view>

#include "app/help_texts.h"
#include "commands/env.h"
#include "commands/include.h"
#include "commands/owners_list.h"
#include "commands/red.h"
#include "commands/run.h"
#include "commands/usermenu.h"
#include "commands/where.h"
#include "editor/editor_window.h"
#include "ide/reg.h"
#include "text/text.h"

namespace qz {

namespace {

struct Command {
  std::array<std::string_view, 3> words;  // upper case; unused slots empty
  void (*run)(Services& svc, const CommandLine& line, Views& views);
  unsigned switches = 0;  // the switches it takes besides /UNATTENDED and /LOG
};

// The adding commands and their removal commands change what an installer adds: they take a dry run and an
// owner, and the adding ones take /ADOPT.
constexpr unsigned kRemoves = kWhatIfSwitch | kOwnerSwitch;
constexpr unsigned kAdds = kRemoves | kAdoptSwitch;

// To add a command: write its procedure in its own file, declare it in a header beside it and give it its
// row here, in the order the words are tried. A command with a window gets it from views.
constexpr Command kCommands[] = {
    {{"REG"},
     [](Services& svc, const CommandLine& line, Views& views) { RegisterTemplates(svc, line, *views.PleaseWait()); }},
    {{"USERMENU", "MENU"}, [](Services& svc, const CommandLine& line, Views&) { UserMenu(svc, line); }, kAdds},
    {{"INCLUDE"}, [](Services& svc, const CommandLine& line, Views&) { IncludeTemplate(svc, line); }, kAdds},
    {{"LIBSRC", "CLASS", "ABCPATH"},
     [](Services& svc, const CommandLine& line, Views&) { AbcPath(svc, line); },
     kWhatIfSwitch},
    {{"ENVIRONMENT", "ENV"},
     [](Services& svc, const CommandLine& line, Views&) { SetEnvironmentVariableCommand(svc, line); },
     kAdds | kUserSwitch},
    {{"RED", "REDIRECT", "REDIRECTION"},
     [](Services& svc, const CommandLine& line, Views&) { Redirection(svc, line); },
     kAdds},
    {{"RUN"}, [](Services& svc, const CommandLine& line, Views&) { OpenWithShell(svc, line); }},
    {{"EDIT"}, [](Services& svc, const CommandLine& line, Views& views) { EditIni(svc, line, views.Editor().get()); }},
    {{"CMD"}, [](Services& svc, const CommandLine&, Views&) { ShowCommandSummary(svc); }},
    // For uninstallers: each takes out again what the command it names put in.
    {{"UNRED", "UNREDIRECT"},
     [](Services& svc, const CommandLine& line, Views&) { RemoveRedirection(svc, line); },
     kRemoves},
    {{"UNENV", "UNENVIRONMENT"},
     [](Services& svc, const CommandLine& line, Views&) { RemoveEnvironmentValue(svc, line); },
     kRemoves | kUserSwitch},
    {{"UNMENU", "UNUSERMENU"},
     [](Services& svc, const CommandLine& line, Views&) { RemoveUserMenu(svc, line); },
     kRemoves},
    {{"UNINCLUDE"}, [](Services& svc, const CommandLine& line, Views&) { RemoveInclude(svc, line); }, kRemoves},
    // For installers: where the IDE is, and who added what.
    {{"WHERE"}, [](Services& svc, const CommandLine& line, Views&) { Where(svc, line); }},
    {{"OWNERS"}, [](Services& svc, const CommandLine& line, Views&) { ListOwners(svc, line); }},
};

const Command* Find(std::string_view word) {
  for (const Command& command : kCommands)
    for (std::string_view w : command.words)
      if (!w.empty() && w == ClipView(word)) return &command;
  return nullptr;
}

}  // namespace

bool TakesSwitch(std::string_view word, unsigned which) {
  const Command* command = Find(word);
  return command && (command->switches & which);
}

void Dispatch(Services& svc, const CommandLine& line, Views& views) {
  if (const Command* command = Find(line.Word())) {
    command->run(svc, line, views);
    return;
  }
  ShowGeneralDescription(svc);
}

}  // namespace qz
