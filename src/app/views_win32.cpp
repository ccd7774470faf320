#include "app/views_win32.h"

#include "editor/editor_view_win32.h"
#include "ide/please_wait_win32.h"
#include "notes/notes_view_win32.h"

namespace qz {

namespace {

class NoPleaseWait : public PleaseWaitView {
 public:
  TranslatableWindow* Open(const std::string&) override { return nullptr; }
  void Display() override {}
  void Close() override {}
};

}  // namespace

std::unique_ptr<PleaseWaitView> Win32Views::PleaseWait() { return std::make_unique<Win32PleaseWait>(); }

std::unique_ptr<PleaseWaitView> UnattendedViews::PleaseWait() { return std::make_unique<NoPleaseWait>(); }

std::unique_ptr<EditorView> Win32Views::Editor() { return std::make_unique<Win32EditorView>(); }

// Nobody could use the editor: the command says so instead of waiting for a person.
std::unique_ptr<EditorView> UnattendedViews::Editor() { return nullptr; }

std::unique_ptr<NotesView> Win32Views::Notes() { return std::make_unique<Win32NotesView>(); }

std::unique_ptr<NotesView> UnattendedViews::Notes() { return nullptr; }

}  // namespace qz
