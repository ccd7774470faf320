#include <gtest/gtest.h>

#include "ide/ide_check.h"
#include "unit/harness.h"

namespace qz {
namespace {

const char* const kPrompt =
    "Clarion must be closed!||Press OK when Clarion is closed, Cancel to cancel this operation.";
const char* const kGiveUp = "Because clarion is open, this operation could not be completed.";

TEST(ide_check, clarion_is_open_asks_the_service_once_and_starts_nothing) {
  for (bool running : {false, true}) {
    fake::Harness h;
    h.transport.serverUp = [running](int) { return running; };
    EXPECT_EQ(ClarionIsOpen(h.svc, "C60EE"), running);
    EXPECT_EQ(h.transport.opens.size(), 1u);
    EXPECT_TRUE(h.processes.started.empty());
    EXPECT_EQ(h.transport.closed.size(), running ? 1u : 0u);
    EXPECT_EQ(h.profile.writes, 0);  // nothing logged
    EXPECT_TRUE(h.dialogs.shown.empty());
  }
}

TEST(ide_check, clarion_must_be_closed_prompts_until_closed_cancelled_or_four_times) {
  struct Case {
    const char* name;
    int closedAfterCheck;  // the IDE stops answering from this check on (0: never)
    std::vector<Button> answers;
    bool result;
    std::size_t prompts;
    bool giveUp;
  } cases[] = {
      {"closed before the first OK", 1, {Button::Ok}, true, 1, false},
      {"closed before the third OK", 3, {Button::Ok, Button::Ok, Button::Ok}, true, 3, false},
      {"cancel at once", 0, {Button::Cancel}, false, 1, false},
      {"cancel at the second prompt", 0, {Button::Ok, Button::Cancel}, false, 2, false},
      {"left running through four OKs", 0, {}, false, 4, true},
  };
  for (const auto& c : cases) {
    fake::Harness h;
    int closedAt = c.closedAfterCheck;
    h.transport.serverUp = [closedAt](int attempt) { return closedAt == 0 || attempt < closedAt; };
    h.dialogs.answers = c.answers;
    EXPECT_EQ(ClarionMustBeClosed(h.svc, "C60EE", "Add Accessories Item   "), c.result) << c.name;
    ASSERT_EQ(h.dialogs.shown.size(), c.prompts + (c.giveUp ? 1 : 0)) << c.name;
    for (std::size_t i = 0; i < c.prompts; ++i) {
      const Box& box = h.dialogs.shown[i];
      EXPECT_EQ(box.text, kPrompt);
      EXPECT_EQ(box.caption, "Add Accessories Item");
      EXPECT_EQ(box.icon, Icon::WinLogo);
      EXPECT_EQ(box.buttons, Buttons::OkCancel);
    }
    if (c.giveUp) {
      const Box& box = h.dialogs.shown.back();
      EXPECT_EQ(box.text, kGiveUp);
      EXPECT_EQ(box.caption, "Add Accessories Item");
      EXPECT_EQ(box.icon, Icon::None);
      EXPECT_EQ(box.buttons, Buttons::Ok);
    }
    EXPECT_EQ(h.svc.ExitCode(), c.result ? kExitSuccess : kExitFailed) << c.name;
    EXPECT_EQ(h.transport.closed.size(), static_cast<std::size_t>(h.transport.lastChannel)) << c.name;
  }
}

}  // namespace
}  // namespace qz
