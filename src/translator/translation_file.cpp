#include "translator/translation_file.h"

#include <sqlite3.h>

#include <filesystem>

#include "text/text.h"

namespace qz {

namespace {

// How long a reader waits for a writer in another process (the INI editor) before giving up.
constexpr int kBusyTimeoutMs = 1000;

FileError FromSqlite(int result) {
  switch (result & 0xff) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE: return FileError::None;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT:
    case SQLITE_SCHEMA:
    case SQLITE_MISMATCH: return FileError::InvalidData;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return FileError::AlreadyLocked;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH: return FileError::AccessDenied;
    case SQLITE_NOMEM: return FileError::InsufficientMemory;
    default: return FileError::FileSystem;
  }
}

bool Exists(const std::string& utf8Path) {
  sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
  int exists = 0;
  return vfs != nullptr && vfs->xAccess(vfs, utf8Path.c_str(), SQLITE_ACCESS_EXISTS, &exists) == SQLITE_OK &&
         exists != 0;
}

// SQLite's own check is for files: on Windows it counts anything of size 0, and so every folder, as missing.
bool FolderExists(const std::string& utf8Path) {
  std::error_code error;
  return std::filesystem::is_directory(std::filesystem::path(std::u8string(utf8Path.begin(), utf8Path.end())), error);
}

// The folder part of path, empty when it names no folder.
std::string FolderOf(const std::string& path) {
#ifdef _WIN32
  auto slash = path.find_last_of("\\/");
#else
  auto slash = path.find_last_of('/');
#endif
  return slash == std::string::npos || slash == 0 ? std::string{} : path.substr(0, slash);
}

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) { result_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  bool Prepared() const { return result_ == SQLITE_OK; }
  int Result() const { return result_; }
  sqlite3_stmt* get() const { return stmt_; }
  sqlite3_stmt* release() { return std::exchange(stmt_, nullptr); }
  void Bind(int index, const std::string& utf8) {
    sqlite3_bind_text(stmt_, index, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
  }
  int Step() { return result_ = sqlite3_step(stmt_); }

 private:
  sqlite3_stmt* stmt_ = nullptr;
  int result_;
};

// A text ends at a NUL, as every text of the program does.
std::string_view ColumnText(sqlite3_stmt* stmt, int column) {
  auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
  if (text == nullptr) return {};
  const std::string_view whole(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)));
  return whole.substr(0, whole.find('\0'));
}

}  // namespace

TranslationFile::TranslationFile(TextCodec& codec) : codec_(codec) {}

TranslationFile::~TranslationFile() { Close(); }

void TranslationFile::Close() {
  // close_v2 also rolls back an unfinished transaction and waits for any reader still alive.
  sqlite3_close_v2(db_);
  db_ = nullptr;
}

FileError TranslationFile::Fail(int sqliteResult) { return lastError_ = FromSqlite(sqliteResult); }

FileError TranslationFile::OpenFailure(int sqliteResult) {
  FileError error = FromSqlite(sqliteResult);
  if ((sqliteResult & 0xff) == SQLITE_CANTOPEN) {
    std::string utf8 = codec_.AnsiToUtf8(name_);
    error = sqliteResult == SQLITE_CANTOPEN_ISDIR
                ? FileError::AccessDenied
                : FileErrorOfSystem(static_cast<unsigned long>(sqlite3_system_errno(db_)));
    if (error == FileError::FileSystem && !Exists(utf8)) error = FileError::NotFound;
    // A missing folder is a different mistake from a missing file: creating would not help.
    if (error == FileError::NotFound) {
      std::string folder = FolderOf(utf8);
      if (!folder.empty() && !FolderExists(folder)) error = FileError::PathNotFound;
    }
  }
  Close();
  return lastError_ = error;
}

FileError TranslationFile::Open() {
  Close();
  if (name_.empty()) return lastError_ = FileError::NotFound;
  // No SQLITE_OPEN_CREATE: a missing file must stay missing and be reported as such.
  int result =
      sqlite3_open_v2(codec_.AnsiToUtf8(name_).c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_EXRESCODE, nullptr);
  if (result != SQLITE_OK) return OpenFailure(result);
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  if (Validate() != FileError::None) {
    FileError error = lastError_;
    Close();
    return lastError_ = error;
  }
  return lastError_ = FileError::None;
}

// Only reads: a file that turns out to be something else must not be changed by looking at it.
FileError TranslationFile::Validate() {
  auto id = QueryInt("PRAGMA application_id");
  if (!id) return lastError_;
  auto version = QueryInt("PRAGMA user_version");
  if (!version) return lastError_;
  if (*id != kApplicationId || *version != kFormatVersion) return lastError_ = FileError::InvalidData;
  // A view of that name could run an endless query; only a table holds translations.
  Statement kind(db_, "SELECT type FROM sqlite_schema WHERE name = 'translations'");
  if (!kind.Prepared()) return Fail(kind.Result());
  const int found = kind.Step();
  if (found != SQLITE_ROW && found != SQLITE_DONE) return Fail(found);
  if (found == SQLITE_DONE || ColumnText(kind.get(), 0) != "table") return lastError_ = FileError::InvalidData;
  Statement columns(db_, "SELECT source, replacement FROM translations WHERE 0");
  if (!columns.Prepared()) {
    int result = columns.Result() & 0xff;
    // A database without the table (or its columns) is not a translation file.
    return Fail(result == SQLITE_ERROR ? SQLITE_NOTADB : result);
  }
  return lastError_ = FileError::None;
}

std::optional<std::int64_t> TranslationFile::QueryInt(const char* sql) {
  Statement query(db_, sql);
  if (!query.Prepared()) {
    Fail(query.Result());
    return std::nullopt;
  }
  if (query.Step() != SQLITE_ROW) {
    Fail(query.Result());
    return std::nullopt;
  }
  return sqlite3_column_int64(query.get(), 0);
}

