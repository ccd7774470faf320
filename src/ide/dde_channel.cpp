#include "ide/dde_channel.h"

#include <utility>

#include "text/text.h"

namespace qz {

namespace {
constexpr std::string_view kLogName = "QZDE.LOG";
constexpr std::string_view kLogSection = "Connect";
constexpr std::size_t kErrorMax = 124;  // held in 125 bytes
}  // namespace

DdeChannel::DdeChannel(Services& svc, ProgramStart ide)
    : transport_(svc.dde),
      processes_(svc.processes),
      clock_(svc.clock),
      profile_(svc.profile),
      ide_(std::move(ide)),
      // An installer runs us in its own folder, which is not ours to write in.
      logFile_((svc.Unattended() ? svc.files.TemporaryFolder() : std::string(".")) + "\\" + std::string(kLogName)) {}

void DdeChannel::Log(std::string_view key, std::string_view value) {
  WriteIni(profile_, logFile_, kLogSection, key, value);
}

void DdeChannel::Open() {
  Close();
  channel_ = transport_.Open(kIdeService, "");
}

int DdeChannel::StartIde() {
  int result = 0;
  if (!IsBlank(ide_.commandLine)) {
    std::string error;
    result = processes_.Start(ide_, error);
    if (result != 0) {
      error_ = Cut(error, kErrorMax);
    }
  }
  Open();
  return static_cast<std::uint8_t>(result);
}

bool DdeChannel::Connect() {
  Log("App", kIdeService);
  transport_.SetTimeout(kTimeoutHundredths);
  Log("Before Open Channel", kIdeService);
  bool started = false;
  const std::int64_t first = clock_.Milliseconds();
  for (;;) {
    Open();
    if (IsOpen()) break;
    if (!started) {
      Log("Before Run", kIdeService);
      const int result = StartIde();
      started = true;
      Log("Run Error", std::to_string(result));
      continue;
    }
    if (clock_.Milliseconds() - first > kConnectWindowMs) break;
    // A program that is starting needs time before its service answers; asking again at once only
    // burns the processor it needs.
    clock_.Wait(kRetryPauseMs);
  }
  if (IsOpen()) Log("Run Error", std::to_string(channel_));
  return IsOpen();
}

int DdeChannel::Execute(std::string_view command) {
  if (!IsOpen()) return kDdeNotOpen;
  return transport_.Execute(channel_, "[" + Clip(command) + "]");
}

int DdeChannel::RegisterTemplateChain(std::string_view templates, int flag) {
  return Execute("RegisterTemplateChain(" + Clip(templates) + "," + std::to_string(flag) + ")");
}

void DdeChannel::Close() {
  if (channel_ != 0) transport_.Close(channel_);
  channel_ = 0;
}

}  // namespace qz
