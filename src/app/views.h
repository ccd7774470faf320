// The program's windows, as the portable code opens them. Win32 views in a desktop run; in an
// unattended run windows that take no input are left out.
#pragma once
#include <memory>

#include "ide/please_wait.h"

namespace qz {

class EditorView;
class NotesView;

class Views {
 public:
  virtual ~Views() = default;
  virtual std::unique_ptr<PleaseWaitView> PleaseWait() = 0;
  virtual std::unique_ptr<EditorView> Editor() = 0;
  virtual std::unique_ptr<NotesView> Notes() = 0;
};

}  // namespace qz
