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
  // Nobody could close it: an installer learns at once (exit code 3) that the IDE must be closed first.
  if (svc.Unattended()) {
    svc.Show({Clip(title), svc.tr("Because clarion is open, this operation could not be completed."), Icon::None,
              Buttons::Ok, Button::Ok, Outcome::IdeRunning});
    return false;
  }
  for (int prompts = 1; prompts < 5; ++prompts) {
    Box prompt;
    prompt.caption = Clip(title);
    prompt.text = svc.tr("Clarion must be closed!") + "||" +
                  svc.tr("Press OK when Clarion is closed, Cancel to cancel this operation.");
    prompt.icon = Icon::WinLogo;
    prompt.buttons = Buttons::OkCancel;
    if (svc.Show(prompt) == Button::Cancel) {
      svc.Fail();
      return false;
    }
    if (!ClarionIsOpen(svc)) return true;
  }
  Box giveUp;
  giveUp.caption = Clip(title);
  giveUp.text = svc.tr("Because clarion is open, this operation could not be completed.");
  giveUp.icon = Icon::None;
  giveUp.outcome = Outcome::Error;
  svc.Show(giveUp);
  return false;
}

}  // namespace qz
