// In-memory stand-ins for the platform ports.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "text/codec.h"
#include "platform/dde_transport.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/held_file.h"
#include "platform/locks.h"
#include "platform/processes.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "text/text.h"
#include "translator/loading_view.h"

namespace qz::fake {

// INI files as maps; names compared without regard to case, like the real profile service.
class FakeProfile : public Profile {
 public:
  std::string Read(const std::string& file, const std::string& section, const std::string& entry,
                   const std::string& def) override {
    const std::string* value = Find(file, section, entry);
    return value ? *value : def;
  }
  bool Write(const std::string& file, const std::string& section, const std::string& entry,
             const std::string& value) override {
    ++writes;
    if (auto* stored = const_cast<std::string*>(Find(file, section, entry))) {
      *stored = value;
    } else {
      sections_[Key(file, section)].emplace_back(entry, value);
    }
    return true;
  }
  // The stored value, or nullptr when absent.
  const std::string* Find(const std::string& file, const std::string& section, const std::string& entry) const {
    auto it = sections_.find(Key(file, section));
    if (it != sections_.end())
      for (const auto& [key, value] : it->second)
        if (Upper(key) == Upper(entry)) return &value;
    return nullptr;
  }
  std::string Value(const std::string& file, const std::string& section, const std::string& entry) const {
    const std::string* value = Find(file, section, entry);
    return value ? *value : "<absent>";
  }
  int writes = 0;  // rewrites of a file

 private:
  static std::string Key(const std::string& file, const std::string& section) { return Upper(file + '\x01' + section); }
  std::map<std::string, std::vector<std::pair<std::string, std::string>>> sections_;
};

// Every read, temporary write, rename and lock of the fakes that share it, in order ("read C:\\x"), so that a
// test can see what happened under a lock.
using Journal = std::vector<std::string>;

class FakeFiles : public Files {
 public:
  bool Exists(const std::string& path) override { return existing.count(path) || contents.count(path); }
  FileError ReadAll(const std::string& path, std::string& bytes) override {
    if (journal) journal->push_back("read " + path);
    if (onRead) onRead(path);
    if (failing.count(path) || !contents.count(path)) return failing.count(path) ? failing[path] : FileError::NotFound;
    bytes = contents[path];
    return FileError::None;
  }
  // A disk with diskSpace bytes free takes that many and reports the rest as not written.
  FileError WriteTemporary(const std::string& path, std::string_view bytes, std::string& tempPath) override {
    tempPath = path + ".~" + std::to_string(++temporaries);
    if (journal) journal->push_back("write " + tempPath);
    contents[tempPath] = std::string(bytes.substr(0, diskSpace));
    return diskSpace < bytes.size() ? FileError::DiskFull : FileError::None;
  }
  void RemoveStaleTemporaries(const std::string&) override {}
  FileError Replace(const std::string& path, const std::string& tempPath) override {
    if (journal) journal->push_back("replace " + path);
    if (readOnly.count(path)) return FileError::AccessDenied;
    contents[path] = contents[tempPath];
    contents.erase(tempPath);
    ++replaces;
    return FileError::None;
  }
  void Remove(const std::string& path) override { contents.erase(path); }
  FileError CheckWritable(const std::string& path) override {
    return readOnly.count(path) ? FileError::AccessDenied : FileError::None;
  }
  std::string DataFolder(bool user) override { return user ? "C:\\Users\\U\\AppData\\Local" : "C:\\ProgramData"; }
  FileError MakeFolder(const std::string& path) override {
    existing.insert(path);
    return FileError::None;
  }
  FileError Append(const std::string& path, std::string_view bytes) override {
    if (readOnly.count(path)) return FileError::AccessDenied;
    contents[path] += bytes;
    return FileError::None;
  }
  // A copy fails as a full disk would make it: nothing of it is left.
  FileError Copy(const std::string& from, const std::string& to) override {
    if (Exists(to)) return FileError::FileSystem;
    if (!Exists(from)) return FileError::NotFound;
    if (contents[from].size() > diskSpace) return FileError::DiskFull;
    contents[to] = contents[from];
    copies.push_back(to);
    return FileError::None;
  }
  bool CanOpenExclusively(const std::string& path) override { return !heldOpen.count(path); }
  std::string CurrentDirectory() override { return currentDirectory; }
  std::string ProgramDirectory() override { return "C:\\QZCL"; }
  std::string TemporaryFolder() override { return "C:\\TEMP"; }
  std::string ShortPath(const std::string& path) override { return shortPaths.count(path) ? shortPaths[path] : path; }

