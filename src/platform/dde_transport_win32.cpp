#include "platform/dde_transport_win32.h"

#include <dde.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

#include "platform/message_pump_win32.h"

namespace qz {
namespace {

constexpr char kClassName[] = "QzDdeClient";
// Each window gets this long to answer an initiate. Windows that have not read their messages for a while
// count as hung and are skipped at once, so one hung program cannot stall the search.
constexpr UINT kInitiateTimeoutMs = 1000;
constexpr DWORD kCloseWaitMs = 1000;  // for the partner's terminate
// While waiting we look at least this often whether the partner's window still exists: a server that
// crashes sends no terminate.
constexpr DWORD kPollMs = 50;
constexpr int kPaintsPerRound = 16;    // a window that never validates must not keep us from the answer
constexpr WORD kAckPositive = 0x8000;  // DDEACK.fAck

// Message packing: how each DDE message carries its parameters. Nothing below knows about conversations.

// WM_DDE_INITIATE, sent to every top-level window: wParam = the client window; lParam = the service and
// topic atoms as two words, 0 meaning "any".
// False when the window did not take it in time.
bool SendInitiate(HWND to, HWND client, ATOM service, ATOM topic) {
  DWORD_PTR ignored = 0;
  // Not SMTO_BLOCK: the server answers by sending us its acknowledgement while we wait, and we must take it.
  return SendMessageTimeoutA(to, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(client), MAKELPARAM(service, topic),
                             SMTO_ABORTIFHUNG, kInitiateTimeoutMs, &ignored) != 0;
}

// WM_DDE_ACK answering an initiate, sent: wParam = the server's window; lParam = the service and topic
// atoms as two words, added by the server and deleted by the receiver.
struct InitiateAck {
  ATOM service;
  ATOM topic;
};
InitiateAck UnpackInitiateAck(LPARAM lParam) { return {LOWORD(lParam), HIWORD(lParam)}; }

// WM_DDE_EXECUTE, posted: wParam = the client window; lParam = the commands handle itself, not packed:
// GMEM_MOVEABLE | GMEM_DDESHARE memory holding the NUL-terminated ANSI text.
UniqueHglobal CommandsMemory(const std::string& text) {
  UniqueHglobal memory(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1));
  if (!memory) return memory;
  void* bytes = GlobalLock(memory.get());
  if (!bytes) return UniqueHglobal();
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  GlobalUnlock(memory.get());
  return memory;
}
bool PostExecute(HWND to, HWND client, HGLOBAL commands) {
  return PostMessageA(to, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(client), reinterpret_cast<LPARAM>(commands));
}

// WM_DDE_ACK answering an execute, posted: wParam = the server's window; lParam = PackDDElParam of the DDEACK
// status word and the commands handle, which comes back for the client to free. The receiver frees the
// packing, which is done here.
struct ExecuteAck {
  WORD status;
  HGLOBAL commands;
};
ExecuteAck UnpackExecuteAck(LPARAM lParam) {
  UINT_PTR status = 0, commands = 0;
  UnpackDDElParam(WM_DDE_ACK, lParam, &status, &commands);
  FreeDDElParam(WM_DDE_ACK, lParam);
  return {LOWORD(status), reinterpret_cast<HGLOBAL>(commands)};
}

// WM_DDE_TERMINATE, posted: wParam = the sender's window; lParam = 0.
bool PostTerminate(HWND to, HWND from) { return PostMessageA(to, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(from), 0); }

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows) {
  reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

}  // namespace

// Conversation logic.

Win32DdeTransport::~Win32DdeTransport() {
  while (!conversations_.empty()) Close(conversations_.begin()->first);
  if (window_) TakeQueued();  // answers still queued hold packings to free
  pending_.clear();
  window_.reset();
}

void Win32DdeTransport::SetTimeout(long hundredths) {
  timeoutMs_ = hundredths > 0 && hundredths <= LONG_MAX / 10 ? static_cast<DWORD>(hundredths) * 10 : 1000;
}

