// The program's windows, as the top of the program opens them for the commands: the Win32 views in a
// desktop run; in an unattended run none that waits for a person.
#pragma once
#include <memory>

#include "editor/editor_view.h"
#include "ide/please_wait.h"
#include "notes/notes_view.h"

namespace qz {

class Views {
 public:
  virtual ~Views() = default;
  virtual std::unique_ptr<PleaseWaitView> PleaseWait() = 0;
  // Nullptr where no window can open.
  virtual std::unique_ptr<EditorView> Editor() = 0;
  virtual std::unique_ptr<NotesView> Notes() = 0;
};

// An unattended run: windows that only inform open nowhere; nobody could use the others, so the
// commands say so instead of waiting for a person.
class UnattendedViews : public Views {
 public:
  std::unique_ptr<PleaseWaitView> PleaseWait() override { return std::make_unique<NoPleaseWait>(); }
  std::unique_ptr<EditorView> Editor() override { return nullptr; }
  std::unique_ptr<NotesView> Notes() override { return nullptr; }
};

}  // namespace qz
