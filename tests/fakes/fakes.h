// In-memory stand-ins for the platform ports.
#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "runtime/clock.h"
#include "runtime/codec.h"
#include "runtime/dialogs.h"
#include "runtime/files.h"
#include "runtime/profile.h"
#include "translator/loading_view.h"

namespace qz::fake {

// INI files as maps; names compared without regard to case, like the real profile service.
class FakeProfile : public Profile {
 public:
  std::string Read(const std::string& file, const std::string& section, const std::string& entry,
                   const std::string& def) override;
  bool Write(const std::string& file, const std::string& section, const std::string& entry,
             const std::string& value) override;
  // The stored value, or nullptr when absent.
  const std::string* Find(const std::string& file, const std::string& section, const std::string& entry) const;
  int writes = 0;
  bool failWrites = false;

 private:
  static std::string Key(const std::string& file, const std::string& section, const std::string& entry);
  std::map<std::string, std::string> values_;
};

class FakeFiles : public Files {
 public:
  bool Exists(const std::string& path) override { return existing.count(path) != 0; }
  std::string CurrentDirectory() override { return currentDirectory; }
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
  std::int64_t now = 0;
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
  std::vector<Box> shown;
  std::vector<Button> answers;
};

class FakeLoadingView : public LoadingView {
 public:
  void Open() override { ++opened; }
  void SetProgress(int percent) override { progress.push_back(percent); }
  void Close() override { ++closed; }
  int opened = 0, closed = 0;
  std::vector<int> progress;
};

}  // namespace qz::fake
