#include "app/views_win32.h"

#include "editor/editor_view_win32.h"
#include "ide/please_wait_win32.h"
#include "notes/notes_view_win32.h"

namespace qz {

std::unique_ptr<PleaseWaitView> Win32Views::PleaseWait() { return std::make_unique<Win32PleaseWait>(); }

std::unique_ptr<EditorView> Win32Views::Editor() { return std::make_unique<Win32EditorView>(); }

std::unique_ptr<NotesView> Win32Views::Notes() { return std::make_unique<Win32NotesView>(); }

}  // namespace qz
