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

FileError TextFile::Rewrite(std::vector<TextLine>& edits) {
  if (!IsOpen()) return FileError::NotOpen;
  if (edits.empty()) return FileError::None;
  for (std::size_t i = 0; i < edits.size(); ++i) {
    if (!IsOneLine(edits[i].text)) return FileError::InvalidData;
    if (edits[i].position < 0 || (i > 0 && edits[i].position <= edits[i - 1].position)) return FileError::InvalidData;
  }
  // One read from the byte before the first edited line to the end of the file.
  const std::int64_t from = std::max<std::int64_t>(edits.front().position - 1, 0);
  std::int64_t size = 0;
  if (FileError e = file_.Size(size); e != FileError::None) return e;
  if (size - from > kLargestFile) return FileError::InsufficientMemory;
  std::string region;
  if (size > from) {
    if (FileError e = file_.Read(from, static_cast<std::size_t>(size - from), region); e != FileError::None) return e;
  }
  struct Old {
    std::size_t at, length, endLength;  // in region
  };
  std::vector<Old> old(edits.size());
  for (std::size_t i = 0; i < edits.size(); ++i) {
    const auto at = static_cast<std::size_t>(edits[i].position - from);
    if (at >= region.size() || (edits[i].position > 0 && region[at - 1] != '\n')) return FileError::RecordNotAvailable;
    old[i].at = at;
    const LineView first = FirstLine(std::string_view(region).substr(at));
    old[i].length = first.text.size();
    old[i].endLength = first.end.size();
  }
  // The new text of a line: never shorter than the old one, so that no line after it moves.
  auto padded = [&](std::size_t i) {
    std::string text = edits[i].text;
    if (text.size() < old[i].length) text.resize(old[i].length, ' ');
    return text;
  };
  auto changed = [&](std::size_t i) { return padded(i) != std::string_view(region).substr(old[i].at, old[i].length); };

  // Lines before the first that grows change where they stand, adjacent changed lines in one write.
  std::size_t grows = 0;
  while (grows < edits.size() && edits[grows].text.size() <= old[grows].length) ++grows;
  for (std::size_t i = 0; i < grows;) {
    if (!changed(i)) {
      ++i;
      continue;
    }
    std::string run = padded(i);
    std::size_t j = i + 1;
    for (; j < grows && changed(j) && old[j].at == old[j - 1].at + old[j - 1].length + old[j - 1].endLength; ++j)
      run.append(region, old[j - 1].at + old[j - 1].length, old[j - 1].endLength).append(padded(j));
    if (FileError e = file_.Write(edits[i].position, run); e != FileError::None) return e;
    i = j;
  }
  if (grows == edits.size()) return FileError::None;

  // From the first line that grows to the end of the file, in one write.
  const std::size_t base = old[grows].at;
  std::string moved;
  moved.reserve(region.size() - base + 64);
  std::size_t cursor = base;
  std::vector<std::int64_t> positions;
  for (std::size_t i = grows; i < edits.size(); ++i) {
    moved.append(region, cursor, old[i].at - cursor);
    positions.push_back(edits[grows].position + static_cast<std::int64_t>(moved.size()));
    moved += padded(i);
    cursor = old[i].at + old[i].length;
  }
  moved.append(region, cursor, std::string::npos);
  if (FileError e = file_.Write(edits[grows].position, moved); e != FileError::None) return e;
  for (std::size_t i = grows; i < edits.size(); ++i) edits[i].position = positions[i - grows];
  return FileError::None;
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
