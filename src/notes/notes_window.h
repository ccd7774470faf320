// The window of a start without a command word: it shows the next entry of the version equate file and
// appends it on Ok.
#pragma once
#include "base/services.h"
#include "notes/notes_view.h"
#include "notes/version_file.h"

namespace qz {

class NotesPresenter : public NotesEvents {
 public:
  NotesPresenter(Services& svc, NotesView& view) : svc_(svc), view_(view), notes_(svc.heldFile) {}

  // Runs the window to its end; false when no window could be opened.
  bool Run();

  void OnAccepted(NotesControl control) override;
  void OnSpin(NotesControl control, int steps) override;
  void OnTimer() override;
  void OnCloseRequest() override;
  void OnHelp() override;

 private:
  void ShowStatus();
  void SetUpdatesOff();
  void SetUpdatesOn();
  void Display();
  void TakeFields();
  bool TakeNumber(NotesControl control);
  void Store(NotesControl control, double value);
  void Close();

  Services& svc_;
  NotesView& view_;
  VersionNotes notes_;
  bool closing_ = false, closed_ = false;
  int ticks_ = 0;
};

// The start without a command word; view is nullptr where no window can open (an unattended run).
void OpenVersionNotes(Services& svc, NotesView* view);

}  // namespace qz
