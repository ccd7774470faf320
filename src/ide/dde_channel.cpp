#include "ide/dde_channel.h"

#include "app/ini.h"
#include "runtime/text.h"

namespace qz {

namespace {
constexpr std::string_view kLogSection = "Connect";
constexpr std::size_t kNameMax = 119;   // CSTRING(120)
constexpr std::size_t kErrorMax = 124;  // CSTRING(125)
}  // namespace

void DdeLog::Write(std::string_view section, std::string_view key, std::string_view value) {
  if (IsBlank(FILE)) FILE = ".\\QZDE.LOG";
  PUTINI(profile_, section, key, value, FILE);
}

void DdeLog::Write(std::string_view section, std::string_view key, long value) {
  Write(section, key, std::to_string(value));
}

void DdeChannel::Init(std::string_view exe) {
  DDE.APP = kIdeService;
  DDE.EXE = Cut(exe, kNameMax);
  DDE.TIMEOUT = 100;
}

void DdeChannel::OpenChannel() {
  if (CHANNEL != 0) CloseChannel();
  CHANNEL = transport_.Open(Clip(DDE.APP), "");
}

std::uint8_t DdeChannel::Run() {
  int r = 0;
  if (!IsBlank(DDE.EXE)) {
    std::string error;
    r = processes_.Start(Clip(DDE.EXE), error);
    if (r != 0) {
      DDEERROR = Cut(error, kErrorMax);
      DDEERRORCODE = r;
    }
  }
  OpenChannel();
  return static_cast<std::uint8_t>(r);
}

bool DdeChannel::Connect() {
  log_.Write(kLogSection, "App", DDE.APP);
  transport_.SetTimeout(DDE.TIMEOUT != 0 ? DDE.TIMEOUT : 100);
  log_.Write(kLogSection, "Before Open Channel", DDE.APP);
  bool started = false;
  const std::int64_t first = clock_.Milliseconds();
  for (;;) {
    OpenChannel();
    if (CHANNEL != 0) break;
    if (!started) {
      log_.Write(kLogSection, "Before Run", DDE.APP);
      std::uint8_t r = Run();
      started = true;
      log_.Write(kLogSection, "Run Error", static_cast<long>(r));
      continue;
    }
    if (clock_.Milliseconds() - first > kConnectWindowMs) break;
    // A program that is starting needs time before its service answers; asking again at once only
    // burns the processor it needs.
    clock_.Wait(kRetryPauseMs);
  }
  if (CHANNEL != 0) log_.Write(kLogSection, "Run Error", CHANNEL);
  return CHANNEL != 0;
}

// Execute command: "[" command "]", the command without trailing blanks.
int DdeChannel::Execute(std::string_view command) {
  if (CHANNEL == 0) return kDdeNotOpen;
  return transport_.Execute(CHANNEL, "[" + Clip(command) + "]");
}

// RegisterTemplateChain(<templates>,<flag>) with templates as "a.tpl" "b.tpl", flag in decimal.
int DdeChannel::RegisterTemplateChain(std::string_view templates, std::uint8_t flag) {
  return Execute("RegisterTemplateChain(" + Clip(templates) + "," + std::to_string(flag) + ")");
}

void DdeChannel::CloseChannel() {
  if (CHANNEL != 0) transport_.Close(CHANNEL);
  CHANNEL = 0;
}

void DdeChannel::Kill() {
  if (CHANNEL != 0) CloseChannel();
}

}  // namespace qz
