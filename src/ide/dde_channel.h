// One client conversation with the IDE's DDE service, and the log of its connections.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/clock.h"
#include "runtime/dde_transport.h"
#include "runtime/processes.h"
#include "runtime/profile.h"

namespace qz {

// .\QZDE.LOG: each key holds the value of the last run that wrote it.
class DdeLog {
 public:
  explicit DdeLog(Profile& profile) : profile_(profile) {}
  void Write(std::string_view section, std::string_view key, std::string_view value);
  void Write(std::string_view section, std::string_view key, long value);

  std::string FILE;  // blank until the first Write

 private:
  Profile& profile_;
};

inline constexpr const char* kIdeService = "ClarionWin";

class DdeChannel {
 public:
  DdeChannel(DdeTransport& transport, Processes& processes, Clock& clock, DdeLog& log)
      : transport_(transport), processes_(processes), clock_(clock), log_(log) {}
  virtual ~DdeChannel() = default;
  DdeChannel(const DdeChannel&) = delete;
  DdeChannel& operator=(const DdeChannel&) = delete;

  void Init(std::string_view exe);
  // True when a conversation is open on return; starts EXE once when no server answers,
  // then looks for it until 30 seconds after the first attempt.
  virtual bool Connect();
  virtual void OpenChannel();
  // Starts EXE, then opens the conversation; 0, or the start's failure as an unsigned byte (252).
  virtual std::uint8_t Run();
  int Execute(std::string_view command);
  int RegisterTemplateChain(std::string_view templates, std::uint8_t flag);
  void CloseChannel();
  void Kill();
  long GetErrorCode() const { return DDEERRORCODE; }
  const std::string& GetError() const { return DDEERROR; }

  long CHANNEL = 0;
  std::string DDEERROR;  // CSTRING(125)
  long DDEERRORCODE = 0;
  struct Settings {
    std::string APP;  // CSTRING(120)
    std::string EXE;  // CSTRING(120)
    long TIMEOUT = 0;  // hundredths of a second
  } DDE;

  // How long Connect looks for a server, and how long it rests between attempts so that the
  // wait costs no processor time.
  static constexpr std::int64_t kConnectWindowMs = 30000;
  static constexpr int kRetryPauseMs = 75;

 private:
  DdeTransport& transport_;
  Processes& processes_;
  Clock& clock_;
  DdeLog& log_;
};

}  // namespace qz
