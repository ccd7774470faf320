// Version equate file of 10,000 lines on disk: opening it (commenting out, build increment) and saving an
// entry. Target: under 100 ms each, with one read of the file and writes of the changed lines only.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include "notes/version_file.h"
#include "unit/harness.h"

namespace qz {
namespace {

constexpr int kLines = 10'000;

// The held file over POSIX calls, standing in for the Windows one (sharing is not measured).
class PosixHeldFile : public HeldFile {
 public:
  ~PosixHeldFile() override { Close(); }
  FileError Open(const std::string& path) override {
    Close();
    fd_ = ::open(path.c_str(), O_RDWR);
    return fd_ >= 0 ? FileError::None : errno == ENOENT ? FileError::NotFound : FileError::FileSystem;
  }
  FileError Create(const std::string& path) override {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL, 0644);
    if (fd < 0) return FileError::FileSystem;
    ::close(fd);
    return FileError::None;
  }
  void Close() override {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  bool IsOpen() const override { return fd_ >= 0; }
  FileError Size(std::int64_t& size) override {
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return FileError::FileSystem;
    size = st.st_size;
    return FileError::None;
  }
  FileError Read(std::int64_t offset, std::size_t count, std::string& bytes) override {
    bytes.resize(count);
    const ssize_t n = ::pread(fd_, bytes.data(), count, offset);
    if (n < 0) return FileError::FileSystem;
    bytes.resize(static_cast<std::size_t>(n));
    return FileError::None;
  }
  FileError Write(std::int64_t offset, std::string_view bytes) override {
    const ssize_t n = ::pwrite(fd_, bytes.data(), bytes.size(), offset);
    return n == static_cast<ssize_t>(bytes.size()) ? FileError::None : FileError::FileSystem;
  }

 private:
  int fd_ = -1;
};

struct Setup : fake::Harness {
  explicit Setup(const std::string& path) {
    profile.Write(kNotesSettingsFile, kFileNameSection, kFileNameKey, path);
    ReadSettings(notes, svc);
  }
  PosixHeldFile held;
  VersionNotes notes{held};
};

// 10,000 lines: 9,999 commented out and one live, or every one live, or a first line that is empty so
// that commenting it out moves every line after it.
enum Shape { kOneLive, kAllLive, kShortFirstLine };

std::string Bytes(Shape shape) {
  std::string bytes;
  for (int i = 1; i <= kLines; ++i) {
    const bool live = shape == kAllLive || i == kLines;
    char line[128];
    std::snprintf(line, sizeof line, "%-20sEQUATE('1.00  %04d')  ! 12/05/06 1030 -- build %d\r\n",
                  live ? "Version" : "!Version", i % 10000, i);
    bytes += shape == kShortFirstLine && i == 1 ? "\r\n" : line;
  }
  return bytes;
}

std::string Path() { return (std::filesystem::temp_directory_path() / "qz_version_bench.qzi").string(); }

void Write(const std::string& bytes) { std::ofstream(Path(), std::ios::binary | std::ios::trunc) << bytes; }

void BM_LoadVersionFile(benchmark::State& state) {
  const std::string bytes = Bytes(static_cast<Shape>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    Write(bytes);
    Setup s(Path());
    state.ResumeTiming();
    LoadVersionFile(s.notes, s.svc);
    state.PauseTiming();
    if (!s.notes.lastPosition) state.SkipWithError("the file was not read");
    CloseVersionFile(s.notes);
    state.ResumeTiming();
  }
  std::filesystem::remove(Path());
}
BENCHMARK(BM_LoadVersionFile)->Arg(kOneLive)->Arg(kAllLive)->Arg(kShortFirstLine)->Unit(benchmark::kMillisecond);

void BM_SaveEntry(benchmark::State& state) {
  const std::string bytes = Bytes(kOneLive);
  for (auto _ : state) {
    state.PauseTiming();
    Write(bytes);
    Setup s(Path());
    LoadVersionFile(s.notes, s.svc);
    s.notes.entry.note = "Benchmark entry";
    state.ResumeTiming();
    SaveEntry(s.notes, s.svc);
    state.PauseTiming();
    if (!s.dialogs.shown.empty()) state.SkipWithError("the entry was not appended");
    CloseVersionFile(s.notes);
    state.ResumeTiming();
  }
  std::filesystem::remove(Path());
}
BENCHMARK(BM_SaveEntry)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qz
