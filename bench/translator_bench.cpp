// Translator: loading 100,000 pairs from a translation file, looking texts up, and the memory the
// loaded pairs take. Targets: load under 150 ms, at least 2,000,000 lookups/s, memory under 3x the text.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "fakes/fakes.h"
#include "translator/string_translator.h"
#include "translator/translation_file.h"

namespace qz {
namespace {

constexpr int kPairs = 100'000;
constexpr int kLookups = 1'000'000;

class NullProfile : public Profile {
 public:
  std::string Read(const std::string&, const std::string&, const std::string&, const std::string& def) override {
    return def;
  }
  bool Write(const std::string&, const std::string&, const std::string&, const std::string&) override { return true; }
};

class NullFiles : public Files {
 public:
  bool Exists(const std::string&) override { return true; }
  std::string CurrentDirectory() override { return "."; }
  std::string ProgramDirectory() override { return "."; }
  std::string TemporaryFolder() override { return "."; }
  std::string ShortPath(const std::string& path) override { return path; }
  FileError ReadAll(const std::string&, std::string&) override { return FileError::NotFound; }
  FileError Copy(const std::string&, const std::string&) override { return FileError::NotFound; }
  bool CanOpenExclusively(const std::string&) override { return true; }
  FileError WriteTemporary(const std::string&, std::string_view, std::string&) override { return FileError::NotFound; }
  FileError Replace(const std::string&, const std::string&) override { return FileError::NotFound; }
  void RemoveStaleTemporaries(const std::string&) override {}
  void Remove(const std::string&) override {}
  FileError CheckWritable(const std::string&) override { return FileError::None; }
  std::string DataFolder(bool) override { return "."; }
  FileError MakeFolder(const std::string&) override { return FileError::None; }
  FileError Append(const std::string&, std::string_view) override { return FileError::None; }
};

class SteadyClock : public Clock {
 public:
  std::int64_t Milliseconds() override {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  }
  void Wait(int) override {}
  LocalTime Now() override { return {}; }
};

// Latin-1 as the code page, with the pass-through for plain ASCII that a real code page conversion has.
class Latin1 : public fake::Latin1Codec {
 public:
  std::string AnsiToUtf8(std::string_view ansi) override {
    std::string out;
    out.reserve(ansi.size());
    for (unsigned char c : ansi) {
      if (c < 0x80) {
        out += static_cast<char>(c);
      } else {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
      }
    }
    return out;
  }
  std::string Utf8ToAnsi(std::string_view utf8) override {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
      unsigned char c = static_cast<unsigned char>(utf8[i]);
      if (c >= 0x80 && i + 1 < utf8.size()) {
        c = static_cast<unsigned char>(((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
      }
      out += static_cast<char>(c);
    }
    return out;
  }
};

struct Ports {
  NullProfile profile;
  NullFiles files;
  SteadyClock clock;
  Latin1 codec;
  NoLoadingView view;
};

// Texts of the length and shape of a program's messages, some with accented letters.
struct Fixture {
  std::vector<TranslationPair> pairs;
  std::size_t textBytes = 0;
  std::string path;

  Fixture() {
    const char* const words[] = {"file",       "could",    "not",   "be",        "opened",
                                 "the",        "version",  "entry", "Fehler",    "\xE9l\xE9ment",
                                 "registered", "template", "menu",  "directory", "Datei"};
    std::mt19937 random(42);
    auto sentence = [&](int n) {
      std::string s;
      for (int w = 0; w < n; ++w) s += std::string(w ? " " : "") + words[random() % std::size(words)];
      return s;
    };
    for (int i = 0; i < kPairs; ++i) {
      TranslationPair p{sentence(3 + static_cast<int>(random() % 6)) + " " + std::to_string(i),
                        sentence(3 + static_cast<int>(random() % 7))};
      textBytes += p.source.size() + p.replacement.size();
      pairs.push_back(std::move(p));
    }
    path = (std::filesystem::temp_directory_path() / "qz_translator_bench.str").string();
    std::filesystem::remove(path);
    Latin1 codec;
    TranslationFile file(codec);
    file.SetName(path);
    if (file.Create() != FileError::None || file.Open() != FileError::None ||
        file.ReplaceAll(pairs) != FileError::None) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
    }
  }
  ~Fixture() { std::filesystem::remove(path); }
};

Fixture& Data() {
  static Fixture fixture;
  return fixture;
}

void BM_Load100kPairs(benchmark::State& state) {
  Fixture& data = Data();
  Ports ports;
  for (auto _ : state) {
    StringTranslator translator(ports.profile, ports.files, ports.clock, ports.codec, ports.view);
    translator.Init(data.path, StringTranslator::kLoad);
    if (translator.Count() != static_cast<std::size_t>(kPairs)) state.SkipWithError("not every pair loaded");
    state.PauseTiming();
    translator.Kill();
    state.ResumeTiming();
  }
  state.counters["pairs"] = kPairs;
}
BENCHMARK(BM_Load100kPairs)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_Lookup(benchmark::State& state) {
  Fixture& data = Data();
  Ports ports;
  StringTranslator translator(ports.profile, ports.files, ports.clock, ports.codec, ports.view);
  translator.Init(data.path, StringTranslator::kLoad);
  // One lookup in ten misses, as for a partly translated program.
  std::vector<std::string> misses;
  for (int i = 0; i < 1000; ++i) misses.push_back("No translation for text " + std::to_string(i));
  std::vector<std::uint32_t> order(kLookups);
  std::mt19937 random(7);
  for (auto& o : order) o = static_cast<std::uint32_t>(random() % kPairs);
  std::size_t found = 0;
  for (auto _ : state) {
    for (int i = 0; i < kLookups; ++i) {
      const std::string& text = i % 10 == 9 ? misses[order[i] % misses.size()] : data.pairs[order[i]].source;
      std::string result = translator.Translate(text);
      found += result.size() != text.size();
      benchmark::DoNotOptimize(result);
    }
  }
  if (found == 0) state.SkipWithError("nothing was translated");
  state.counters["lookups/s"] = benchmark::Counter(
      static_cast<double>(kLookups) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Lookup)->Unit(benchmark::kMillisecond);

void BM_MemoryPerTextByte(benchmark::State& state) {
  Fixture& data = Data();
  Ports ports;
  // Heap in use, small blocks and the large ones malloc maps on their own.
  auto inUse = [] {
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
  };
  for (auto _ : state) {
    malloc_trim(0);
    const std::size_t before = inUse();
    auto translator =
        std::make_unique<StringTranslator>(ports.profile, ports.files, ports.clock, ports.codec, ports.view);
    translator->Init(data.path, StringTranslator::kLoad);
    const std::size_t after = inUse();
    state.counters["heap_bytes"] = static_cast<double>(after - before);
    state.counters["text_bytes"] = static_cast<double>(data.textBytes);
    state.counters["ratio"] = static_cast<double>(after - before) / static_cast<double>(data.textBytes);
  }
}
BENCHMARK(BM_MemoryPerTextByte)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qz
