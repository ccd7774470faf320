// The translator: pairs of source text and replacement, loaded from the translation file,
// looked up for every fixed phrase the program shows.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "text/codec.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "translator/loading_view.h"
#include "translator/translatable_window.h"
#include "translator/translation_file.h"

namespace qz {

class StringTranslator {
 public:
  // Flag bits of Init and SetFlags.
  static constexpr long kLoad = 1;
  static constexpr long kExport = 2;
  static constexpr long kOff = 16;
  static constexpr std::size_t kFieldSize = 255;  // STRING(255) source and replacement

  StringTranslator(Profile& profile, Files& files, Clock& clock, TextCodec& codec, LoadingView& loadingView);
  ~StringTranslator();
  StringTranslator(const StringTranslator&) = delete;
  StringTranslator& operator=(const StringTranslator&) = delete;

  // Opens the translator on fileName (empty: the default name in the current directory).
  void Init(std::string_view fileName, long flags);
  void Kill();

  // The replacement of text, or text without trailing blanks when there is none.
  std::string Translate(std::string_view text);
  // False when replacement is blank or the translator is not open.
  bool AddTranslation(std::string_view source, std::string_view replacement);

  void SetFlags(long flags);
  // Opens the file (creating a missing one) and logs the outcome in .\QZVXErr.LOG; true when it is open.
  [[nodiscard]] bool OpenFile(TranslationFile& file);
  void LoadTranslations();

  // Whole windows, list formats and messages. Nothing changes while the translator is not
  // initialised or switched off; TranslateFormat then returns its format without trailing blanks.
  void TranslateWindow(TranslatableWindow& window);
  std::string TranslateWindowTitle(const TranslatableWindow& window);
  void TranslateControl(TranslatableWindow& window, int control);
  void TranslateProperty(TranslatableWindow& window, int control, Property property);
  std::string TranslateFormat(std::string_view format);
  // The translated text with the first "%1" to "%4" filled in, in that order; at most 255 characters.
  std::string TranslateMessage(std::string_view text, std::string_view p1, std::string_view p2, std::string_view p3,
                               std::string_view p4);
  bool Initialized() const { return initialized_; }
  std::size_t Count() const;

 private:
  // A pair in the arena: its source (a key, so at most 255 bytes) and right after it its replacement.
  struct Entry {
    std::uint32_t offset;
    std::uint32_t sourceLength : 8, replacementLength : 24;
  };
  static constexpr std::size_t kMaxReplacement = (std::size_t{1} << 24) - 1;
  // A hash table over the same entries, so that a lookup costs a memory read or two instead of a
  // binary search's seventeen; hash 0 marks a free slot.
  struct Slot {
    std::uint32_t hash;
    Entry entry;
  };
  std::string_view SourceOf(const Entry& e) const { return {text_.data() + e.offset, e.sourceLength}; }
  std::string_view ReplacementOf(const Entry& e) const {
    return {text_.data() + e.offset + e.sourceLength, e.replacementLength};
  }
  void CreateQueues();
  void CreateControlsQueue();
  bool Translating() const { return initialized_ && !offFlag_; }
  void FreeQueues();
  void SetDefaultFullPath();
  void SortTranslations();
  void ExportAtClose();
  void ExportNotFound();
  void Log(const std::string& message);
  const Entry* Find(std::string_view key) const;
  void IndexPut(const Entry& entry);
  void RebuildIndex();
  // Copies a pair into the arena; false when the arena cannot address more text.
  bool Store(std::string_view key, std::string_view replacement, Entry& entry);
  void AddRecordTranslation(std::string_view source, std::string_view replacement);
  void ReadAll(TranslationFile::Reader& reader, std::int64_t total);

  Profile& profile_;
  Files& files_;
  Clock& clock_;
  TextCodec& codec_;
  LoadingView& loadingView_;

  bool loadFlag_ = false, exportFlag_ = false, offFlag_ = false;
  bool initialized_ = false;
  bool queuesExist_ = false;
  std::string fullPath_;
  // The translation file; texts without translation are exported into it as well.
  TranslationFile file_;

  // The replacements: one text arena, entries sorted by source.
  std::string text_;
  std::vector<Entry> replacements_;
  std::vector<Slot> index_;
  // The sources asked for that the file lacks: sorted, unique.
  std::vector<std::string> notFound_;
  // The control kinds with translatable texts and their properties, both ascending.
  struct ControlProperties {
    ControlKind kind;
    std::vector<Property> properties;
  };
  std::vector<ControlProperties> controls_;
};

}  // namespace qz