HWND Win32DdeTransport::Window() {
  if (window_) return window_.get();
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);  // fails harmlessly when an earlier transport registered it
  // A hidden top-level window, not a message-only one: initiates go to top-level windows, and servers
  // answer to this window.
  window_.reset(CreateWindowExA(0, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, this));
  return window_.get();
}

// Only paint messages and the DDE messages posted to our window are taken; other input stays queued. A quit
// met meanwhile ends the wait: the program is closing.
template <typename Done>
bool Win32DdeTransport::Wait(DWORD ms, Done done) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    const bool quit = !TakeQueued() || !DispatchQueued({nullptr, WM_PAINT, WM_PAINT}, kPaintsPerRound);
    if (done()) return true;
    const ULONGLONG now = GetTickCount64();
    if (quit || now >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(end - now, kPollMs)),
                              QS_POSTMESSAGE | QS_SENDMESSAGE | QS_PAINT);
  }
}

LRESULT CALLBACK Win32DdeTransport::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32DdeTransport*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self && (message == WM_DDE_ACK || message == WM_DDE_TERMINATE)) {
    try {
      HWND server = reinterpret_cast<HWND>(wParam);
      if (message == WM_DDE_TERMINATE)
        self->OnTerminate(server);
      else if (self->initiating_ || InSendMessage())  // answers to an initiate are sent, all others posted
        self->OnInitiateAck(server, lParam);
      else
        self->OnExecuteAck(server, lParam);
    } catch (...) {
      // Nothing may unwind into user32, which called us: an answer lost here is as one never sent, and the
      // wait for it times out.
    }
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

long Win32DdeTransport::Open(const std::string& service, const std::string& topic) {
  HWND client = Window();
  if (!client) return 0;
  // Ours to delete once every window has seen them.
  UniqueGlobalAtom serviceAtom(service.empty() ? ATOM{0} : GlobalAddAtomA(service.c_str()));
  UniqueGlobalAtom topicAtom(topic.empty() ? ATOM{0} : GlobalAddAtomA(topic.c_str()));
  if (serviceAtom.get() == 0 && !service.empty()) return 0;
  newPartner_ = nullptr;
  initiating_ = true;
  // A thread that let one window time out would let its other windows (its input method window, for one)
  // time out too: each thread costs the time-out at most once.
  std::vector<DWORD> unresponsive;
  for (HWND window : TopLevelWindows()) {
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (window == client || std::find(unresponsive.begin(), unresponsive.end(), thread) != unresponsive.end()) continue;
    if (!SendInitiate(window, client, serviceAtom.get(), topicAtom.get()) && IsWindow(window))
      unresponsive.push_back(thread);
  }
  initiating_ = false;
  HWND partner = std::exchange(newPartner_, nullptr);
  if (!partner) return 0;
  long channel = nextChannel_;
  nextChannel_ = nextChannel_ == LONG_MAX ? 1 : nextChannel_ + 1;
  conversations_[channel] = {partner, State::Open};
  return channel;
}

void Win32DdeTransport::OnInitiateAck(HWND server, LPARAM lParam) {
  InitiateAck ack = UnpackInitiateAck(lParam);
  UniqueGlobalAtom service(ack.service), topic(ack.topic);  // the server's atoms: the receiver deletes them
  if (initiating_ && !newPartner_) {
    newPartner_ = server;
    return;
  }
  // Later servers are refused. A second answer from a window we already talk with is dropped instead:
  // a terminate would end that conversation too.
  if (server != newPartner_ && !Find(server)) PostTerminate(server, window_.get());
}

// The text goes as it is; callers write the command grammar, such as "[RegisterTemplateChain(files,0)]".
int Win32DdeTransport::Execute(long channel, const std::string& text) {
  auto it = conversations_.find(channel);
  if (it == conversations_.end()) return kDdeNotOpen;
  Conversation& c = it->second;
  TakeQueued();  // a terminate the partner posted meanwhile
  if (PartnerGone(c)) return kDdeNotOpen;
  UniqueHglobal commands = CommandsMemory(text);
  if (!commands || !PostExecute(c.partner, window_.get(), commands.get())) return kDdeNotOpen;
  awaited_ = commands.get();
  awaitedStatus_.reset();
  pending_.push_back({c.partner, std::move(commands)});
  Wait(timeoutMs_, [&] { return awaitedStatus_ || PartnerGone(c); });
  TakeQueued();  // an answer posted just before the partner went
  awaited_ = nullptr;
  if (awaitedStatus_) return (*awaitedStatus_ & kAckPositive) ? kDdeOk : kDdeInvalidCommand;
  if (PartnerGone(c)) {
    ForgetPending(c.partner);  // no answer will bring the memory back now
    return kDdeNotOpen;
  }
  return kDdeTimedOut;  // the memory stays pending: a late answer or Close frees it
}

void Win32DdeTransport::OnExecuteAck(HWND server, LPARAM lParam) {
  ExecuteAck ack = UnpackExecuteAck(lParam);
  auto it = std::find_if(pending_.begin(), pending_.end(),
                         [&](const Pending& p) { return p.partner == server && p.commands.get() == ack.commands; });
  if (it == pending_.end()) return;  // an answer to memory we have already freed
  if (ack.commands == awaited_) awaitedStatus_ = ack.status;
  pending_.erase(it);  // the commands came back: the client frees them
}

void Win32DdeTransport::Close(long channel) {
  auto it = conversations_.find(channel);
  if (it == conversations_.end()) return;
  Conversation& c = it->second;
  HWND partner = c.partner;
  TakeQueued();
  if (!PartnerGone(c) && PostTerminate(partner, window_.get())) {
    c.state = State::Closing;
    Wait(kCloseWaitMs, [&] { return PartnerGone(c); });
  }
  conversations_.erase(it);
  // The partner answers nothing after its terminate, so what it still holds of ours will not come back.
  if (!Find(partner)) ForgetPending(partner);
}

void Win32DdeTransport::OnTerminate(HWND server) {
  Conversation* c = Find(server);
  if (!c) return;  // the answer to a refusal, or to a conversation already forgotten
  if (c->state == State::Open) PostTerminate(server, window_.get());  // the server ends it: answer in kind
  c->state = State::Ended;
}

Win32DdeTransport::Conversation* Win32DdeTransport::Find(HWND partner) {
  for (auto& [channel, c] : conversations_)
    if (c.partner == partner && c.state != State::Ended) return &c;
  return nullptr;
}

bool Win32DdeTransport::PartnerGone(const Conversation& c) const {
  return c.state == State::Ended || !IsWindow(c.partner);
}

void Win32DdeTransport::ForgetPending(HWND partner) {
  auto sent = [&](const Pending& p) { return p.partner == partner; };
  pending_.erase(std::remove_if(pending_.begin(), pending_.end(), sent), pending_.end());
}

void Win32DdeTransport::OnPosted(const MSG& msg) {
  HWND server = reinterpret_cast<HWND>(msg.wParam);
  if (msg.message == WM_DDE_ACK)
    OnExecuteAck(server, msg.lParam);
  else if (msg.message == WM_DDE_TERMINATE)
    OnTerminate(server);
  else
    DispatchMessageA(&msg);
}

bool Win32DdeTransport::TakeQueued() {
  MSG msg;
  for (;;) {
    switch (TakeMessage(msg, false, {window_.get(), WM_DDE_FIRST, WM_DDE_LAST})) {
      case Taken::Message: OnPosted(msg); break;
      case Taken::None: return true;
      case Taken::Quit: return false;
    }
  }
}

}  // namespace qz
