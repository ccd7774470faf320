// Changing a file over the real file API and locks, in a temporary folder: the file is old or new, never
// half-written, keeps its attributes; a file that may not be written stays as it was; runs that are gone leave
// no temporary files for long; one file has one lock however it is spelt.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <future>

#include "e2e/driver_win32.h"
#include "platform/file_change.h"
#include "platform/files_win32.h"
#include "platform/locks_win32.h"
#include "platform/platform_win32.h"

namespace qz {
namespace {

namespace fs = std::filesystem;
using e2e::ReadWholeFile;
using e2e::WriteWholeFile;

class Replacing : public testing::Test {
 protected:
  ~Replacing() override {
    for (const auto& entry : fs::directory_iterator(dir_.Path()))
      SetFileAttributesA(entry.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  std::string File(const std::string& name) const { return dir_.Path() + "\\" + name; }
  std::size_t FilesInFolder() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()));
  }
  FileChange Change(const std::string& path, const std::string& bytes) {
    return ChangeFile({files_, locks_, clock_}, path, WhenMissing::Create, [&](std::string_view, std::string& next) {
      next = bytes;
      return FileError::None;
    });
  }
  // Acquired from another thread, as another run would: a thread that holds a mutex gets it again.
  LockWait OtherRunAcquires(LockKind kind, const std::string& target) {
    return std::async(std::launch::async,
                      [&] {
                        std::unique_ptr<Locks::Held> held;
                        return locks_.Acquire(kind, target, 0, held);
                      })
        .get();
  }
  // The name of a run's temporary file: its process id and creation time.
  static std::string TempName(DWORD processId, HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    char name[64];
    std::snprintf(name, sizeof name, "~qzcl-%lu-%08lx%08lx.tmp", processId, created.dwHighDateTime,
                  created.dwLowDateTime);
    return name;
  }

