#include "platform/text_file.h"

#include <algorithm>

#include "text/text_list.h"

namespace qz {

namespace {

constexpr std::size_t kFirstRead = 512;
constexpr std::int64_t kLargestFile = std::int64_t{1} << 30;  // read whole into memory

// Only a LF ends a line: a CR inside a line, as a hand-written file may hold one, is text.
bool IsOneLine(std::string_view text) { return text.find('\n') == std::string_view::npos; }

}  // namespace

FileError TextFile::ReadLines(std::vector<TextLine>& lines) {
  lines.clear();
  if (!IsOpen()) return FileError::NotOpen;
  std::int64_t size = 0;
  if (FileError e = file_.Size(size); e != FileError::None) return e;
  if (size > kLargestFile) return FileError::InsufficientMemory;
  std::string bytes;
  if (FileError e = file_.Read(0, static_cast<std::size_t>(size), bytes); e != FileError::None) return e;
  std::int64_t position = 0;
  for (const LineView& line : SplitLines(bytes)) {
    lines.push_back({position, std::string(line.text)});
    position += static_cast<std::int64_t>(line.Whole().size());
  }
  return FileError::None;
}

FileError TextFile::ReadLineAt(std::int64_t position, Line& line) {
  if (!IsOpen()) return FileError::NotOpen;
  if (position < 0) return FileError::RecordNotAvailable;
  // One byte before the line as well: a line starts at the start of the file or after a LF.
  const std::int64_t from = position == 0 ? 0 : position - 1;
  std::string bytes;
  for (std::size_t want = kFirstRead;; want *= 2) {
    if (FileError e = file_.Read(from, want, bytes); e != FileError::None) return e;
    if (bytes.size() < want || bytes.find('\n', position == 0 ? 0 : 1) != std::string::npos) break;
  }
  std::string_view view = bytes;
  if (position > 0) {
    if (view.empty() || view.front() != '\n') return FileError::RecordNotAvailable;
    view.remove_prefix(1);
  }
  if (view.empty()) return FileError::RecordNotAvailable;
  const LineView first = FirstLine(view);
  const std::size_t length = first.text.size();
  line.endLength = first.end.size();
  line.text = std::string(view.substr(0, length));
  return FileError::None;
}

FileError TextFile::ReadLine(std::int64_t position, std::string& text) {
  Line line;
  FileError e = ReadLineAt(position, line);
  text = e == FileError::None ? std::move(line.text) : std::string();
  return e;
}

namespace {

// Where an edited line stands in the region read: its start, its text's length and its line end's.
struct OldLine {
  std::size_t at, length, endLength;
};

// One line each, in file order, at distinct positions.
bool EditsAreValid(const std::vector<TextLine>& edits) {
  for (std::size_t i = 0; i < edits.size(); ++i)
    if (!IsOneLine(edits[i].text) || edits[i].position < 0 || (i > 0 && edits[i].position <= edits[i - 1].position))
      return false;
  return true;
}

// The file from from to its end, in one read.
FileError ReadRegion(HeldFile& file, std::int64_t from, std::string& region) {
  std::int64_t size = 0;
  if (FileError e = file.Size(size); e != FileError::None) return e;
  if (size - from > kLargestFile) return FileError::InsufficientMemory;
  return size > from ? file.Read(from, static_cast<std::size_t>(size - from), region) : FileError::None;
}

// The lines the edits name, in the region that starts at from; each must start a line.
FileError LocateLines(const std::vector<TextLine>& edits, std::int64_t from, std::string_view region,
                      std::vector<OldLine>& old) {
  for (const TextLine& edit : edits) {
    const auto at = static_cast<std::size_t>(edit.position - from);
    if (at >= region.size() || (edit.position > 0 && region[at - 1] != '\n')) return FileError::RecordNotAvailable;
    const LineView line = FirstLine(region.substr(at));
    old.push_back({at, line.text.size(), line.end.size()});
  }
  return FileError::None;
}

// The new text of a line: never shorter than the old one, so that no line after it moves.
std::string Padded(const TextLine& edit, std::size_t oldLength) {
  std::string text = edit.text;
  if (text.size() < oldLength) text.resize(oldLength, ' ');
  return text;
}

FileError WriteInPlace(HeldFile& file, const std::vector<TextLine>& edits, const std::string& region,
                       const std::vector<OldLine>& old, std::size_t count) {
  auto changed = [&](std::size_t i) {
    return Padded(edits[i], old[i].length) != std::string_view(region).substr(old[i].at, old[i].length);
  };
  // Adjacent changed lines go in one write.
  for (std::size_t i = 0; i < count;) {
    if (!changed(i)) {
      ++i;
      continue;
    }
    std::string run = Padded(edits[i], old[i].length);
    std::size_t j = i + 1;
    for (; j < count && changed(j) && old[j].at == old[j - 1].at + old[j - 1].length + old[j - 1].endLength; ++j)
      run.append(region, old[j - 1].at + old[j - 1].length, old[j - 1].endLength)
          .append(Padded(edits[j], old[j].length));
    if (FileError e = file.Write(edits[i].position, run); e != FileError::None) return e;
    i = j;
  }
  return FileError::None;
}

FileError WriteMoved(HeldFile& file, std::vector<TextLine>& edits, const std::string& region,
                     const std::vector<OldLine>& old, std::size_t first) {
  std::string moved;
  moved.reserve(region.size() - old[first].at + 64);
  std::size_t cursor = old[first].at;
  std::vector<std::int64_t> positions;
  for (std::size_t i = first; i < edits.size(); ++i) {
    moved.append(region, cursor, old[i].at - cursor);
    positions.push_back(edits[first].position + static_cast<std::int64_t>(moved.size()));
    moved += Padded(edits[i], old[i].length);
    cursor = old[i].at + old[i].length;
  }
  moved.append(region, cursor, std::string::npos);
  if (FileError e = file.Write(edits[first].position, moved); e != FileError::None) return e;
  for (std::size_t i = first; i < edits.size(); ++i) edits[i].position = positions[i - first];
  return FileError::None;
}

}  // namespace

// Lines that do not grow change where they stand; from the first that grows to the end, the file is written
// again in one write, and the lines after it move.
FileError TextFile::Rewrite(std::vector<TextLine>& edits) {
  if (!IsOpen()) return FileError::NotOpen;
  if (edits.empty()) return FileError::None;
  if (!EditsAreValid(edits)) return FileError::InvalidData;
  // From the byte before the first edited line, which must be a line end.
  const std::int64_t from = std::max<std::int64_t>(edits.front().position - 1, 0);
  std::string region;
  std::vector<OldLine> old;
  if (FileError e = ReadRegion(file_, from, region); e != FileError::None) return e;
  if (FileError e = LocateLines(edits, from, region, old); e != FileError::None) return e;
  std::size_t grows = 0;
  while (grows < edits.size() && edits[grows].text.size() <= old[grows].length) ++grows;
  if (FileError e = WriteInPlace(file_, edits, region, old, grows); e != FileError::None) return e;
  return grows == edits.size() ? FileError::None : WriteMoved(file_, edits, region, old, grows);
}

FileError TextFile::Append(std::string_view text, std::int64_t* position) {
  if (!IsOpen()) return FileError::NotOpen;
  if (!IsOneLine(text)) return FileError::InvalidData;
  std::int64_t size = 0;
  if (FileError e = file_.Size(size); e != FileError::None) return e;
  std::string last;
  if (size > 0) {
    if (FileError e = file_.Read(size - 1, 1, last); e != FileError::None) return e;
  }
  // A last line without its end is ended first, so that the new line never joins it.
  std::string bytes(last.empty() || last == "\n" ? "" : last == "\r" ? "\n" : "\r\n");
  const std::int64_t start = size + static_cast<std::int64_t>(bytes.size());
  bytes.append(text);
  bytes += "\r\n";
  if (FileError e = file_.Write(size, bytes); e != FileError::None) return e;
  if (position) *position = start;
  return FileError::None;
}

}  // namespace qz
