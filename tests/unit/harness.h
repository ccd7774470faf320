// The program's one wiring over fakes, as the tests of commands, windows and start-up use it.
#pragma once
#include <stdlib.h>

#include <filesystem>
#include <memory>

#include "app/program.h"
#include "text/ini_document.h"
#include "base/command_line.h"
#include "base/services.h"
#include "editor/editor_view.h"
#include "fakes/fakes.h"
#include "notes/notes_view.h"
#include "translator/translation_file.h"

namespace qz::fake {

// A window without controls, for the translator to walk.
class BareWindow : public TranslatableWindow {
 public:
  ControlKind Kind() const override { return ControlKind::Window; }
  std::string Title() const override { return {}; }
  void SetTitle(std::string_view) override {}
  int FirstControl() const override { return 0; }
  int NextControl(int) const override { return 0; }
  ControlKind KindOf(int) const override { return ControlKind::None; }
  std::string Get(int, Property) const override { return {}; }
  void Set(int, Property, std::string_view) override {}
};

// Records what the "Please Wait..." window showed.
class FakePleaseWait : public PleaseWaitView {
 public:
  explicit FakePleaseWait(std::vector<std::string>& events) : events_(events) {}
  TranslatableWindow* Open(const std::string& templateList) override {
    events_.push_back("open " + templateList);
    return nullptr;
  }
  void Display() override { events_.push_back("display"); }
  void Close() override { events_.push_back("close"); }

 private:
  std::vector<std::string>& events_;
};

// A window as state the tests read; Run plays script, as a person would use the window.
template <class Self, class View, class Events>
class ScriptedView : public View, public BareWindow {
 public:
  TranslatableWindow* Open(Events& events) override {
    events_ = &events;
    return this;
  }
  void Run() override {
    running = true;
    if (script) script(static_cast<Self&>(*this), *events_);
  }
  void Close() override { running = false; }

  std::function<void(Self&, Events&)> script;
  bool running = false;

 protected:
  Events* events_ = nullptr;
};

class FakeEditorView : public ScriptedView<FakeEditorView, EditorView, EditorEvents> {
 public:
  void SetSections(const std::vector<std::pair<std::string, std::string>>& entries) override { sections = entries; }
  void ShowSection(const std::string& value) override { section = value; }
  void ShowIniFile(const std::string&) override {}
  void ShowVersion(const std::string&) override {}
  void ShowPage(int) override {}
  void ShowCount(long n) override { count = n; }
  void Enable(EditorControl control, bool on) override { enabled[control] = on; }
  void Hold(bool on) override { held = on; }
  void SetFormat(const std::string&) override {}
  void ShowItems(const std::vector<Item>& list) override { items = &list; }
  void Redisplay() override {}
  void Select(int r, int) override { row = r; }
  void FocusList() override {}
  void OpenEditor(int, int, const CellEditor& e) override { editor = e; }
  std::string EditorText() override { return editor.text; }
  void SetEditorText(const std::string& text) override { editor.text = text; }
  void DetachEditor() override {}
  void CloseEditor() override {}
  bool On(EditorControl c) const { return enabled.count(c) && enabled.at(c); }

  bool held = false;
  std::vector<std::pair<std::string, std::string>> sections;
  std::string section;
  int row = 0;
  long count = -1;
  std::map<EditorControl, bool> enabled;
  const std::vector<Item>* items = nullptr;
  CellEditor editor;
};

class FakeNotesView : public ScriptedView<FakeNotesView, NotesView, NotesEvents> {
 public:
  void SetText(NotesControl c, const std::string& text) override { texts[c] = text; }
  std::string Text(NotesControl c) override { return texts[c]; }
  void SetChecked(NotesControl c, bool on) override { checks[c] = on; }
  bool Checked(NotesControl c) override { return checks[c]; }
  void Enable(NotesArea area, bool on) override { enabled[area] = on; }
  void ShowPath(const std::string&) override {}
  void ShowNotice(const std::string&) override {}
  void ShowVersion(const std::string&) override {}
  void ShowStatus(int zone, const std::string& text) override { status[zone] = text; }
  void ShowPage(int) override {}
  void SetTimer(int hundredths) override { timer = hundredths; }
  // Clicking a check box: its value flips, then the window reports it.
  void Click(NotesControl c) {
    checks[c] = !checks[c];
    events_->OnAccepted(c);
  }

