// The editor window as its presenter sees it: controls to enable, a list to fill and select, a field laid
// over one list cell; and the events the window reports back.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "editor/section_table.h"
#include "translator/translatable_window.h"

namespace qz {

// The controls the presenter enables or hears from, in the window's order.
enum class EditorControl { Add, Change, Delete, Sort, Up, Down, Default, Update, Close, Next, Back };

// Keys the edit field hands over instead of handling them itself.
enum class EditKey { Esc, Enter, Tab, ShiftTab, Up, Down, AltDown };

// The field laid over a list cell.
struct CellEditor {
  enum class Kind { Entry, Combo };
  Kind kind = Kind::Entry;
  std::string text;
  std::size_t maxChars = 255;  // from the column's display picture
  std::string choices;         // a combo's drop list, entries between "|"
  std::string tip;             // not empty when Alt+Down chooses a file: the field's tool tip
};

class EditorEvents {
 public:
  virtual ~EditorEvents() = default;
  virtual void OnAccepted(EditorControl control) = 0;
  virtual void OnSectionChosen(const std::string& value) = 0;
  // The user selected a cell (1-based row and column), by mouse or keyboard, or Esc in the edit field.
  virtual void OnNewSelection(int row, int column) = 0;
  // Double-click or Enter on the list.
  virtual void OnActivate() = 0;
  virtual void OnEditKey(EditKey key) = 0;
  // The user changed the edit field's text and left the field.
  virtual void OnEditAccepted() = 0;
  // The Close button, the close box, Alt+F4.
  virtual void OnCloseRequest() = 0;
  virtual void OnHelp() = 0;
};

class EditorView {
 public:
  virtual ~EditorView() = default;
  // Creates the window, not yet shown; the translator walks what this returns. Nullptr when there is
  // no window (an unattended run).
  virtual TranslatableWindow* Open(EditorEvents& events) = 0;
  // Shows the window and hands its events to the presenter until Close.
  virtual void Run() = 0;
  virtual void Close() = 0;

  // The section drop list: (shown text, value) pairs.
  virtual void SetSections(const std::vector<std::pair<std::string, std::string>>& entries) = 0;
  virtual void ShowSection(const std::string& value) = 0;
  virtual void ShowIniFile(const std::string& path) = 0;
  virtual void ShowVersion(const std::string& text) = 0;
  virtual void ShowPage(int page) = 0;
  virtual void ShowCount(long count) = 0;
  virtual void Enable(EditorControl control, bool enabled) = 0;
  // While held the window takes no input: a wait inside it (the update's backup retries, the IDE close
  // prompt) must not let a click start another action.
  virtual void Hold(bool held) = 0;

  // A list format (columns, headers, pictures, fields); the list shows items through it and keeps
  // the reference until the next call. Redisplay after the items change.
  virtual void SetFormat(const std::string& format) = 0;
  virtual void ShowItems(const std::vector<Item>& items) = 0;
  virtual void Redisplay() = 0;
  // Selects a cell without reporting it back; row 0 selects nothing.
  virtual void Select(int row, int column) = 0;
  virtual void FocusList() = 0;

  virtual void OpenEditor(int row, int column, const CellEditor& editor) = 0;
  // What the field holds now; reading it counts as taking it (the field is no longer "changed").
  virtual std::string EditorText() = 0;
  virtual void SetEditorText(const std::string& text) = 0;
  // Takes the field off its cell (hidden) without destroying it.
  virtual void DetachEditor() = 0;
  virtual void CloseEditor() = 0;
};

}  // namespace qz
