#pragma once
#include "app/views.h"

namespace qz {

// The real windows.
class Win32Views : public Views {
 public:
  std::unique_ptr<PleaseWaitView> PleaseWait() override;
  std::unique_ptr<EditorView> Editor() override;
  std::unique_ptr<NotesView> Notes() override;
};

}  // namespace qz