  std::map<NotesControl, std::string> texts;
  std::map<NotesControl, bool> checks;
  std::map<NotesArea, bool> enabled;
  std::map<int, std::string> status;
  int timer = -1;
};

class FakeViews : public Views {
 public:
  std::unique_ptr<PleaseWaitView> PleaseWait() override { return std::make_unique<FakePleaseWait>(events); }
  std::unique_ptr<EditorView> Editor() override {
    auto view = std::make_unique<FakeEditorView>();
    view->script = editorScript;
    return view;
  }
  std::unique_ptr<NotesView> Notes() override {
    auto view = std::make_unique<FakeNotesView>();
    view->script = notesScript;
    return view;
  }
  std::vector<std::string> events;
  std::function<void(FakeEditorView&, EditorEvents&)> editorScript;
  std::function<void(FakeNotesView&, NotesEvents&)> notesScript;
};

// A fresh folder under the temporary directory, removed with everything in it at the end.
struct TempFolder {
  TempFolder() {
    std::string name = (std::filesystem::temp_directory_path() / "qz_test_XXXXXX").string();
    path = mkdtemp(name.data());
  }
  ~TempFolder() { std::filesystem::remove_all(path); }
  std::string operator/(const std::string& name) const { return (path / name).string(); }
  std::filesystem::path path;
};

// A translation file at path holding pairs, written through the store.
inline void WriteTranslationFile(TextCodec& codec, const std::string& path, const std::vector<TranslationPair>& pairs) {
  TranslationFile file(codec);
  file.SetName(path);
  file.Create();
  file.Open();
  file.ReplaceAll(pairs);
}

using Strings = std::vector<std::string>;

inline constexpr const char* kVersion6 = "Clarion 6.0  Enterprise Edition";
inline constexpr const char* kIdeIni = "C:\\C6\\BIN\\C60EE.ini.";  // the name the program builds
inline constexpr const char* kRed = "C:\\C6\\BIN\\C60EE.RED";
inline const std::string kEnvKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment\\";

struct Harness {
  FakeProfile profile;
  Harness() { files.journal = locks.journal = registry.journal = &journal; }

  Journal journal;
  FakeFiles files;
  FakeLocks locks;
  FakeClock clock;
  FakeDialogs dialogs;
  Latin1Codec codec;
  NoLoadingView loading;
  FakeDdeTransport transport;
  FakeProcesses processes;
  FakeShell shell;
  FakeRegistry registry;
  FakeHeldFile heldFile;
  FakeViews views;
  Program program{
      {{profile, files, locks, clock, codec, processes, shell, registry, heldFile, transport}, dialogs, loading},
      views};
  Services& svc = program.services();
  StringTranslator& translator = program.translator();
  // Version 6 named in WIN.INI, installed in C:\C6.
  void InstallVersion6() {
    profile.Write("", kVersion6, "Root", "C:\\C6");
    profile.Write("", kVersion6, "ExeName", "C60EE");
  }
  // Runs the command of "qzcl.exe " + arguments, as a start with that command line would.
  void Run(const std::string& arguments) { program.RunCommand(CommandLine("qzcl.exe " + arguments)); }
  // A value of a file the program edits for the IDE (its bytes are in files), "<absent>" when missing.
  std::string Ini(const std::string& file, const std::string& section, const std::string& key) const {
    auto bytes = files.contents.find(file);
    auto value = IniDocument(bytes == files.contents.end() ? "" : bytes->second).Get(section, key);
    return value ? *value : "<absent>";
  }
  void SetIni(const std::string& file, const std::string& section, const std::string& key, const std::string& value) {
    IniDocument doc(files.contents[file]);
    doc.Set(section, key, value);
    files.contents[file] = doc.Bytes();
  }
  // A machine environment variable as "S:text" (a string), "X:text" (expandable) or "O:" (not text).
  void SetVariable(const std::string& name, const std::string& value) {
    const RegType type = value[0] == 'S' ? RegType::String : value[0] == 'X' ? RegType::ExpandString : RegType::Other;
    registry.values[kEnvKey + name] = {type, value.substr(2)};
  }
  // The same, "<absent>" when not set.
  std::string Variable(const std::string& name) {
    if (!registry.values.count(kEnvKey + name)) return "<absent>";
    const auto& stored = registry.values[kEnvKey + name];
    return (stored.type == RegType::String ? "S:" : stored.type == RegType::ExpandString ? "X:" : "O:") + stored.text;
  }
  // The captions of the boxes shown so far.
  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (const Box& box : dialogs.shown) captions.push_back(box.caption);
    return captions;
  }
};

// A harness with version 6 installed.
struct Installed : Harness {
  Installed() { InstallVersion6(); }
};

// An installer's machine: version 6 installed, unattended, with what the user had before any add-on (a directory in
// the redirection file and in PATH, an include in a template, a user application).
struct Machine : Installed {
  Machine() {
    dialogs.unattended = true;
    files.contents[kRed] = "[Common]\r\n*.tpl=C:\\U\r\n";
    SetVariable("PATH", "X:C:\\W;C:\\U");
    files.contents["t.tpl"] = "#T\r\n#INCLUDE('u.tpw')\r\n";
    SetIni(kIdeIni, "User Applications", "QZ", "old.exe");
  }
  // A whole start on "qzcl " + arguments, switches and all, where Harness::Run dispatches the command alone; the
  // exit code.
  int Start(const std::string& arguments) { return program.Run("qzcl " + arguments); }
};

}  // namespace qz::fake
