#include <gtest/gtest.h>

#include <optional>

#include "app/dispatcher.h"
#include "unit/harness.h"

namespace qz {
namespace {

const std::string kKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
const char* const kAutoExec = "C:\\AutoExec.Bat";
using Stored = fake::FakeRegistry::Stored;

struct Env : fake::Harness {
  void Set(const std::string& name, RegType type, const std::string& text) {
    registry.values[kKey + "\\" + name] = {type, text};
  }
  std::optional<Stored> Get(const std::string& name) {
    auto it = registry.values.find(kKey + "\\" + name);
    if (it == registry.values.end()) return std::nullopt;
    return it->second;
  }
};

TEST(env, adds_the_value_as_a_whole_item_and_keeps_the_type) {
  const auto S = RegType::String, X = RegType::ExpandString;
  struct Case {
    const char* name;
    const char* value;  // as typed after the name
    std::optional<Stored> before;
    Stored after;
    bool written;
  } cases[] = {
      {"QZ_HOME", "C:\\QZ", std::nullopt, {S, "C:\\QZ"}, true},
      {"QZ_LEVEL", "42", std::nullopt, {S, "42"}, true},  // numbers are text too
      {"QZ_HOME", "C:\\B", Stored{S, "C:\\A   "}, {S, "C:\\A;C:\\B"}, true},
      {"QZ_HOME", "C:\\B", Stored{S, ""}, {S, "C:\\B"}, true},
      {"QZ_HOME", "C:\\TOOLS", Stored{S, "C:\\A;c:\\tools"}, {S, "C:\\A;c:\\tools"}, false},
      {"QZ_HOME", "C:\\Tools", Stored{S, "C:\\Tools\\;C:\\A"}, {S, "C:\\Tools\\;C:\\A"}, false},
      {"QZ_HOME", "C:\\Tools\\", Stored{S, "C:\\A; C:\\Tools "}, {S, "C:\\A; C:\\Tools "}, false},
      {"QZ_HOME", "C:\\Tools", Stored{S, "C:\\Tools2"}, {S, "C:\\Tools2;C:\\Tools"}, true},
      {"QZ_HOME", "\"C:\\My Tools\"", Stored{S, "C:\\A"}, {S, "C:\\A;C:\\My Tools"}, true},
      {"Path", "C:\\QZ", Stored{X, "%SystemRoot%\\system32"}, {X, "%SystemRoot%\\system32;C:\\QZ"}, true},
  };
  for (const auto& c : cases) {
    Env t;
    const std::string var = c.name;
    const std::string arguments = var + " " + c.value;
    if (c.before) t.Set(var, c.before->type, c.before->text);
    t.Run((var == "QZ_LEVEL" ? "ENVIRONMENT " : "ENV ") + arguments);  // both words, once each way
    auto after = t.Get(var);
    ASSERT_TRUE(after) << arguments;
    EXPECT_EQ(after->type, c.after.type) << arguments;
    EXPECT_EQ(after->text, c.after.text) << arguments;
    // Programs are told only of a change that happened.
    std::vector<std::string> events;
    if (c.written) events = {"write " + var, "broadcast"};
    EXPECT_EQ(t.registry.events, events) << arguments;
    EXPECT_TRUE(t.dialogs.shown.empty()) << arguments;
    EXPECT_EQ(t.svc.ExitCode(), kExitSuccess) << arguments;
  }
}

TEST(env, refuses_with_a_box_and_leaves_the_value_when_it_cannot_be_added_safely) {
  const std::string full(32767 - 2, 'x');  // ";AB" takes it one past the limit, ";A" exactly to it
  struct Case {
    const char* what;
    std::optional<Stored> before;
    std::optional<RegResult> readFailure;
    const char* reason;
  } cases[] = {
      {"number", Stored{RegType::Other, ""}, std::nullopt, "Its current value is not text, so it was left as it is."},
      {"denied", std::nullopt, RegResult{RegStatus::AccessDenied, 5},
       "Access to its current value in the registry was denied."},
      {"huge", std::nullopt, RegResult{RegStatus::TooLarge, 234}, "Its current value is too large to read."},
      {"other", std::nullopt, RegResult{RegStatus::OtherError, 1018},
       "Its current value could not be read. Windows error: 1018"},
      {"too long", Stored{RegType::String, full}, std::nullopt,
       "The result would be longer than 32,767 characters, the most Windows allows."},
  };
  for (const auto& c : cases) {
    Env t;
    if (c.before) t.Set("QZ_VAR", c.before->type, c.before->text);
    if (c.readFailure) t.registry.readFailures[kKey + "\\QZ_VAR"] = *c.readFailure;
    t.Run("ENV QZ_VAR AB");
    EXPECT_TRUE(t.registry.events.empty()) << c.what;
    auto after = t.Get("QZ_VAR");
    EXPECT_EQ(after.has_value(), c.before.has_value()) << c.what;
    if (after) {
      EXPECT_TRUE(after->text == c.before->text) << c.what;
    }
    ASSERT_EQ(t.dialogs.shown.size(), 1u) << c.what;
    const Box& box = t.dialogs.shown[0];
    EXPECT_EQ(box.caption, "Environment Variable");
    EXPECT_EQ(box.text, std::string("The value was not added to the environment variable:|QZ_VAR||") + c.reason);
    EXPECT_EQ(box.icon, Icon::Exclamation);
    EXPECT_EQ(t.svc.ExitCode(), kExitFailed) << c.what;
  }
  Env fits;  // exactly at the limit is still written
  fits.Set("QZ_VAR", RegType::String, full);
  fits.Run("ENV QZ_VAR A");
  EXPECT_EQ(fits.Get("QZ_VAR")->text.size(), 32767u);
}

TEST(env, writes_nothing_and_fails_silently_without_a_name_a_value_or_a_successful_write) {
  for (const char* arguments : {"ENV", "ENV \"\" C:\\QZ", "ENV QZ_HOME", "ENV QZ_HOME \"  \"", "ENV QZ_HOME C:\\QZ"}) {
    Env t;
    t.registry.failWrites = std::string(arguments) == "ENV QZ_HOME C:\\QZ";
    t.Run(arguments);
    EXPECT_TRUE(t.registry.values.empty()) << arguments;
    for (const auto& e : t.registry.events) EXPECT_NE(e, "broadcast") << arguments;
    EXPECT_TRUE(t.dialogs.shown.empty()) << arguments;
    EXPECT_EQ(t.svc.ExitCode(), kExitFailed) << arguments;
  }
}

TEST(env, windows_95_family_appends_to_the_startup_file_unless_a_setting_line_holds_the_value) {
  const char* const added = "QZ_HOME=C:\\QZ;%QZ_HOME%\r\n";
  struct Case {
    const char* before;  // nullptr: no start-up file
    const char* after;
  } cases[] = {
      {"@ECHO OFF\r\n", "@ECHO OFF\r\nQZ_HOME=C:\\QZ;%QZ_HOME%\r\n"},
      {"@ECHO OFF", "@ECHO OFF\r\nQZ_HOME=C:\\QZ;%QZ_HOME%\r\n"},  // never joined onto the last line
      {"", added},
      {"SET qz_home=c:\\qz\\;%QZ_HOME%\r\n", nullptr},
      {"  QZ_HOME = C:\\A;C:\\QZ\r\n", nullptr},
      {"REM SET QZ_HOME=C:\\QZ\r\n", "REM SET QZ_HOME=C:\\QZ\r\nQZ_HOME=C:\\QZ;%QZ_HOME%\r\n"},
      {"SET QZ_HOME2=C:\\QZ\r\n", "SET QZ_HOME2=C:\\QZ\r\nQZ_HOME=C:\\QZ;%QZ_HOME%\r\n"},
      {"SET QZ_HOME=C:\\QZ2\r\n", "SET QZ_HOME=C:\\QZ2\r\nQZ_HOME=C:\\QZ;%QZ_HOME%\r\n"},
      {nullptr, nullptr},
  };
  for (const auto& c : cases) {
    Env t;
    t.registry.windows95 = true;
    if (c.before) t.files.contents[kAutoExec] = c.before;
    t.Run("ENV qz_home c:\\qz");
    const char* expected = c.after ? c.after : c.before;
    if (expected) {
      EXPECT_EQ(t.files.contents[kAutoExec], expected) << (c.before ? c.before : "<none>");
    } else {
      EXPECT_EQ(t.files.contents.count(kAutoExec), 0u);
      EXPECT_EQ(t.svc.ExitCode(), kExitFailed);
    }
    EXPECT_TRUE(t.registry.events.empty());
    EXPECT_TRUE(t.dialogs.shown.empty());
  }
  Env path;  // the PATH statement form sets the variable too
  path.registry.windows95 = true;
  path.files.contents[kAutoExec] = "PATH C:\\DOS;C:\\QZ\r\n";
  path.Run("ENV PATH C:\\QZ");
  EXPECT_EQ(path.files.contents[kAutoExec], "PATH C:\\DOS;C:\\QZ\r\n");
}

}  // namespace
}  // namespace qz
