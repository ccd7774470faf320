// A Services bundle over fakes, as the tests of commands and start-up use it.
#pragma once
#include "app/services.h"
#include "fakes/fakes.h"

namespace qz::fake {

struct Harness {
  FakeProfile profile;
  FakeFiles files;
  FakeClock clock;
  FakeDialogs dialogs;
  Latin1Codec codec;
  FakeLoadingView loading;
  StringTranslator translator{profile, files, clock, codec, loading};
  Services svc{profile, files, clock, dialogs, translator, ""};
};

}  // namespace qz::fake
