#include <gtest/gtest.h>

#include "app/dispatcher.h"
#include "unit/harness.h"

namespace qz {
namespace {

const char* const kIni = "C:\\C6\\BIN\\C60EE.ini.";

struct Reg : fake::Harness {
  explicit Reg(const char* autoPick = nullptr) {
    profile.Write("", "Clarion 6.0  Enterprise Edition", "Root", "C:\\C6");
    profile.Write("", "Clarion 6.0  Enterprise Edition", "ExeName", "C60EE");
    profile.Write("", "Clarion 5.5", "Root", "C:\\C55");
    profile.Write("", "Clarion 5.5", "ExeName", "C55");
    if (autoPick) profile.Write(kIni, "Environment", "AutoPick", autoPick);
    transport.serverUp = [](int) { return true; };
  }
  void Run(const std::string& arguments) { fake::Harness::Run("REG " + arguments); }
  std::string AutoPick(const std::string& ini = kIni) {
    const std::string* v = profile.Find(ini, "Environment", "AutoPick");
    return v ? *v : "<absent>";
  }
};

TEST(reg, sends_one_command_with_every_existing_template) {
  struct Case {
    const char* arguments;
    std::vector<const char*> existing;
    const char* sent;                  // nullptr: nothing sent
    std::vector<std::string> missing;  // files named in error boxes
  } cases[] = {
      {"a.tpl b.tpl", {"a.tpl", "b.tpl"}, "[RegisterTemplateChain(\"a.tpl\" \"b.tpl\",0)]", {}},
      {"a.tpl gone.tpl", {"a.tpl"}, "[RegisterTemplateChain(\"a.tpl\",0)]", {"gone.tpl"}},
      {"\"C:\\My Templates\\x.tpl\" 6", {"C:\\My Templates\\x.tpl"},
       "[RegisterTemplateChain(\"C:\\My Templates\\x.tpl\",0)]", {}},
      {"a.tpl 4", {"a.tpl", "4"}, nullptr, {}},  // 4 is the version, even with a file of that name
      {"", {}, nullptr, {}},
      {"x.tpl y.tpl", {}, nullptr, {"x.tpl", "y.tpl"}},
  };
  for (const auto& c : cases) {
    Reg t;
    for (auto f : c.existing) t.files.existing.insert(f);
    t.Run(c.arguments);
    if (c.sent) {
      EXPECT_EQ(t.transport.executes, std::vector<std::string>{c.sent}) << c.arguments;
    } else {
      EXPECT_TRUE(t.transport.executes.empty()) << c.arguments;
    }
    std::vector<std::string> named;
    for (const Box& box : t.dialogs.shown) {
      if (box.caption == "QZCL Register Error") named.push_back(box.text);
      EXPECT_EQ(box.icon, Icon::Information);
    }
    std::vector<std::string> expected;
    for (const auto& f : c.missing) expected.push_back("Template file " + f + " does not exist.");
    EXPECT_EQ(named, expected) << c.arguments;
  }
}

TEST(reg, switches_auto_pick_off_around_the_registration_and_restores_it) {
  for (const char* before : {static_cast<const char*>(nullptr), "on", "off"}) {
    Reg t(before);
    t.files.existing.insert("a.tpl");
    std::string duringRegistration;
    t.transport.serverUp = [&](int) {
      duringRegistration = t.AutoPick();
      return true;
    };
    t.Run("a.tpl");
    EXPECT_EQ(duringRegistration, "off");
    EXPECT_EQ(t.AutoPick(), before ? before : "on");
    EXPECT_EQ(t.views.events, (std::vector<std::string>{"open \"a.tpl\"", "display", "close"}));
  }
}

TEST(reg, touches_nothing_without_templates_or_installation) {
  Reg alone;
  alone.Run("");
  EXPECT_EQ(alone.AutoPick(), "<absent>");
  EXPECT_TRUE(alone.dialogs.shown.empty());
  EXPECT_TRUE(alone.views.events.empty());

  Reg noInstallation;
  noInstallation.files.existing.insert("a.tpl");
  noInstallation.Run("a.tpl 4");
  ASSERT_EQ(noInstallation.dialogs.shown.size(), 1u);
  EXPECT_EQ(noInstallation.dialogs.shown[0].caption, "Entry Not Found");
  EXPECT_EQ(noInstallation.AutoPick("C:\\C4\\BIN\\CW4.ini."), "<absent>");
  EXPECT_EQ(noInstallation.svc.ExitCode(), kExitFailed);
}

TEST(reg, version_55_addresses_its_own_installation) {
  Reg t;
  t.files.existing.insert("a.tpl");
  t.Run("a.tpl 55");
  EXPECT_EQ(t.AutoPick("C:\\C55\\BIN\\C55.ini."), "on");
  EXPECT_EQ(t.processes.started.size(), 0u);
  EXPECT_EQ(t.transport.executes.size(), 1u);
}

TEST(reg, an_unreachable_ide_gets_nothing_and_auto_pick_comes_back) {
  Reg t("on");
  t.files.existing.insert("a.tpl");
  t.transport.serverUp = nullptr;
  t.processes.fail = true;
  t.Run("a.tpl");
  EXPECT_TRUE(t.transport.executes.empty());
  EXPECT_EQ(t.processes.started, std::vector<std::string>{"C60EE"});
  EXPECT_EQ(t.AutoPick(), "on");
  EXPECT_TRUE(t.dialogs.shown.empty());
  EXPECT_EQ(t.svc.ExitCode(), kExitFailed);
}

TEST(reg, a_template_list_longer_than_the_window_shows_is_sent_whole) {
  Reg t;
  std::string arguments;
  for (int i = 0; i < 7; ++i) {
    std::string name = "C:\\Templates\\Vendor\\template-" + std::to_string(i) + ".tpl";
    t.files.existing.insert(name);
    arguments += name + " ";
  }
  t.Run(arguments);
  ASSERT_EQ(t.transport.executes.size(), 1u);
  EXPECT_EQ(t.transport.executes[0].size(), std::string("[RegisterTemplateChain(,0)]").size() + 7 * 36 + 6);
  EXPECT_GT(t.views.events[0].size(), std::string("open ").size() + 255);
}

}  // namespace
}  // namespace qz
