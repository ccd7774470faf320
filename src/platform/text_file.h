// A text file of lines over a held file: one record a line, each written with CR LF. Lines ended by LF
// alone, and a last line without any end, are read as lines too. A line is addressed by its position:
// the offset of its first byte.
//
// Every write keeps each line whole, even when the program is killed between two writes, because each
// write carries whole lines only, in one platform write, and the file is never cut shorter:
// - a new text no longer than the line it replaces is written over it, padded with blanks to the old
//   length, so that no other line moves (trailing blanks mean nothing to a reader of records); adjacent
//   changed lines go out together;
// - a longer text moves the lines after it: the changed line and everything after it go out together in
//   one write, so the file is as it was before or as it is after, never in between;
// - an appended line goes out with its CR LF, behind the line end that a last line lacked, in one write.
// Lines that do not change are not written.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/held_file.h"

namespace qz {

struct TextLine {
  std::int64_t position = 0;
  std::string text;  // without its line end
};

class TextFile {
 public:
  explicit TextFile(HeldFile& file) : file_(file) {}

  // Opens an existing file for reading and writing; other programs may read it but not write it.
  FileError Open(const std::string& path) { return file_.Open(path); }
  // Makes a new, empty file (an existing one is never replaced) and closes it again.
  FileError Create(const std::string& path) { return file_.Create(path); }
  void Close() { file_.Close(); }
  bool IsOpen() const { return file_.IsOpen(); }

  // Every line from the start, in file order, in one read.
  FileError ReadLines(std::vector<TextLine>& lines);
  // The text of the line that starts at position.
  FileError ReadLine(std::int64_t position, std::string& text);
  // Gives lines new texts. Edits are in file order, each at a line's position as last read; each line
  // keeps its own line end. On return every edit holds the position where its line now starts.
  FileError Rewrite(std::vector<TextLine>& edits);
  // Adds text as the new last line; position, when given, receives where it starts.
  FileError Append(std::string_view text, std::int64_t* position = nullptr);

 private:
  struct Line {
    std::string text;
    std::size_t endLength = 0;  // bytes of its line end: 2, 1 or 0
  };
  FileError ReadLineAt(std::int64_t position, Line& line);

  HeldFile& file_;
};

}  // namespace qz
