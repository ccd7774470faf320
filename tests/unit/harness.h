// A Services bundle over fakes, as the tests of commands and start-up use it.
#pragma once
#include <memory>

#include "app/program.h"
#include "base/command_line.h"
#include "base/services.h"
#include "editor/editor_view.h"
#include "notes/notes_view.h"
#include "fakes/fakes.h"
#include "fakes/held_file.h"

namespace qz::fake {

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

// The editor window as state the tests read; Run plays script, as a person would use the window.
class FakeEditorView : public EditorView, public BareWindow {
 public:
  TranslatableWindow* Open(EditorEvents& events) override {
    events_ = &events;
    return this;
  }
  void Run() override {
    running = true;
    if (script) script(*this, *events_);
  }
  void Close() override { running = false; }
  void SetSections(const std::vector<std::pair<std::string, std::string>>& entries) override { sections = entries; }
  void ShowSection(const std::string& value) override { section = value; }
  void ShowIniFile(const std::string& path) override { iniFile = path; }
  void ShowVersion(const std::string& text) override { version = text; }
  void ShowPage(int p) override { page = p; }
  void ShowCount(long n) override { count = n; }
  void Enable(EditorControl control, bool on) override { enabled[control] = on; }
  void SetFormat(const std::string& f) override { format = f; }
  void ShowItems(const std::vector<Item>& list) override { items = &list; }
  void Redisplay() override {}
  void Select(int r, int c) override {
    row = r;
    column = c;
  }
  void FocusList() override { ++listFocused; }
  void OpenEditor(int r, int c, const CellEditor& e) override {
    editor = e;
    editorRow = r;
    editorColumn = c;
    editorOpen = true;
    detached = false;
  }
  std::string EditorText() override { return editor.text; }
  void SetEditorText(const std::string& text) override { editor.text = text; }
  void DetachEditor() override { detached = true; }
  void CloseEditor() override { editorOpen = false; }

  // Typing into the open field.
  void Type(const std::string& text) { editor.text = text; }
  bool On(EditorControl c) const { auto it = enabled.find(c); return it != enabled.end() && it->second; }

  std::function<void(FakeEditorView&, EditorEvents&)> script;
  bool running = false;
  std::vector<std::pair<std::string, std::string>> sections;
  std::string section, iniFile, version, format;
  int page = 0, row = 0, column = 0, listFocused = 0;
  long count = -1;
  std::map<EditorControl, bool> enabled;
  const std::vector<Item>* items = nullptr;
  CellEditor editor;
  int editorRow = 0, editorColumn = 0;
  bool editorOpen = false, detached = false;

 private:
  EditorEvents* events_ = nullptr;
};

// The notes window as state the tests read; Run plays script.
class FakeNotesView : public NotesView, public BareWindow {
 public:
  TranslatableWindow* Open(NotesEvents& events) override {
    events_ = &events;
    return this;
  }
  void Run() override {
    running = true;
    if (script) script(*this, *events_);
  }
  void Close() override { running = false; }
  void SetText(NotesControl c, const std::string& text) override { texts[c] = text; }
  std::string Text(NotesControl c) override { return texts[c]; }
  void SetChecked(NotesControl c, bool on) override { checks[c] = on; }
  bool Checked(NotesControl c) override { return checks[c]; }
  void Enable(NotesArea area, bool on) override { enabled[area] = on; }
  void ShowPath(const std::string& p) override { path = p; }
  void ShowNotice(const std::string&) override {}
  void ShowVersion(const std::string& text) override { version = text; }
  void ShowStatus(int zone, const std::string& text) override { status[zone] = text; }
  void ShowPage(int p) override { page = p; }
  void SetTimer(int hundredths) override { timer = hundredths; }

  // Clicking a check box: its value flips, then the window reports it.
  void Click(NotesControl c) {
    checks[c] = !checks[c];
    events_->OnAccepted(c);
  }

  std::function<void(FakeNotesView&, NotesEvents&)> script;
  bool running = false;
  std::map<NotesControl, std::string> texts;
  std::map<NotesControl, bool> checks;
  std::map<NotesArea, bool> enabled;
  std::map<int, std::string> status;
  std::string path, version;
  int page = 1, timer = -1;

 private:
  NotesEvents* events_ = nullptr;
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

struct Harness {
  FakeProfile profile;
  FakeFiles files;
  FakeClock clock;
  FakeDialogs dialogs;
  Latin1Codec codec;
  FakeLoadingView loading;
  FakeDdeTransport transport;
  FakeProcesses processes;
  FakeShell shell;
  FakeRegistry registry;
  FakeHeldFile heldFile;
  FakeViews views;
  Program program{{profile, files, clock, codec, dialogs, processes, shell, registry, heldFile, transport, loading},
                  views};
  Services& svc = program.services();
  StringTranslator& translator = program.translator();
  // Runs the command of "qzcl.exe " + arguments, as a start with that command line would.
  void Run(const std::string& arguments) { program.RunCommand(CommandLine("qzcl.exe " + arguments)); }
};

}  // namespace qz::fake