FileError TranslationFile::Create() {
  Close();
  if (name_.empty()) return lastError_ = FileError::NotFound;
  // A file that holds anything, whatever it is, is never formatted: SQLite would take a short or header-only
  // file for an empty database. (SQLite's own test counts an empty file as absent.)
  if (Exists(codec_.AnsiToUtf8(name_))) return lastError_ = FileError::InvalidData;
  int result = sqlite3_open_v2(codec_.AnsiToUtf8(name_).c_str(), &db_,
                               SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXRESCODE, nullptr);
  if (result != SQLITE_OK) return OpenFailure(result);
  FileError error = Exec("BEGIN IMMEDIATE");
  if (error == FileError::None) {
    // Someone may have put a file there since it was found missing: never format over it.
    auto tables = QueryInt("SELECT count(*) FROM sqlite_schema");
    auto id = tables ? QueryInt("PRAGMA application_id") : std::nullopt;
    if (!tables || !id) {
      error = lastError_;
    } else if (*tables != 0 || *id != 0) {
      error = FileError::InvalidData;
    } else {
      const std::string schema[] = {
          "PRAGMA application_id = " + std::to_string(kApplicationId),
          "PRAGMA user_version = " + std::to_string(kFormatVersion),
          "CREATE TABLE translations(source TEXT NOT NULL, replacement TEXT NOT NULL)",
          "CREATE INDEX translations_source ON translations(source)",
          "COMMIT",
      };
      for (const std::string& sql : schema) {
        error = Exec(sql.c_str());
        if (error != FileError::None) break;
      }
    }
  }
  Close();
  return lastError_ = error;
}

FileError TranslationFile::Exec(const char* sql) {
  if (db_ == nullptr) return lastError_ = FileError::NotOpen;
  return Fail(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr));
}

TranslationFile::Reader TranslationFile::Read() {
  if (db_ == nullptr) return Reader(codec_, nullptr, lastError_ = FileError::NotOpen);
  Statement rows(db_, "SELECT source, replacement FROM translations ORDER BY rowid");
  if (!rows.Prepared()) return Reader(codec_, nullptr, Fail(rows.Result()));
  return Reader(codec_, rows.release(), lastError_ = FileError::None);
}

TranslationFile::Reader::Reader(Reader&& other) noexcept
    : codec_(other.codec_), stmt_(std::exchange(other.stmt_, nullptr)), error_(other.error_) {}

TranslationFile::Reader::~Reader() { sqlite3_finalize(stmt_); }

bool TranslationFile::Reader::Next(std::string& source, std::string& replacement) {
  if (stmt_ == nullptr) return false;
  int result = sqlite3_step(stmt_);
  if (result != SQLITE_ROW) {
    error_ = FromSqlite(result);
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    return false;
  }
  source = codec_.Utf8ToAnsi(ColumnText(stmt_, 0));
  replacement = codec_.Utf8ToAnsi(ColumnText(stmt_, 1));
  return true;
}

std::int64_t TranslationFile::Count() {
  if (db_ == nullptr) {
    lastError_ = FileError::NotOpen;
    return -1;
  }
  auto rows = QueryInt("SELECT count(*) FROM translations");
  if (!rows) return -1;
  lastError_ = FileError::None;
  return *rows;
}

std::int64_t TranslationFile::SizeInBytes() {
  if (db_ == nullptr) {
    lastError_ = FileError::NotOpen;
    return -1;
  }
  auto pages = QueryInt("PRAGMA page_count");
  auto pageSize = pages ? QueryInt("PRAGMA page_size") : std::nullopt;
  if (!pageSize) return -1;
  lastError_ = FileError::None;
  return *pages * *pageSize;
}

std::optional<std::string> TranslationFile::Find(std::string_view source) {
  if (db_ == nullptr) {
    lastError_ = FileError::NotOpen;
    return std::nullopt;
  }
  Statement query(db_, "SELECT replacement FROM translations WHERE source = ?1 ORDER BY rowid DESC LIMIT 1");
  if (!query.Prepared()) {
    Fail(query.Result());
    return std::nullopt;
  }
  query.Bind(1, codec_.AnsiToUtf8(ClipView(source)));
  if (query.Step() != SQLITE_ROW) {
    Fail(query.Result());
    return std::nullopt;
  }
  lastError_ = FileError::None;
  return codec_.Utf8ToAnsi(ColumnText(query.get(), 0));
}

FileError TranslationFile::Add(std::string_view source, std::string_view replacement) {
  if (db_ == nullptr) return lastError_ = FileError::NotOpen;
  Statement insert(db_, "INSERT INTO translations(source, replacement) VALUES(?1, ?2)");
  if (!insert.Prepared()) return Fail(insert.Result());
  insert.Bind(1, codec_.AnsiToUtf8(ClipView(source)));
  insert.Bind(2, codec_.AnsiToUtf8(ClipView(replacement)));
  return Fail(insert.Step());
}

FileError TranslationFile::ReplaceAll(const std::vector<TranslationPair>& pairs) {
  if (Begin() != FileError::None) return lastError_;
  FileError error = Exec("DELETE FROM translations");
  for (std::size_t i = 0; i < pairs.size() && error == FileError::None; ++i) {
    error = Add(pairs[i].source, pairs[i].replacement);
  }
  if (error != FileError::None) {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    return lastError_ = error;
  }
  return Commit();
}

FileError TranslationFile::Begin() { return Exec("BEGIN IMMEDIATE"); }

FileError TranslationFile::Commit() { return Exec("COMMIT"); }

}  // namespace qz
