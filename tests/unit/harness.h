// A Services bundle over fakes, as the tests of commands and start-up use it.
#pragma once
#include <memory>

#include "app/cmd_context.h"
#include "app/dispatcher.h"
#include "app/services.h"
#include "fakes/fakes.h"

namespace qz::fake {

// Records what the "Please Wait..." window showed.
class FakePleaseWait : public PleaseWaitView {
 public:
  explicit FakePleaseWait(std::vector<std::string>& events) : events_(events) {}
  TranslatableWindow* Open(const std::string& templateList) override {
    events_.push_back("open " + templateList);
    return nullptr;
  }
  void Display() override { events_.push_back("display"); }
  void Close() override { events_.push_back("close"); }

 private:
  std::vector<std::string>& events_;
};

class FakeViews : public Views {
 public:
  std::unique_ptr<PleaseWaitView> PleaseWait() override { return std::make_unique<FakePleaseWait>(events); }
  std::vector<std::string> events;
};

struct Harness {
  FakeProfile profile;
  FakeFiles files;
  FakeClock clock;
  FakeDialogs dialogs;
  Latin1Codec codec;
  FakeLoadingView loading;
  FakeDdeTransport transport;
  FakeProcesses processes;
  FakeShell shell;
  FakeRegistry registry;
  FakeViews views;
  StringTranslator translator{profile, files, clock, codec, loading};
  DdeLog ddeLog{profile};
  DdeChannel dde{transport, processes, clock, ddeLog};
  // Runs the program's dispatch on "qzcl.exe " + arguments, as a start with that command line would.
  void Run(const std::string& arguments) {
    svc.commandLine = "qzcl.exe " + arguments;
    CmdContext ctx(svc);
    ctx.Init();
    Dispatch(ctx);
    ctx.Kill();
  }

  Services svc{{profile, files, clock, codec, dialogs, processes, shell, registry, translator, dde, views}, ""};
};

}  // namespace qz::fake
