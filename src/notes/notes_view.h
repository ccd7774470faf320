// The version notes window as its presenter sees it: fields bound to the version record and the setup,
// a status bar of three zones and a timer; and the events the window reports back.
#pragma once
#include <string>

#include "translator/translatable_window.h"

namespace qz {

// The controls the presenter reads, writes or hears from.
enum class NotesControl { Note, Version, Build, OnOff, AutoIncrement, FileName, Ok, Cancel, Next, Back };

// What SetUpdatesOff disables: the version group with its controls; the setup under Enable Updates; the
// two buttons.
enum class NotesArea { VersionGroup, Setup, Buttons };

class NotesEvents {
 public:
  virtual ~NotesEvents() = default;
  // A button pressed, a check box clicked, or a field left after its text changed.
  virtual void OnAccepted(NotesControl control) = 0;
  // A spin box's arrows were pressed: steps up (negative: down).
  virtual void OnSpin(NotesControl control, int steps) = 0;
  virtual void OnTimer() = 0;
  // The close box, Alt+F4.
  virtual void OnCloseRequest() = 0;
  virtual void OnHelp() = 0;
};

class NotesView {
 public:
  virtual ~NotesView() = default;
  // Creates the window, not yet shown; nullptr when there is no window (an unattended run).
  virtual TranslatableWindow* Open(NotesEvents& events) = 0;
  // Shows the window and hands its events to the presenter until Close.
  virtual void Run() = 0;
  virtual void Close() = 0;

  // Texts of the entries and spin boxes as shown; a spin box shows its value through its picture.
  virtual void SetText(NotesControl control, const std::string& text) = 0;
  virtual std::string Text(NotesControl control) = 0;
  virtual void SetChecked(NotesControl control, bool checked) = 0;
  virtual bool Checked(NotesControl control) = 0;
  virtual void Enable(NotesArea area, bool enabled) = 0;
  virtual void ShowPath(const std::string& path) = 0;
  virtual void ShowNotice(const std::string& text) = 0;
  virtual void ShowVersion(const std::string& text) = 0;
  virtual void ShowStatus(int zone, const std::string& text) = 0;
  virtual void ShowPage(int page) = 0;
  // Timer events every interval hundredths of a second; 0 stops them.
  virtual void SetTimer(int hundredths) = 0;
};

}  // namespace qz
