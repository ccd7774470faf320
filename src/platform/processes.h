// Starting programs.
#pragma once
#include <string>

namespace qz {

inline constexpr int kStartFailed = -4;

// A program to start. With no application, the first word of commandLine names the program, found by the
// system's usual search; without a folder it works in ours.
struct ProgramStart {
  std::string application;
  std::string commandLine;
  std::string folder;
};

class Processes {
 public:
  virtual ~Processes() = default;
  // Starts program without waiting for it. It lives on after us, so it gets none of our standard handles
  // and none of our own QZCL_ settings from the environment. 0 when a process was created; kStartFailed
  // with errorText set otherwise.
  virtual int Start(const ProgramStart& program, std::string& errorText) = 0;
};

}  // namespace qz
