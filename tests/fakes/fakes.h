// In-memory stand-ins for the platform ports.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "runtime/clock.h"
#include "runtime/codec.h"
#include "runtime/dde_transport.h"
#include "runtime/processes.h"
#include "runtime/shell.h"
#include "runtime/dialogs.h"
#include "runtime/files.h"
#include "runtime/profile.h"
#include "runtime/registry.h"
#include "translator/loading_view.h"

namespace qz::fake {

// INI files as maps; names compared without regard to case, like the real profile service.
class FakeProfile : public Profile {
 public:
  std::string Read(const std::string& file, const std::string& section, const std::string& entry,
                   const std::string& def) override;
  bool Write(const std::string& file, const std::string& section, const std::string& entry,
             const std::string& value) override;
  ProfileSection ReadSection(const std::string& file, const std::string& section) override;
  bool WriteSection(const std::string& file, const std::string& section, const ProfileSection& lines) override;
  // The stored value, or nullptr when absent.
  const std::string* Find(const std::string& file, const std::string& section, const std::string& entry) const;
  int writes = 0;  // rewrites of a file
  bool failWrites = false;

 private:
  std::map<std::string, ProfileSection> sections_;  // by upper-cased file and section
};

class FakeFiles : public Files {
 public:
  bool Exists(const std::string& path) override { return existing.count(path) != 0 || contents.count(path) != 0; }
  FileError ReadAll(const std::string& path, std::string& bytes) override {
    if (auto it = failing.find(path); it != failing.end()) return it->second;
    auto it = contents.find(path);
    if (it == contents.end()) return FileError::NotFound;
    bytes = it->second;
    return FileError::None;
  }
  FileError Append(const std::string& path, std::string_view bytes) override {
    if (auto it = failing.find(path); it != failing.end()) return it->second;
    auto it = contents.find(path);
    if (it == contents.end()) return FileError::NotFound;
    it->second += bytes;
    return FileError::None;
  }
  FileError Copy(const std::string& from, const std::string& to) override {
    if (auto it = failing.find(from); it != failing.end()) return it->second;
    if (Exists(to)) return FileError::FileSystem;
    auto it = contents.find(from);
    if (it == contents.end() && !existing.count(from)) return FileError::NotFound;
    contents[to] = it == contents.end() ? std::string() : it->second;
    copies.push_back(to);
    return FileError::None;
  }
  bool CanOpenExclusively(const std::string& path) override { return !heldOpen.count(path); }
  std::vector<std::string> copies;
  std::set<std::string> heldOpen;
  std::map<std::string, std::string> contents;   // files with their bytes
  std::map<std::string, FileError> failing;      // files that cannot be read or written
  std::string CurrentDirectory() override { return currentDirectory; }
  std::string ProgramDirectory() override { return "C:\\QZCL"; }
  std::string ShortPath(const std::string& path) override {
    auto it = shortPaths.find(path);
    return it == shortPaths.end() ? path : it->second;
  }
  std::set<std::string> existing;
  std::map<std::string, std::string> shortPaths;
  std::string currentDirectory = "C:\\WORK";
};

// Time moves only when a test (or the code's own calls, by step) moves it.
class FakeClock : public Clock {
 public:
  std::int64_t Milliseconds() override {
    now += step;
    return now;
  }
  void Wait(int ms) override {
    now += ms;
    ++waits;
    // With secondsRun, the wall clock moves on by the time waited (within its minute).
    if (secondsRun && (now / 1000) != ((now - ms) / 1000)) ++localTime.second;
  }
  LocalTime Now() override { return localTime; }
  bool secondsRun = false;
  LocalTime localTime{2006, 11, 2, 14, 30, 5};
  std::int64_t now = 0;
  int waits = 0;
  std::int64_t step = 0;
};

// Latin-1 stands in for the ANSI code page.
class Latin1Codec : public TextCodec {
 public:
  std::string AnsiToUtf8(std::string_view ansi) override;
  std::string Utf8ToAnsi(std::string_view utf8) override;
};

class FakeDialogs : public Dialogs {
 public:
  Button Show(const Box& box) override {
    shown.push_back(box);
    if (answers.empty()) return box.defaultButton;
    Button b = answers.front();
    answers.erase(answers.begin());
    return b;
  }
  std::optional<std::string> ChooseFile(const std::string& title, const std::string& filter) override {
    shown.push_back({title, filter, Icon::None, Buttons::OkCancel});  // recorded as a box with the title as caption
    return chosenFile;
  }
  std::vector<Box> shown;
  std::vector<Button> answers;
  std::optional<std::string> chosenFile;
};

class FakeLoadingView : public LoadingView {
 public:
  void Open() override { ++opened; }
  void SetProgress(int percent) override { progress.push_back(percent); }
  void Close() override { ++closed; }
  int opened = 0, closed = 0;
  std::vector<int> progress;
};

// A DDE layer whose servers the test sets up: answers to Open by attempt, results of Execute.
class FakeDdeTransport : public DdeTransport {
 public:
  long Open(const std::string& service, const std::string& topic) override {
    opens.push_back(service + "|" + topic);
    if (serverUp && serverUp(static_cast<int>(opens.size()))) return ++lastChannel;
    return 0;
  }
  int Execute(long channel, const std::string& text) override {
    executes.push_back(text);
    (void)channel;
    return executeResult;
  }
  void Close(long channel) override { closed.push_back(channel); }
  void SetTimeout(long hundredths) override { timeout = hundredths; }

  std::function<bool(int attempt)> serverUp;  // none: nobody answers
  int executeResult = 0;
  long lastChannel = 0;
  long timeout = 0;
  std::vector<std::string> opens, executes;
  std::vector<long> closed;
};

class FakeShell : public Shell {
 public:
  void Open(const std::string& file) override { opened.push_back(file); }
  std::vector<std::string> opened;
};

// Values by "key\name" (compared exactly, as the tests spell them); a status per value stands for
// a read that fails. Each write and broadcast is recorded in order.
class FakeRegistry : public Registry {
 public:
  struct Stored {
    RegType type = RegType::String;
    std::string text;
  };
  RegValue Read(const std::string& key, const std::string& name) override {
    RegValue v;
    if (auto it = readFailures.find(key + "\\" + name); it != readFailures.end()) {
      v.result = it->second;
      return v;
    }
    auto it = values.find(key + "\\" + name);
    if (it == values.end()) {
      v.result.status = RegStatus::NotFound;
      return v;
    }
    v.type = it->second.type;
    if (v.type != RegType::Other) v.text = it->second.text;
    return v;
  }
  RegResult Write(const std::string& key, const std::string& name, RegType type, const std::string& text) override {
    events.push_back("write " + name);
    if (failWrites) return {RegStatus::AccessDenied, 5};
    values[key + "\\" + name] = {type, text};
    return {};
  }
  void BroadcastEnvironmentChange() override { events.push_back("broadcast"); }
  bool IsWindows95Family() override { return windows95; }

  std::map<std::string, Stored> values;
  std::map<std::string, RegResult> readFailures;
  std::vector<std::string> events;
  bool failWrites = false;
  bool windows95 = false;
};

class FakeProcesses : public Processes {
 public:
  int Start(const std::string& commandLine, std::string& errorText) override {
    started.push_back(commandLine);
    if (fail) errorText = "The system cannot find the file specified.";
    return fail ? kStartFailed : 0;
  }
  std::vector<std::string> started;
  bool fail = false;
};

}  // namespace qz::fake
