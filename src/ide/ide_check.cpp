#include "ide/ide_check.h"

#include "ide/dde_channel.h"
#include "text/text.h"

namespace qz {

bool ClarionIsOpen(Services& svc) {
  DdeChannel dde(svc, ProgramStart{});
  dde.Open();
  return dde.IsOpen();
}

bool ClarionMustBeClosed(Services& svc, std::string_view title) {
  const std::string couldNot = svc.tr("Because clarion is open, this operation could not be completed.");
  // Nobody could close it: an installer learns at once (exit code 3) that the IDE must be closed first.
  if (svc.Unattended()) {
    svc.IdeRunning(Clip(title), couldNot);
    return false;
  }
  for (int prompts = 1; prompts < 5; ++prompts) {
    if (svc.Ask(Clip(title),
                svc.tr("Clarion must be closed!") + "||" +
                    svc.tr("Press OK when Clarion is closed, Cancel to cancel this operation."),
                Buttons::OkCancel, Button::Ok, Icon::WinLogo) == Button::Cancel) {
      svc.Fail();
      return false;
    }
    if (!ClarionIsOpen(svc)) return true;
  }
  svc.Error(Clip(title), couldNot, Icon::None);
  return false;
}

}  // namespace qz
