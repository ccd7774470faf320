#include "translator/string_translator.h"

#include <algorithm>
#include <functional>
#include <limits>

#include "text/text.h"

namespace qz {

namespace {

constexpr std::string_view kLogFile = ".\\QZVXErr.LOG";
constexpr std::string_view kLogSection = "File Error";
constexpr std::string_view kLogEntry = "File Open Error";
constexpr std::string_view kDefaultFileName = "\\QZVX_.STR";

// Loading works in events of about half a second to a second, so the window stays responsive.
constexpr std::int64_t kTargetMs = 1000;
// A load that ends sooner than this shows no window at all.
constexpr std::int64_t kShowViewAfterMs = 300;
constexpr std::int64_t kMaxBatch = std::int64_t{1} << 30;  // no overflow however fast the clock says it goes

// A source text compared as a 255-character field: cut, then trailing blanks dropped.
std::string_view KeyOf(std::string_view text) { return ClipView(text.substr(0, StringTranslator::kFieldSize)); }

// The first eight bytes, big-endian and zero-padded: ordered like the texts themselves where they differ.
std::uint64_t PrefixOf(std::string_view text) {
  std::uint64_t prefix = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    prefix = (prefix << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
  }
  return prefix;
}

// Never 0, which marks a free slot.
std::uint32_t HashOf(std::string_view key) {
  return static_cast<std::uint32_t>(std::hash<std::string_view>{}(key)) | 0x80000000u;
}

}  // namespace

StringTranslator::StringTranslator(Profile& profile, Files& files, Clock& clock, TextCodec& codec,
                                   LoadingView& loadingView)
    : profile_(profile), files_(files), clock_(clock), codec_(codec), loadingView_(loadingView), file_(codec) {}

StringTranslator::~StringTranslator() = default;

void StringTranslator::Init(std::string_view fileName, long flags) {
  if (queuesExist_) Kill();
  SetFlags(flags);
  if (!loadFlag_ && !exportFlag_) {
    CreateQueues();
    return;
  }
  CreateQueues();
  if (fileName.empty()) {
    SetDefaultFullPath();
  } else {
    fullPath_ = std::string(fileName);
  }
  if (loadFlag_) LoadTranslations();
}

void StringTranslator::Kill() {
  if (!initialized_) return;
  ExportAtClose();
  FreeQueues();
  std::string().swap(text_);
  std::vector<Entry>().swap(replacements_);
  std::vector<Slot>().swap(index_);
  std::vector<std::string>().swap(notFound_);
  std::vector<ControlProperties>().swap(controls_);
  queuesExist_ = false;
  initialized_ = false;
}

void StringTranslator::SetFlags(long flags) {
  loadFlag_ = (flags & kLoad) != 0;
  exportFlag_ = (flags & kExport) != 0;
  offFlag_ = (flags & kOff) != 0;
}

void StringTranslator::CreateQueues() {
  FreeQueues();
  CreateControlsQueue();
  queuesExist_ = true;
  initialized_ = true;
}

void StringTranslator::FreeQueues() {
  text_.clear();
  replacements_.clear();
  index_.clear();
  notFound_.clear();
}

void StringTranslator::SetDefaultFullPath() {
  std::string folder = files_.ShortPath(files_.CurrentDirectory());
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  fullPath_ = folder + std::string(kDefaultFileName);
}

std::size_t StringTranslator::Count() const { return replacements_.size(); }

void StringTranslator::Log(const std::string& message) {
  WriteIni(profile_, kLogFile, kLogSection, kLogEntry, message);
}

bool StringTranslator::OpenFile(TranslationFile& file) {
  const std::string& name = file.Name();
  file.Close();
  FileError error = file.Open();
  if (error == FileError::None) {
    Log("None: " + name);
    return true;
  }
  if (error != FileError::NotFound) {
    Log("Error 4: " + std::string(ErrorText(error)));
    return false;
  }
  bool createFailed = false;
  if (FileError created = file.Create(); created != FileError::None) {
    Log("Error 1: " + name + ": " + std::string(ErrorText(created)));
    createFailed = true;
  }
  error = file.Open();
  if (error != FileError::None) {
    Log("Error 2: " + name + ": " + std::string(ErrorText(error)));
    return false;
  }
  Log("Error 3: " + name + ": " + std::string(ErrorText(error)));
  return !createFailed;
}

void StringTranslator::LoadTranslations() {
  if (offFlag_) return;
  file_.SetName(fullPath_);
  if (!initialized_ || !OpenFile(file_)) {
    file_.Close();
    return;
  }
  const std::int64_t total = file_.Count();
  FileError damage = total < 0 ? file_.LastError() : FileError::None;
  if (total > 0) {
    // Room for everything at once: growing the arena while loading would copy it again and again.
    replacements_.reserve(replacements_.size() + static_cast<std::size_t>(total));
    const std::int64_t bytes = file_.SizeInBytes();
    if (bytes > 0) {
      text_.reserve(text_.size() +
                    static_cast<std::size_t>(std::min<std::int64_t>(bytes, std::numeric_limits<std::uint32_t>::max())));
    }
    TranslationFile::Reader reader = file_.Read();
    ReadAll(reader, total);
    damage = reader.Error();
    SortTranslations();
  }
  file_.Close();
  // A file that breaks off while it is read is damaged: none of it is used, and the log says why instead of
  // the "None:" of its opening.
  if (damage != FileError::None) {
    Log("Error 4: " + std::string(ErrorText(damage)));
    FreeQueues();
  }
}

// Reads in batches whose size adapts to the time they take; between batches the loading window
// (shown only once the load has proved slow) gets its progress and its messages.
void StringTranslator::ReadAll(TranslationFile::Reader& reader, std::int64_t total) {
  const std::int64_t loadStart = clock_.Milliseconds();
  bool viewOpen = false;
  bool more = true;
  std::int64_t batch = 1, processed = 0, reported = 0;
  std::string source, replacement;
  while (more) {  // one event of the loading window
    const std::int64_t eventStart = clock_.Milliseconds();
    const std::int64_t eventFirst = processed;
    for (;;) {
      while (processed - eventFirst < batch) {
        if (!reader.Next(source, replacement)) {
          more = false;
          break;
        }
        AddRecordTranslation(source, replacement);
        ++processed;
      }
      const std::int64_t now = clock_.Milliseconds();
      if (more && !viewOpen && now - loadStart > kShowViewAfterMs) {
        loadingView_.Open();
        viewOpen = true;
      }
      if (viewOpen && processed != reported) {
        reported = processed;
        loadingView_.SetProgress(static_cast<int>(std::min<std::int64_t>(processed * 100 / total, 100)));
      }
      if (!more) break;
      const std::int64_t t = now - eventStart;
      if (5 * t < 4 * kTargetMs && batch < kMaxBatch) batch *= 2;
      if (2 * t < kTargetMs) continue;
      if (2 * t > 3 * kTargetMs && batch > 1) batch /= 2;
      break;
    }
  }
  if (viewOpen) loadingView_.Close();
}

bool StringTranslator::Store(std::string_view key, std::string_view replacement, Entry& entry) {
  if (replacement.size() > kMaxReplacement ||
      text_.size() + key.size() + replacement.size() > std::numeric_limits<std::uint32_t>::max()) {
    return false;
  }
  entry.offset = static_cast<std::uint32_t>(text_.size());
  entry.sourceLength = static_cast<std::uint8_t>(key.size());
  entry.replacementLength = static_cast<std::uint32_t>(replacement.size()) & kMaxReplacement;
  text_.append(key);
  text_.append(replacement);
  return true;
}

// Loading appends in file order; SortTranslations then keeps the last of equal sources.
void StringTranslator::AddRecordTranslation(std::string_view source, std::string_view replacement) {
  std::string_view value = ClipView(replacement.substr(0, kFieldSize));
  if (value.empty()) return;
  Entry entry{};
  if (Store(KeyOf(source), value, entry)) replacements_.push_back(entry);
}

void StringTranslator::SortTranslations() {
  // Each entry with the first eight bytes of its source beside it: most comparisons never reach the arena.
  // Arena offsets grow with every pair stored, so ordering equal sources by offset keeps them in the
  // order they came, as a stable sort would, without its buffer.
  struct Keyed {
    std::uint64_t prefix;
    Entry entry;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(replacements_.size());
  for (const Entry& e : replacements_) keyed.push_back({PrefixOf(SourceOf(e)), e});
  std::sort(keyed.begin(), keyed.end(), [this](const Keyed& a, const Keyed& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    if (int order = SourceOf(a.entry).compare(SourceOf(b.entry)); order != 0) return order < 0;
    return a.entry.offset < b.entry.offset;
  });
  replacements_.clear();
  for (std::size_t i = 0; i < keyed.size(); ++i) {
    const bool laterOneFollows = i + 1 < keyed.size() && keyed[i + 1].prefix == keyed[i].prefix &&
                                 SourceOf(keyed[i + 1].entry) == SourceOf(keyed[i].entry);
    if (!laterOneFollows) replacements_.push_back(keyed[i].entry);
  }
  std::vector<Keyed>().swap(keyed);
  replacements_.shrink_to_fit();

  // A fresh arena of exactly the kept texts, in key order: no room left over from loading,
  // nothing of the pairs that lost to later ones.
  std::size_t bytes = 0;
  for (const Entry& e : replacements_) bytes += e.sourceLength + e.replacementLength;
  std::string arena;
  arena.reserve(bytes);
  for (Entry& e : replacements_) {
    const std::size_t offset = arena.size();
    arena.append(text_, e.offset, e.sourceLength + e.replacementLength);
    e.offset = static_cast<std::uint32_t>(offset);
  }
  text_.swap(arena);
  RebuildIndex();
}

void StringTranslator::RebuildIndex() {
  std::size_t size = 16;
  while (size < 2 * replacements_.size()) size *= 2;
  std::vector<Slot>(size, Slot{}).swap(index_);
  for (const Entry& e : replacements_) IndexPut(e);
}

// Adds entry to the hash table, or puts it in place of the entry with the same source.
void StringTranslator::IndexPut(const Entry& entry) {
  const std::string_view key = SourceOf(entry);
  const std::uint32_t hash = HashOf(key);
  const std::size_t mask = index_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    Slot& slot = index_[i];
    if (slot.hash == 0 || (slot.hash == hash && SourceOf(slot.entry) == key)) {
      slot = {hash, entry};
      return;
    }
  }
}

const StringTranslator::Entry* StringTranslator::Find(std::string_view key) const {
  if (index_.empty()) return nullptr;
  const std::uint32_t hash = HashOf(key);
  const std::size_t mask = index_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = index_[i];
    if (slot.hash == 0) return nullptr;
    if (slot.hash == hash && SourceOf(slot.entry) == key) return &slot.entry;
  }
}

