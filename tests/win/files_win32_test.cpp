// Changing a file over the real file API and locks, in a temporary folder: the file is old or new, never
// half-written, keeps its attributes; a file that may not be written stays as it was; runs that are gone leave
// no temporary files for long; one file has one lock however it is spelt.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <iomanip>
#include <iterator>
#include <sstream>
#include <string>

#include "runtime/file_change.h"
#include "runtime/files_win32.h"
#include "runtime/handle_win32.h"
#include "runtime/locks_win32.h"
#include "runtime/platform_win32.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

class Replacing : public testing::Test {
 protected:
  Replacing() {
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  ~Replacing() override {
    for (const auto& entry : fs::directory_iterator(dir_))
      SetFileAttributesA(entry.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(dir_);
  }
  std::string File(const std::string& name) const { return (dir_ / name).string(); }
  static std::string Get(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::size_t FilesInFolder() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }
  FileChange Change(const std::string& path, const std::string& bytes) {
    return ChangeFile({files_, locks_, clock_}, path, WhenMissing::Create, [&](std::string_view, std::string& next) {
      next = bytes;
      return FileError::None;
    });
  }
  // Acquire from another thread, as another run would: a thread already holding a mutex gets it again.
  LockWait OtherRunAcquires(LockKind kind, const std::string& target) {
    return std::async(std::launch::async,
                      [&] {
                        std::unique_ptr<Locks::Held> held;
                        return locks_.Acquire(kind, target, 0, held);
                      })
        .get();
  }
  // The name a run's temporary file has: its process id and creation time.
  static std::string TempName(DWORD processId, HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    std::ostringstream name;
    name << "~qzcl-" << processId << '-' << std::hex << std::setfill('0') << std::setw(8) << created.dwHighDateTime
         << std::setw(8) << created.dwLowDateTime << ".tmp";
    return name.str();
  }

  const fs::path dir_ = fs::temp_directory_path() / ("qzcl-replace-" + std::to_string(GetCurrentProcessId()));
  Win32Files files_;
  Win32Locks locks_;
  Win32Clock clock_;
};

TEST_F(Replacing, puts_the_new_bytes_in_place_keeping_attributes_and_leaves_no_temporary_file) {
  const std::string ini = File("C60EE.ini");
  std::ofstream(ini, std::ios::binary) << "[A]\r\nx=1\r\n";
  SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(Change(ini, "[A]\r\nx=2\r\n").result, ChangeResult::Changed);
  EXPECT_EQ(Get(ini), "[A]\r\nx=2\r\n");
  EXPECT_TRUE(GetFileAttributesA(ini.c_str()) & FILE_ATTRIBUTE_HIDDEN);

  const std::string fresh = File("new.red");
  EXPECT_EQ(Change(fresh, std::string("a\0b", 3)).result, ChangeResult::Changed);
  EXPECT_EQ(Get(fresh), std::string("a\0b", 3));
  EXPECT_EQ(FilesInFolder(), 2u);
}

TEST_F(Replacing, a_file_that_may_not_be_written_stays_as_it_was) {
  const std::string readOnly = File("readonly.ini");
  std::ofstream(readOnly, std::ios::binary) << "kept";
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(Change(readOnly, "lost").error, FileError::AccessDenied);

  // Held open by another program: one that shares nothing is seen when reading; one that lets others read is
  // seen when renaming, after the retries.
  const std::string locked = File("locked.ini");
  std::ofstream(locked, std::ios::binary) << "kept";
  for (const auto [share, step] :
       {std::pair{0ul, ChangeStep::Read}, {FILE_SHARE_READ | FILE_SHARE_WRITE, ChangeStep::Write}}) {
    UniqueFile other(CreateFileA(locked.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(other);
    const FileChange change = Change(locked, "lost");
    EXPECT_EQ(change.error, FileError::SharingViolation) << share;
    EXPECT_EQ(change.step, step) << share;
  }
  // A copy never goes over a file that is there, and one that failed leaves nothing.
  EXPECT_NE(files_.Copy(locked, readOnly), FileError::None);
  EXPECT_EQ(files_.Copy(File("missing.ini"), File("copy.ini")), FileError::NotFound);
  EXPECT_EQ(Get(readOnly), "kept");
  EXPECT_EQ(Get(locked), "kept");
  EXPECT_EQ(Change(File("no folder\\x.ini"), "lost").error, FileError::PathNotFound);
  EXPECT_EQ(FilesInFolder(), 2u) << "no temporary file is left behind";
}

TEST_F(Replacing, devices_and_folders_are_not_text_files) {
  for (const char* name : {"NUL", "con", "C:\\x\\Com1.tpl", "LPT9 .txt"}) EXPECT_FALSE(files_.Exists(name)) << name;
  std::ofstream(File("a.tpl")) << "x";
  EXPECT_TRUE(files_.Exists(File("a.tpl")));
  for (const std::string& name : {std::string("NUL"), std::string("COM1"), dir_.string(), File("")}) {
    std::string bytes = "old";
    EXPECT_EQ(files_.ReadAll(name, bytes), FileError::NotText) << name;
    EXPECT_EQ(bytes, "") << name;
  }
}

TEST_F(Replacing, only_temporary_files_of_runs_that_are_gone_are_removed) {
  // A process that has exited, one that still runs (suspended), and this one.
  STARTUPINFOA startup{sizeof startup};
  PROCESS_INFORMATION exited{}, running{};
  char exitAtOnce[] = "cmd.exe /c exit", suspended[] = "cmd.exe /c exit";
  ASSERT_TRUE(CreateProcessA(nullptr, exitAtOnce, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &exited));
  UniqueKernelHandle exitedProcess(exited.hProcess), exitedThread(exited.hThread);
  ASSERT_EQ(WaitForSingleObject(exited.hProcess, 10000), WAIT_OBJECT_0);
  const std::string gone = TempName(exited.dwProcessId, exited.hProcess);
  exitedProcess.reset();
  ASSERT_TRUE(CreateProcessA(nullptr, suspended, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup,
                             &running));
  UniqueKernelHandle runningProcess(running.hProcess), runningThread(running.hThread);
  std::string ours;
  EXPECT_EQ(files_.WriteTemporary(File("C60EE.ini"), "x", ours), FileError::None);
  EXPECT_EQ(ours, File(TempName(GetCurrentProcessId(), GetCurrentProcess())));
  // The same id with another creation time: the id was reused, so its run is gone.
  std::string reused = TempName(GetCurrentProcessId(), GetCurrentProcess());
  reused[reused.size() - 5] = reused[reused.size() - 5] == '0' ? '1' : '0';
  const struct {
    std::string name;
    bool kept;
  } cases[] = {{gone, false},
               {reused, false},
               {TempName(running.dwProcessId, running.hProcess), true},
               {"~qzcl-1-2.tmp", true},
               {"~qzcl-x-0000000000000000.tmp", true}};
  for (const auto& c : cases) std::ofstream(File(c.name)) << "x";
  files_.RemoveStaleTemporaries(File("C60EE.ini"));
  TerminateProcess(running.hProcess, 0);
  EXPECT_TRUE(fs::exists(ours));
  for (const auto& c : cases) EXPECT_EQ(fs::exists(File(c.name)), c.kept) << c.name;
}

TEST_F(Replacing, one_lock_per_file_however_it_is_spelt_and_the_lock_of_a_killed_run_is_free) {
  const std::string ini = File("C60EE.ini");
  std::ofstream(ini) << "x";
  std::unique_ptr<Locks::Held> held;
  ASSERT_EQ(locks_.Acquire(LockKind::File, ini, 0, held), LockWait::Held);
  ASSERT_TRUE(SetCurrentDirectoryA(dir_.string().c_str()));
  for (const std::string& spelling : {ini, File("c60ee.INI."), std::string("C60EE.ini"), files_.ShortPath(ini)})
    EXPECT_EQ(OtherRunAcquires(LockKind::File, spelling), LockWait::Busy) << spelling;
  SetCurrentDirectoryA(fs::temp_directory_path().string().c_str());
  EXPECT_EQ(OtherRunAcquires(LockKind::File, File("C60EE.red")), LockWait::Held);
  // A file yet to be made, its folder spelt short.
  EXPECT_EQ(LockName(LockKind::File, files_.ShortPath(dir_.string()) + "\\NEW.RED."),
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