  std::set<std::string> existing, heldOpen;     // files that exist; files another program holds open
  std::map<std::string, std::string> contents;  // files with their bytes
  std::map<std::string, FileError> failing;     // files that cannot be read
  std::map<std::string, std::string> shortPaths;
  std::vector<std::string> copies;
  std::string currentDirectory = "C:\\WORK";
  std::set<std::string> readOnly;  // files that cannot be replaced or appended to
  std::size_t diskSpace = std::string::npos;
  std::function<void(const std::string& path)> onRead;  // another program at work between the reads
  Journal* journal = nullptr;
  int replaces = 0, temporaries = 0;
};

// Locks that another run may hold: Acquire then reports Busy at once.
class FakeLocks : public Locks {
 public:
  LockWait Acquire(LockKind, const std::string& target, int, std::unique_ptr<Held>& held) override {
    if (busy.count(Upper(target))) return LockWait::Busy;
    if (journal) journal->push_back("lock " + target);
    held = std::make_unique<Release>(journal, target);
    return LockWait::Held;
  }
  std::set<std::string> busy;  // upper-case targets
  Journal* journal = nullptr;

 private:
  struct Release : Held {
    Release(Journal* j, std::string t) : journal(j), target(std::move(t)) {}
    ~Release() override {
      if (journal) journal->push_back("unlock " + target);
    }
    Journal* journal;
    std::string target;
  };
};

// Time moves only when a test (or the code's own waits) moves it.
class FakeClock : public Clock {
 public:
  std::int64_t Milliseconds() override { return now; }
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
};

// Latin-1 stands in for the ANSI code page.
class Latin1Codec : public TextCodec {
 public:
  std::string AnsiToUtf8(std::string_view ansi) override {
    std::string out;
    for (unsigned char c : ansi) {
      if (c >= 0x80) out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(c < 0x80 ? c : 0x80 | (c & 0x3F));
    }
    return out;
  }
  std::string Utf8ToAnsi(std::string_view utf8) override {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
      const auto c = static_cast<unsigned char>(utf8[i]);
      if (c < 0x80) {
        out += static_cast<char>(c);
      } else if ((c & 0xFE) == 0xC2 && i + 1 < utf8.size()) {  // U+0080 to U+00FF
        out += static_cast<char>(((c & 0x03u) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3Fu));
      } else {
        out += '?';
        while (i + 1 < utf8.size() && (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) ++i;
      }
    }
    return out;
  }
  std::string WideToAnsi(std::u16string_view wide) override {
    std::string out;
    for (char16_t c : wide) out += c <= 0xFF ? static_cast<char>(c) : '?';
    return out;
  }
  std::u16string AnsiToWide(std::string_view ansi) override {
    std::u16string out;
    for (unsigned char c : ansi) out += static_cast<char16_t>(c);
    return out;
  }
};

class FakeDialogs : public Dialogs {
 public:
  Button Show(const Box& box) override {
    shown.push_back(box);
    if (onShow) onShow(box);
    if (answers.empty()) return box.defaultButton;
    Button b = answers.front();
    answers.erase(answers.begin());
    return b;
  }
  std::optional<std::string> ChooseFile(const std::string&, const std::string&) override { return std::nullopt; }
  void Note(const std::string& line) override { notes.push_back(line); }
  void Print(const std::string&, const std::string& text) override { printed.push_back(text); }
  bool Unattended() const override { return unattended; }
  std::vector<Box> shown;
  std::vector<std::string> notes, printed;
  bool unattended = false;
  std::function<void(const Box&)> onShow;
  std::vector<Button> answers;
};

// A DDE layer whose server the test sets up: whether it answers the Open of each attempt, results of Execute.
class FakeDdeTransport : public DdeTransport {
 public:
  long Open(const std::string& service, const std::string& topic) override {
    opens.push_back(service + "|" + topic);
    return serverUp && serverUp(static_cast<int>(opens.size())) ? ++lastChannel : 0;
  }
  int Execute(long, const std::string& text) override {
    executes.push_back(text);
    return executeResult;
  }
  void Close(long channel) override { closed.push_back(channel); }
  void SetTimeout(long) override {}

