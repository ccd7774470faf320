#include "platform/file_change.h"

#include <memory>
#include <optional>

#include "text/ini_document.h"

namespace qz {

namespace {

// Another program (an editor, the IDE) that keeps changing the file between our read and our rename is
// given this many chances before the change fails.
constexpr int kAttempts = 5;
// A rename refused because another program holds the file open is tried again for about two seconds.
constexpr int kRenameTries = 20;
constexpr int kRenamePauseMs = 100;

FileChange Failed(ChangeStep step, FileError error) { return {ChangeResult::Failed, error, step}; }

FileError Rename(const FileAccess& access, const std::string& path, const std::string& temp) {
  for (int tries = 1;; ++tries) {
    const FileError error = access.files.Replace(path, temp);
    if (error != FileError::SharingViolation || tries == kRenameTries) return error;
    access.clock.Wait(kRenamePauseMs);
  }
}

void Report(const FileAccess& access, const std::string& path, bool existed, std::string_view bytes,
            std::optional<std::string_view> next) {
  if (access.report) access.report->File(path, existed ? std::optional(bytes) : std::nullopt, next);
}

}  // namespace

FileChange ChangeFile(const FileAccess& access, const std::string& path, WhenMissing missing, const Rebuild& rebuild,
                      const AfterChange& after) {
  std::unique_ptr<Locks::Held> lock;
  Files& files = access.files;
  if (!access.dryRun) {
    switch (access.locks.Acquire(LockKind::File, path, kLockWaitMs, lock)) {
      case LockWait::Held: break;
      case LockWait::Busy: return {ChangeResult::Busy, FileError::SharingViolation, ChangeStep::Lock};
      case LockWait::Failed: return Failed(ChangeStep::Lock, FileError::AccessDenied);
    }
    files.RemoveStaleTemporaries(path);
  }
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::string bytes;
    FileError error = files.ReadAll(path, bytes);
    const bool existed = error == FileError::None;
    if (!existed && !(IsMissing(error) && missing != WhenMissing::Fail)) return Failed(ChangeStep::Read, error);
    // UTF-16 text would be damaged by the ANSI lines the commands write.
    if (IniDocument::IsUtf16(bytes)) return Failed(ChangeStep::Read, FileError::NotText);
    std::string next = bytes;
    if (FileError refused = rebuild(bytes, next); refused != FileError::None) return Failed(ChangeStep::Read, refused);
    const bool remove = missing == WhenMissing::UntilEmpty && next.empty();
    if (next == bytes || (remove && !existed)) {
      if (after) after();
      return {};
    }
    if (access.dryRun) {
      // Said first, then why it could not be written, as the real run would fail.
      Report(access, path, existed, bytes, remove ? std::nullopt : std::optional<std::string_view>(next));
      error = files.CheckWritable(path);
      if (error != FileError::None) return Failed(ChangeStep::Write, error);
      if (after) after();
      return {ChangeResult::Changed};
    }

    if (remove) {
      error = files.CheckWritable(path);
      if (error != FileError::None) return Failed(ChangeStep::Write, error);
      files.Remove(path);
      Report(access, path, existed, bytes, std::nullopt);
      if (after) after();
      return {ChangeResult::Changed};
    }
    std::string temp;
    error = files.WriteTemporary(path, next, temp);
    if (error == FileError::None) {
      // The file must still be what the new bytes were made from: the lock keeps other runs of this program
      // out, not an editor or the IDE.
      std::string now;
      const FileError again = files.ReadAll(path, now);
      if (existed ? again != FileError::None || now != bytes : !IsMissing(again)) {
        files.Remove(temp);
        continue;
      }
      error = Rename(access, path, temp);
    }
    if (error != FileError::None) {
      if (!temp.empty()) files.Remove(temp);
      return Failed(ChangeStep::Write, error);
    }
    Report(access, path, existed, bytes, next);
    if (after) after();
    return {ChangeResult::Changed};
  }
  return Failed(ChangeStep::Write, FileError::SharingViolation);
}

}  // namespace qz
