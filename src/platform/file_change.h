// The one way the program changes a file it does not own (the IDE's INI and redirection files, templates, the
// start-up file): under the file's lock it reads the file once, makes the new bytes in memory, writes them
// whole to a temporary file beside it, checks that nobody changed the file meanwhile and renames the
// temporary file over it in one step. A kill at any moment leaves the old file or the new one.
#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "text/change_report.h"
#include "platform/clock.h"
#include "text/file_errors.h"
#include "platform/files.h"
#include "platform/locks.h"

namespace qz {

struct FileAccess {
  Files& files;
  Locks& locks;
  Clock& clock;
  ChangeReport* report = nullptr;  // told of each change before it is written (a dry run) or once it is there
  // A dry run: no lock, no temporary file, nothing written; a change is reported, and fails as the write would
  // when the file cannot be written.
  bool dryRun = false;
};

enum class ChangeResult { Unchanged, Changed, Failed, Busy };
enum class ChangeStep { Lock, Read, Write };

struct FileChange {
  ChangeResult result = ChangeResult::Unchanged;
  FileError error = FileError::None;   // why it failed
  ChangeStep step = ChangeStep::Lock;  // where it failed
  bool Done() const { return result == ChangeResult::Unchanged || result == ChangeResult::Changed; }
};

// Makes the file's new bytes in next, which holds the bytes read (empty for a file that is not there yet);
// next left as it is changes nothing. A reason other than None refuses the change: nothing is written. It
// runs again when another program changed the file meanwhile, so it keeps no state of its own. What it
// changes is reported in access.report.
using Rebuild = std::function<FileError(std::string_view bytes, std::string& next)>;

// Create: a missing file is made; UntilEmpty: also, a file whose new content is empty is removed; Fail: a
// missing file fails the change.
enum class WhenMissing { Create, UntilEmpty, Fail };

// Runs once the change is there (or nothing needed changing), the file's lock still held: what must follow the
// change before another run may see the file.
using AfterChange = std::function<void()>;

FileChange ChangeFile(const FileAccess& access, const std::string& path, WhenMissing missing, const Rebuild& rebuild,
                      const AfterChange& after = nullptr);

}  // namespace qz
