// One client conversation with the IDE's DDE service, logging its connections in QZDE.LOG (each key holds the
// value of the last run that wrote it).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "base/services.h"

namespace qz {

inline constexpr const char* kIdeService = "ClarionWin";

class DdeChannel {
 public:
  // A channel to the IDE, which ide starts (nothing is started when it is empty); no conversation is open yet.
  DdeChannel(Services& svc, ProgramStart ide);
  // Ends a conversation still open.
  ~DdeChannel() { Close(); }
  DdeChannel(const DdeChannel&) = delete;
  DdeChannel& operator=(const DdeChannel&) = delete;

  // True when a conversation is open on return; starts the IDE once when no server answers, then looks
  // for it until 30 seconds after the first attempt.
  bool Connect();
  // Opens a conversation with a running server, if one answers; ends the one open before.
  void Open();
  bool IsOpen() const { return channel_ != 0; }
  // "[" command "]" as one execute; kDdeOk or the transport's error.
  int Execute(std::string_view command);
  // RegisterTemplateChain(<templates>,<flag>) with templates as "a.tpl" "b.tpl", flag in decimal.
  int RegisterTemplateChain(std::string_view templates, int flag);
  void Close();

  // Why the IDE could not be started, when it could not.
  const std::string& Error() const { return error_; }

  // How long Connect looks for a server, and how long it rests between attempts so that the wait costs no
  // processor time.
  static constexpr std::int64_t kConnectWindowMs = 30000;
  static constexpr int kRetryPauseMs = 75;
  // How long an execute waits for its acknowledgement.
  static constexpr long kTimeoutHundredths = 100;

 private:
  // Starts the IDE, then opens a conversation; 0, or the start's failure as the byte the DDE log has always written
  // (252).
  int StartIde();
  void Log(std::string_view key, std::string_view value);

  DdeTransport& transport_;
  Processes& processes_;
  Clock& clock_;
  Profile& profile_;
  ProgramStart ide_;
  std::string logFile_;
  long channel_ = 0;
  std::string error_;
};

}  // namespace qz