bool StringTranslator::AddTranslation(std::string_view source, std::string_view replacement) {
  std::string_view value = ClipView(replacement);
  if (value.empty() || !queuesExist_) return false;
  const std::string_view key = KeyOf(source);
  Entry entry{};
  if (!Store(key, value, entry)) return false;
  auto it = std::lower_bound(replacements_.begin(), replacements_.end(), SourceOf(entry),
                             [this](const Entry& e, std::string_view k) { return SourceOf(e) < k; });
  if (it != replacements_.end() && SourceOf(*it) == SourceOf(entry)) {
    *it = entry;
  } else {
    replacements_.insert(it, entry);
  }
  if (2 * replacements_.size() > index_.size()) {
    RebuildIndex();
  } else {
    IndexPut(entry);
  }
  initialized_ = true;
  return true;
}

std::string StringTranslator::Translate(std::string_view text) {
  const std::string_view clipped = ClipView(text);
  if (!queuesExist_ || clipped.empty() || offFlag_) return std::string(clipped);
  const std::string_view key = KeyOf(text);
  const Entry* found = Find(key);
  if (found != nullptr && found->replacementLength != 0) return std::string(ReplacementOf(*found));
  if (exportFlag_) {
    auto pos = std::lower_bound(notFound_.begin(), notFound_.end(), key);
    if (pos == notFound_.end() || *pos != key) notFound_.insert(pos, std::string(key));
  }
  return std::string(clipped);
}

void StringTranslator::ExportAtClose() {
  if (!exportFlag_ || fullPath_.empty()) return;
  file_.SetName(fullPath_);
  ExportNotFound();
}

void StringTranslator::ExportNotFound() {
  file_.Close();
  if (!OpenFile(file_)) {
    file_.Close();
    return;
  }
  file_.Begin();
  for (const std::string& source : notFound_) {
    if (file_.Find(source)) continue;
    if (FileError error = file_.Add(source, ""); error != FileError::None) {
      Log("Error exporting file " + std::string(ErrorText(error)));
    }
  }
  file_.Commit();
  file_.Close();
}

}  // namespace qz
