// RED, INCLUDE and RUN on real files under Wine.
#include <gtest/gtest.h>

#include "e2e/driver_win32.h"

namespace qz::e2e {
namespace {

const char* const kSection = "Clarion 6.0  Enterprise Edition";

class Commands : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = work_.Path() + "\\C6";
    CreateDirectoryA(root_.c_str(), nullptr);
    CreateDirectoryA((root_ + "\\BIN").c_str(), nullptr);
    WriteProfileStringA(kSection, "Root", root_.c_str());
    WriteProfileStringA(kSection, "ExeName", "C60EE");
  }
  void TearDown() override { WriteProfileStringA(kSection, nullptr, nullptr); }
  // Runs qzcl.exe unattended and gives its exit code.
  DWORD Qzcl(const std::string& arguments) {
    QzclProcess qzcl({arguments, work_.Path(), {{"QZCL_UNATTENDED", "1"}}, true});
    auto code = qzcl.WaitForExit();
    return code ? *code : 999;
  }
  // With no C60EE.RED in BIN the other edition's name is used, and the first write creates it.
  std::string Red(const char* entry) {
    char buf[512];
    GetPrivateProfileStringA("Common", entry, "<absent>", buf, sizeof buf, (root_ + "\\BIN\\C60PE.RED").c_str());
    return buf;
  }

  TempDirectory work_;
  std::string root_;
};

TEST_F(Commands, red_creates_the_file_and_adds_each_directory_once) {
  EXPECT_EQ(Qzcl("RED Common *.tpl C:\\Vendor\\Templates"), 0u);
  EXPECT_EQ(Red("*.tpl"), "C:\\Vendor\\Templates");
  EXPECT_EQ(Qzcl("RED Common *.tpl C:\\Vendor\\Templates"), 0u);
  EXPECT_EQ(Qzcl("redirect Common *.tpl C:\\VENDOR\\Templates"), 0u);
  EXPECT_EQ(Qzcl("RED Common *.tpl \"C:\\Vendor Two\\tpl\" 6"), 0u);
  EXPECT_EQ(Red("*.tpl"), "C:\\Vendor\\Templates;C:\\VENDOR\\Templates;C:\\Vendor Two\\tpl");
  EXPECT_EQ(Qzcl("RED Common *.tpl"), 2u);  // usage
}

TEST_F(Commands, include_adds_its_line_byte_for_byte) {
  // The line endings on disk; the other cases are the native tests'.
  const std::string file = work_.Path() + "\\my.tpl";
  WriteWholeFile(file, "#TEMPLATE(A)");
  EXPECT_EQ(Qzcl("INCLUDE my.tpl x.tpw"), 0u);
  EXPECT_EQ(Qzcl("INCLUDE my.tpl x.tpw"), 0u);
  EXPECT_EQ(ReadWholeFile(file), "#TEMPLATE(A)\r\n\r\n#INCLUDE('x.tpw')\r\n");
  EXPECT_EQ(Qzcl("INCLUDE gone.tpl x.tpw"), 1u);
  EXPECT_EQ(GetFileAttributesA((work_.Path() + "\\gone.tpl").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Commands, run_hands_a_program_to_the_shell) {
  const std::string program = work_.Path() + "\\leave marker.exe";
  ASSERT_TRUE(CopyFileA((TestProgramDirectory() + "\\run_marker.exe").c_str(), program.c_str(), FALSE));
  EXPECT_EQ(Qzcl("RUN \"" + program + "\""), 0u);
  const std::string marker = work_.Path() + "\\run-marker.txt";
  for (int i = 0; i < 100 && GetFileAttributesA(marker.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(50);
  EXPECT_NE(GetFileAttributesA(marker.c_str()), INVALID_FILE_ATTRIBUTES);
}

const char* const kEnvironment = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

// The machine environment in the registry, as other programs will see it.
struct EnvValue {
  DWORD type = 0;
  std::string text;
};
EnvValue Env(const char* name) {
  EnvValue v;
  DWORD size = 0;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, kEnvironment, name, RRF_RT_ANY | RRF_NOEXPAND, &v.type, nullptr, &size) !=
      ERROR_SUCCESS)
    return v;
  v.text.resize(size);
  RegGetValueA(HKEY_LOCAL_MACHINE, kEnvironment, name, RRF_RT_ANY | RRF_NOEXPAND, &v.type, v.text.data(), &size);
  v.text.resize(size > 0 ? size - 1 : 0);
  return v;
}
void SetEnv(const char* name, DWORD type, const std::string& text) {
  RegSetKeyValueA(HKEY_LOCAL_MACHINE, kEnvironment, name, type, text.c_str(), static_cast<DWORD>(text.size() + 1));
}
void DeleteEnv(const char* name) { RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kEnvironment, name); }

TEST_F(Commands, env_adds_a_value_to_the_machine_environment) {
  const char* name = "QZCL_E2E_PATH";
  DeleteEnv(name);
  EXPECT_EQ(Qzcl("ENV QZCL_E2E_PATH C:\\Tools"), 0u);
  EXPECT_EQ(Env(name).text, "C:\\Tools");
  EXPECT_EQ(Env(name).type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(Qzcl("ENVIRONMENT QZCL_E2E_PATH c:\\tools\\"), 0u);  // already there, in another case
  EXPECT_EQ(Qzcl("ENV QZCL_E2E_PATH C:\\Tools2"), 0u);
  EXPECT_EQ(Env(name).text, "C:\\Tools;C:\\Tools2");

  SetEnv(name, REG_EXPAND_SZ, "%SystemRoot%\\bin");
  EXPECT_EQ(Qzcl("ENV QZCL_E2E_PATH C:\\Tools"), 0u);
  EXPECT_EQ(Env(name).text, "%SystemRoot%\\bin;C:\\Tools");
  EXPECT_EQ(Env(name).type, static_cast<DWORD>(REG_EXPAND_SZ));

  const std::string full(32760, 'x');
  SetEnv(name, REG_SZ, full);
  EXPECT_EQ(Qzcl("ENV QZCL_E2E_PATH C:\\More"), 1u);  // over Windows' limit: refused
  EXPECT_EQ(Env(name).text, full);
  DeleteEnv(name);
}

}  // namespace
}  // namespace qz::e2e
