// The small window with a progress bar shown while a large translation file loads.
#pragma once

namespace qz {

class LoadingView {
 public:
  virtual ~LoadingView() = default;
  virtual void Open() = 0;
  // Shows percent (0 to 100) and lets the window's messages through.
  virtual void SetProgress(int percent) = 0;
  virtual void Close() = 0;
};

// An unattended run opens no window, not even this one.
class NoLoadingView : public LoadingView {
 public:
  void Open() override {}
  void SetProgress(int) override {}
  void Close() override {}
};

}  // namespace qz
