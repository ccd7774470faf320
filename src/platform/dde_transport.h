// The DDE client layer: conversations with a server, execute commands, acknowledgements.
#pragma once
#include <cstdint>
#include <string>

namespace qz {

// Results of Execute, numbered as the DDE log has always written them.
inline constexpr int kDdeOk = 0;
inline constexpr int kDdeNotOpen = 602;         // "DDE channel is not open": the partner has gone
inline constexpr int kDdeInvalidCommand = 603;  // "DDEexecute - invalid command": negative acknowledgement
inline constexpr int kDdeTimedOut = 605;        // "DDE transaction timed out"

class DdeTransport {
 public:
  virtual ~DdeTransport() = default;
  // Opens a conversation with the first server of service that answers (any topic when topic is empty);
  // 0 when none answers. Does not wait beyond the servers' answers to the initiate.
  virtual long Open(const std::string& service, const std::string& topic) = 0;
  // Sends text as one execute command and waits for its acknowledgement, at most the time-out;
  // meanwhile only paint messages are dispatched.
  virtual int Execute(long channel, const std::string& text) = 0;
  // Ends the conversation.
  virtual void Close(long channel) = 0;
  // The time-out of Execute, in hundredths of a second, for the whole program.
  virtual void SetTimeout(long hundredths) = 0;
};

}  // namespace qz
