// qzcl.exe changing the IDE's files under Wine, as an installer runs it: every byte it does not own stays,
// a refused argument changes nothing, and each removal command gives back what its adding command found.
#include <windows.h>
#include <gtest/gtest.h>

#include "e2e/driver_win32.h"

namespace qz::e2e {
namespace {

const char* const kEnvKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

struct IdeFiles {
  TempDirectory work;
  Installed installed{work.Path() + "\\C6"};
  const std::string ini = work.Path() + "\\C6\\BIN\\C60EE.ini", red = work.Path() + "\\C6\\BIN\\C60EE.RED";
  // An unattended run of qzcl.exe; its exit code.
  DWORD Run(const std::string& arguments) {
    QzclProcess qzcl({arguments, work.Path(), true});
    return qzcl.WaitForExit().value_or(999);
  }
};

// The menu of an IDE edited by hand, with more entries than a list of a thousand.
std::string Menus(int entries, const std::string& added = "", const std::string& application = "") {
  std::string ini = "; by hand\r\n[User Menus]\r\n";
  for (int i = 1; i <= entries; ++i)
    ini += std::to_string(i) + (i == 2 ? " = " : "=") + "&T" + std::to_string(1000 + i) + "|T\r\n";
  // A line without "=" reads as a key: a new entry goes after it.
  return ini + "stray\r\n" + added + "\r\n[User Applications]\r\nT = t.exe ;note\r\n" + application + "[X]\r\nx=1";
}

TEST(Files, usermenu_and_red_change_only_their_own_lines_once_and_refuse_what_a_file_cannot_hold) {
  IdeFiles s;
  WriteWholeFile(s.ini, Menus(1005));
  EXPECT_EQ(s.Run("USERMENU QZ Zzz qz.exe"), 0u);
  EXPECT_TRUE(ReadWholeFile(s.ini) == Menus(1005, "1006=Zzz|QZ\r\n", "QZ=qz.exe\r\n"));
  WriteWholeFile(s.red, "; paths\r\n[Common]\r\n*.tpl = C:\\A ;C:\\B\r\n");
  for (int run = 0; run < 2; ++run) EXPECT_EQ(s.Run("RED Common *.tpl \"C:\\X;C:\\B;C:\\Y\""), 0u);
  EXPECT_EQ(ReadWholeFile(s.red), "; paths\r\n[Common]\r\n*.tpl = C:\\A ;C:\\B;C:\\X;C:\\Y\r\n");
  const std::string before = ReadWholeFile(s.red);
  EXPECT_EQ(s.Run("RED Common *.tpl \"C:\\p\r\n[Release]\r\n*.obj=HACKED\""), 2u);
  EXPECT_EQ(s.Run("RED Common a=b C:\\p"), 2u);
  EXPECT_EQ(ReadWholeFile(s.red), before);
}

TEST(Files, each_removal_command_gives_back_the_bytes_its_adding_command_found) {
  IdeFiles s;
  const std::string menus = "[User Menus]\r\n1=&Alpha|A\r\n2 = &Zeta|Z\r\n\r\n[User Applications]\r\nA=a.exe";
  const std::string red = "; paths\r\n[Common]\r\n*.tpl =  C:\\A ; C:\\B\\\r\n";
  const std::string tpl = "#TEMPLATE(A,'a')\r\n\r\n";
  const struct {
    std::string file, bytes, add, remove;
  } cases[] = {
      {s.ini, menus, "USERMENU QZ &Middle qz.exe", "UNMENU QZ"},
      {s.red, red, "RED Common *.tpl \"C:\\X;C:\\Y\"", "UNRED Common *.tpl \"C:\\X;C:\\Y\""},
      {s.red, red, "RED Paths *.tpl C:\\X", "UNREDIRECT Paths *.tpl C:\\X"},
      {s.work.Path() + "\\a.tpl", tpl, "INCLUDE a.tpl x.tpw", "UNINCLUDE a.tpl x.tpw"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.add);
    WriteWholeFile(c.file, c.bytes);
    EXPECT_EQ(s.Run(c.add), 0u);
    EXPECT_NE(ReadWholeFile(c.file), c.bytes);
    EXPECT_EQ(s.Run(c.remove), 0u);
    EXPECT_EQ(s.Run(c.remove), 0u);  // a second run finds nothing and succeeds
    EXPECT_EQ(ReadWholeFile(c.file), c.bytes);
  }
  // The machine environment: the value's data and type, or its absence.
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kEnvKey, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  const char kept[] = "%SystemRoot%\\x;C:\\A";
  RegSetValueExA(key, "QZCL_E2E", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(kept), sizeof kept);
  for (bool existed : {true, false}) {
    if (!existed) RegDeleteValueA(key, "QZCL_E2E");
    EXPECT_EQ(s.Run("ENV QZCL_E2E \"C:\\QZ;C:\\QZ\\Bin\""), 0u);
    EXPECT_EQ(s.Run("UNENV QZCL_E2E \"C:\\QZ;C:\\QZ\\Bin\""), 0u);
    char data[64] = {};
    DWORD type = 0, size = sizeof data;
    const LONG found = RegQueryValueExA(key, "QZCL_E2E", nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    if (existed) {
      EXPECT_TRUE(found == ERROR_SUCCESS && type == REG_EXPAND_SZ && std::string(data) == kept) << data;
    } else {
      EXPECT_EQ(found, ERROR_FILE_NOT_FOUND);
    }
  }
  RegDeleteValueA(key, "QZCL_E2E");
  RegCloseKey(key);
}

TEST(Files, unmenu_asks_for_the_running_ide_to_be_closed_and_cancel_writes_nothing) {
  IdeFiles s;
  WriteWholeFile(s.ini, "[User Menus]\r\n1=&QZ|QZ\r\n");
  StandInIde ide(s.work.Path());
  QzclProcess qzcl({"UNMENU QZ", s.work.Path()});
  std::optional<Box> prompt = qzcl.WaitForBox();
  ASSERT_TRUE(prompt);
  EXPECT_EQ(prompt->caption, "Remove Accessories Item");
  ASSERT_TRUE(qzcl.Press(*prompt, IDCANCEL));
  EXPECT_EQ(qzcl.WaitForExit(), 0u);
  EXPECT_EQ(ReadWholeFile(s.ini), "[User Menus]\r\n1=&QZ|QZ\r\n");
}

}  // namespace
}  // namespace qz::e2e
