// The Win32 adapter of every port, made once: for qzcl.exe and for the tests that run the program's code
// against the real APIs.
#pragma once
#include <ostream>

#include "app/views_win32.h"
#include "base/services.h"
#include "platform/dde_transport_win32.h"
#include "platform/dialogs_win32.h"
#include "platform/files_win32.h"
#include "platform/held_file_win32.h"
#include "platform/locks_win32.h"
#include "platform/platform_win32.h"
#include "platform/processes_win32.h"
#include "platform/profile_win32.h"
#include "platform/registry_win32.h"
#include "translator/loading_view_win32.h"

namespace qz {

class Win32Ports {
 public:
  // An unattended run writes its boxes to boxes, what a program asked for to output, and opens no window.
  Win32Ports(bool unattended, std::ostream& boxes, std::ostream& output)
      : unattended_(unattended), writtenDialogs_(boxes, output) {}

  Ports Get() {
    return {{profile_, files_, locks_, clock_, codec_, processes_, shell_, registry_, heldFile_, transport_},
            ChosenDialogs(),
            unattended_ ? static_cast<LoadingView&>(noLoading_) : shownLoading_};
  }
  Views& GetViews() { return unattended_ ? static_cast<Views&>(noViews_) : shownViews_; }

 private:
  Dialogs& ChosenDialogs() { return unattended_ ? static_cast<Dialogs&>(writtenDialogs_) : shownDialogs_; }

  bool unattended_;
  Win32Profile profile_;
  Win32Files files_;
  Win32Locks locks_;
  Win32Clock clock_;
  Win32Codec codec_;
  Win32Dialogs shownDialogs_;
  UnattendedDialogs writtenDialogs_;
  Win32Processes processes_;
  Win32Shell shell_;
  Win32Registry registry_;
  Win32HeldFile heldFile_;
  Win32DdeTransport transport_;
  Win32LoadingView shownLoading_;
  NoLoadingView noLoading_;
  Win32Views shownViews_;
  UnattendedViews noViews_;
};

}  // namespace qz
