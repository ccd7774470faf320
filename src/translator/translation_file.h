// The translation file: an SQLite database of source texts and their replacements.
//
// Format: PRAGMA application_id = 0x515A434C, PRAGMA user_version = 1, table
// translations(source TEXT NOT NULL, replacement TEXT NOT NULL) with a non-unique index on source.
// Texts are stored in UTF-8 without trailing blanks; file order is rowid order. The program works in the
// ANSI code page, so every text and the file's own name pass through the TextCodec here.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/codec.h"
#include "text/file_errors.h"

struct sqlite3;
struct sqlite3_stmt;

namespace qz {

struct TranslationPair {
  std::string source, replacement;
  bool operator==(const TranslationPair&) const = default;
};

class TranslationFile {
 public:
  static constexpr std::int32_t kApplicationId = 0x515A434C;
  static constexpr int kFormatVersion = 1;

  explicit TranslationFile(TextCodec& codec);
  ~TranslationFile();
  TranslationFile(const TranslationFile&) = delete;
  TranslationFile& operator=(const TranslationFile&) = delete;

  // The file's name in the ANSI code page; takes effect at the next Open or Create.
  void SetName(std::string name) { name_ = std::move(name); }
  const std::string& Name() const { return name_; }

  // Opens an existing translation file for reading and writing. NotFound when it does not exist;
  // InvalidData when it is not a translation file, which is then left exactly as it was.
  FileError Open();
  // Makes a new, empty translation file and closes it again. Refuses to touch a file that already
  // holds anything.
  FileError Create();
  void Close();
  bool IsOpen() const { return db_ != nullptr; }
  // The outcome of the last operation.
  FileError LastError() const { return lastError_; }

  // Reads the rows in file order, one at a time, so a caller can load in batches.
  class Reader {
   public:
    Reader(Reader&& other) noexcept;
    Reader& operator=(Reader&&) = delete;
    ~Reader();
    // The next row converted to ANSI; false at the end of the file or on an error.
    bool Next(std::string& source, std::string& replacement);
    FileError Error() const { return error_; }

   private:
    friend class TranslationFile;
    Reader(TextCodec& codec, sqlite3_stmt* stmt, FileError error) : codec_(codec), stmt_(stmt), error_(error) {}
    TextCodec& codec_;
    sqlite3_stmt* stmt_;
    FileError error_;
  };
  Reader Read();

  // The number of rows; -1 on an error.
  std::int64_t Count();
  // The size of the file in bytes: never less than its texts take in the ANSI code page. -1 on an error.
  std::int64_t SizeInBytes();
  // The replacement of the last row whose source is source (clipped); nullopt when there is none.
  std::optional<std::string> Find(std::string_view source);
  // Appends a row; both texts are stored without trailing blanks.
  FileError Add(std::string_view source, std::string_view replacement);
  // Replaces every row with pairs, in their order, all or nothing.
  FileError ReplaceAll(const std::vector<TranslationPair>& pairs);
  // Groups the following writes into one transaction; Commit makes them durable, Close drops them.
  FileError Begin();
  FileError Commit();

 private:
  FileError Exec(const char* sql);
  FileError Fail(int sqliteResult);
  FileError OpenFailure(int sqliteResult);
  FileError Validate();
  std::optional<std::int64_t> QueryInt(const char* sql);

  TextCodec& codec_;
  std::string name_;
  sqlite3* db_ = nullptr;
  FileError lastError_ = FileError::None;
};

}  // namespace qz