  std::function<bool(int attempt)> serverUp;  // none: nobody answers
  int executeResult = kDdeOk;
  long lastChannel = 0;
  std::vector<std::string> opens, executes;
  std::vector<long> closed;
};

class FakeShell : public Shell {
 public:
  void Open(const std::string& file) override { opened.push_back(file); }
  void OpenHelpPage(const std::string& address) override { helpPages.push_back(address); }
  std::vector<std::string> opened, helpPages;
};

// Values by "key\\name" (the user's keys with "HKCU\\" first); a status per value stands for a read that fails.
// Writes and broadcasts are recorded.
class FakeRegistry : public Registry {
 public:
  struct Stored {
    RegType type = RegType::String;
    std::string text;
    bool operator==(const Stored&) const = default;
  };
  RegValue Read(RegRoot root, const std::string& key, const std::string& name) override {
    if (journal) journal->push_back("get " + name);
    const std::string at = Where(root, key, name);
    if (readFailures.count(at)) return {readFailures[at]};
    if (!values.count(at)) return {{RegStatus::NotFound}};
    return {{}, values[at].type, values[at].type == RegType::Other ? "" : values[at].text};
  }
  RegResult Write(RegRoot root, const std::string& key, const std::string& name, RegType type,
                  const std::string& text) override {
    events.push_back("write " + name);
    if (journal) journal->push_back("set " + name);
    if (failWrites) return {RegStatus::AccessDenied, 5};
    values[Where(root, key, name)] = {type, text.substr(0, std::exchange(keptChars, std::string::npos))};
    return {};
  }
  RegResult Delete(RegRoot root, const std::string& key, const std::string& name) override {
    events.push_back("delete " + name);
    if (failWrites) return {RegStatus::AccessDenied, 5};
    values.erase(Where(root, key, name));
    return {};
  }
  RegResult CheckWrite(RegRoot, const std::string&) override {
    return failWrites ? RegResult{RegStatus::AccessDenied, 5} : RegResult{};
  }
  bool RunsAsLocalSystem() override { return localSystem; }
  void BroadcastEnvironmentChange() override { events.push_back("broadcast"); }
  bool IsWindows95Family() override { return windows95; }

  std::map<std::string, Stored> values;
  std::map<std::string, RegResult> readFailures;
  std::vector<std::string> events;
  Journal* journal = nullptr;
  std::size_t keptChars = std::string::npos;  // the next write reports success but keeps only this much
  bool failWrites = false, windows95 = false, localSystem = false;

 private:
  static std::string Where(RegRoot root, const std::string& key, const std::string& name) {
    return (root == RegRoot::CurrentUser ? "HKCU\\" : "") + key + "\\" + name;
  }
};

class FakeProcesses : public Processes {
 public:
  // Each start as "application|command line|folder".
  int Start(const ProgramStart& program, std::string& errorText) override {
    started.push_back(program.application + "|" + program.commandLine + "|" + program.folder);
    if (fail) errorText = "The system cannot find the file specified.";
    return fail ? kStartFailed : 0;
  }
  std::vector<std::string> started;
  bool fail = false;
};

// Files held open for updating, as byte strings. Opens, reads or writes can be made to fail, and a kill
// staged: after writesUntilKill writes nothing more reaches the file, as when the program dies there.
class FakeHeldFile : public HeldFile {
 public:
  FileError Open(const std::string& path) override {
    held.reset();
    if (openFailures.count(path)) return openFailures[path];
    if (!files.count(path)) return FileError::NotFound;
    held = path;
    return FileError::None;
  }
  FileError Create(const std::string& path) override {
    return files.emplace(path, "").second ? FileError::None : FileError::AccessDenied;
  }
  void Close() override { held.reset(); }
  bool IsOpen() const override { return held.has_value(); }
  FileError Size(std::int64_t& size) override {
    size = held ? static_cast<std::int64_t>(files[*held].size()) : 0;
    return held ? FileError::None : FileError::NotOpen;
  }
  FileError Read(std::int64_t offset, std::size_t count, std::string& bytes) override {
    bytes.clear();
    if (!held || readError != FileError::None) return held ? readError : FileError::NotOpen;
    const std::string& file = files[*held];
    if (static_cast<std::size_t>(offset) < file.size()) bytes = file.substr(static_cast<std::size_t>(offset), count);
    return FileError::None;
  }
  FileError Write(std::int64_t offset, std::string_view bytes) override {
    if (!held || writeError != FileError::None) return held ? writeError : FileError::NotOpen;
    if (writesUntilKill == 0) return FileError::FileSystem;
    if (writesUntilKill > 0) --writesUntilKill;
    std::string& file = files[*held];
    const auto at = static_cast<std::size_t>(offset);
    if (at > file.size()) file.resize(at, '\0');
    file.replace(at, std::min(bytes.size(), file.size() - at), bytes);
    writes.emplace_back(bytes);
    return FileError::None;
  }

  std::map<std::string, std::string> files;
  std::map<std::string, FileError> openFailures;
  FileError readError = FileError::None, writeError = FileError::None;
  int writesUntilKill = -1;         // none staged
  std::vector<std::string> writes;  // every write that reached a file, in order
  std::optional<std::string> held;  // the file open now
};

}  // namespace qz::fake