  e2e::TempDirectory dir_;
  Win32Files files_;
  Win32Locks locks_;
  Win32Clock clock_;
};

TEST_F(Replacing, puts_the_new_bytes_in_place_or_leaves_a_file_that_may_not_be_written_as_it_was) {
  const std::string ini = File("C60EE.ini"), readOnly = File("readonly.ini"), locked = File("locked.ini");
  WriteWholeFile(ini, "[A]\r\nx=1\r\n");
  SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(Change(ini, "[A]\r\nx=2\r\n").result, ChangeResult::Changed);
  EXPECT_TRUE(ReadWholeFile(ini) == "[A]\r\nx=2\r\n" && (GetFileAttributesA(ini.c_str()) & FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(Change(File("new.red"), std::string("a\0b", 3)).result, ChangeResult::Changed);
  EXPECT_EQ(ReadWholeFile(File("new.red")), std::string("a\0b", 3));

  WriteWholeFile(readOnly, "kept");
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(Change(readOnly, "lost").error, FileError::AccessDenied);
  // Held open by another program: one that shares nothing is seen when reading; one that lets others read is
  // seen when renaming, after the retries.
  WriteWholeFile(locked, "kept");
  for (const auto [share, step] :
       {std::pair{0ul, ChangeStep::Read}, {FILE_SHARE_READ | FILE_SHARE_WRITE, ChangeStep::Write}}) {
    UniqueFile other(CreateFileA(locked.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(other);
    const FileChange change = Change(locked, "lost");
    EXPECT_TRUE(change.error == FileError::SharingViolation && change.step == step) << share;
  }
  EXPECT_NE(files_.Copy(locked, readOnly), FileError::None);  // a copy never goes over a file that is there
  EXPECT_EQ(ReadWholeFile(readOnly) + ReadWholeFile(locked), "keptkept");
  EXPECT_EQ(Change(File("no folder\\x.ini"), "lost").error, FileError::PathNotFound);
  EXPECT_EQ(FilesInFolder(), 4u) << "no temporary file is left behind";
  // Devices and folders are not text files.
  for (const char* name : {"NUL", "con", "C:\\x\\Com1.tpl", "LPT9 .txt"}) EXPECT_FALSE(files_.Exists(name)) << name;
  for (const std::string& name : {std::string("NUL"), std::string("COM1"), dir_.Path(), File("")}) {
    std::string bytes = "old";
    EXPECT_TRUE(files_.ReadAll(name, bytes) == FileError::NotText && bytes.empty()) << name;
  }
}

// Killed runs are covered end to end; here the names: a process id in use by another process now, a run that
// still runs (suspended), this run, and names the program does not make.
TEST_F(Replacing, only_temporary_files_of_runs_that_are_gone_are_removed) {
  STARTUPINFOA startup{sizeof startup};
  PROCESS_INFORMATION running{};
  char command[] = "cmd.exe /c exit";
  ASSERT_TRUE(CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup,
                             &running));
  UniqueKernelHandle runningProcess(running.hProcess), runningThread(running.hThread);
  std::string ours;
  EXPECT_EQ(files_.WriteTemporary(File("C60EE.ini"), "x", ours), FileError::None);
  EXPECT_EQ(ours, File(TempName(GetCurrentProcessId(), GetCurrentProcess())));
  std::string reused = TempName(GetCurrentProcessId(), GetCurrentProcess());
  reused[reused.size() - 5] = reused[reused.size() - 5] == '0' ? '1' : '0';
  const std::pair<std::string, bool> cases[] = {{reused, false},
                                                {TempName(running.dwProcessId, running.hProcess), true},
                                                {"~qzcl-1-2.tmp", true},
                                                {"~qzcl-x-0000000000000000.tmp", true}};
  for (const auto& [name, kept] : cases) WriteWholeFile(File(name), "x");
  files_.RemoveStaleTemporaries(File("C60EE.ini"));
  TerminateProcess(running.hProcess, 0);
  EXPECT_TRUE(fs::exists(ours));
  for (const auto& [name, kept] : cases) EXPECT_EQ(fs::exists(File(name)), kept) << name;
}

TEST_F(Replacing, one_lock_per_file_however_it_is_spelt_and_the_lock_of_a_killed_run_is_free) {
  const std::string ini = File("C60EE.ini");
  WriteWholeFile(ini, "x");
  std::unique_ptr<Locks::Held> held;
  ASSERT_EQ(locks_.Acquire(LockKind::File, ini, 0, held), LockWait::Held);
  ASSERT_TRUE(SetCurrentDirectoryA(dir_.Path().c_str()));
  for (const std::string& spelling : {ini, File("c60ee.INI."), std::string("C60EE.ini"), files_.ShortPath(ini)})
    EXPECT_EQ(OtherRunAcquires(LockKind::File, spelling), LockWait::Busy) << spelling;
  SetCurrentDirectoryA(fs::temp_directory_path().string().c_str());
  EXPECT_EQ(OtherRunAcquires(LockKind::File, File("C60EE.red")), LockWait::Held);
  // A file yet to be made, its folder spelt short.
  EXPECT_EQ(LockName(LockKind::File, files_.ShortPath(dir_.Path()) + "\\NEW.RED."),
            LockName(LockKind::File, File("new.red")));
  EXPECT_EQ(OtherRunAcquires(LockKind::MachineVariable, ini), LockWait::Held);
  EXPECT_EQ(LockName(LockKind::MachineVariable, "Path"), LockName(LockKind::MachineVariable, "PATH"));
  EXPECT_NE(LockName(LockKind::MachineVariable, "Path"), LockName(LockKind::UserVariable, "Path"));
  held.reset();
  EXPECT_EQ(OtherRunAcquires(LockKind::File, File("c60ee.INI.")), LockWait::Held);
  // A holder that ends without releasing, as a killed run does.
  UniqueKernelHandle abandoned;
  std::async(std::launch::async, [&] {
    abandoned.reset(CreateMutexW(nullptr, FALSE, LockName(LockKind::File, ini).c_str()));
    WaitForSingleObject(abandoned.get(), 0);
  }).get();
  EXPECT_EQ(locks_.Acquire(LockKind::File, ini, 0, held), LockWait::Held);
}

}  // namespace
}  // namespace qz
