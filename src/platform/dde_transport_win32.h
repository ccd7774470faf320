// The DDE client on the raw Windows DDE messages, with global atoms and shared memory.
#pragma once
#include <windows.h>

#include <map>
#include <optional>
#include <vector>

#include "platform/dde_transport.h"
#include "platform/handle_win32.h"

namespace qz {

// All calls must come from one thread: the one that opened the first conversation owns the client window,
// and the servers' answers arrive in its message queue.
class Win32DdeTransport : public DdeTransport {
 public:
  Win32DdeTransport() = default;
  ~Win32DdeTransport() override;
  Win32DdeTransport(const Win32DdeTransport&) = delete;
  Win32DdeTransport& operator=(const Win32DdeTransport&) = delete;

  long Open(const std::string& service, const std::string& topic) override;
  int Execute(long channel, const std::string& text) override;
  void Close(long channel) override;
  // A time-out of zero or less restores the default of one second.
  void SetTimeout(long hundredths) override;

 private:
  enum class State { Open, Closing, Ended };
  struct Conversation {
    HWND partner;
    State state;
  };
  // An execute whose acknowledgement has not come back: its memory is ours to free when it does.
  struct Pending {
    HWND partner;
    UniqueHglobal commands;
  };

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND Window();
  void OnInitiateAck(HWND server, LPARAM lParam);
  void OnExecuteAck(HWND server, LPARAM lParam);
  void OnTerminate(HWND server);
  void OnPosted(const MSG& msg);
  Conversation* Find(HWND partner);
  bool PartnerGone(const Conversation& c) const;
  void ForgetPending(HWND partner);
  template <typename Done>
  bool Wait(DWORD ms, Done done);
  // False when it met WM_QUIT (posted again).
  bool TakeQueued();

  UniqueHwnd window_;
  std::map<long, Conversation> conversations_;
  std::vector<Pending> pending_;
  long nextChannel_ = 1;
  DWORD timeoutMs_ = 1000;
  bool initiating_ = false;
  HWND newPartner_ = nullptr;
  HGLOBAL awaited_ = nullptr;
  std::optional<WORD> awaitedStatus_;
};

}  // namespace qz
