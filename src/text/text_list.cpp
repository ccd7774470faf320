#include "text/text_list.h"

#include <algorithm>
#include <string>

#include "text/text.h"

namespace qz {

LineView FirstLine(std::string_view bytes, LineEnds ends) {
  std::size_t end = bytes.find_first_of(ends == LineEnds::Profile ? "\r\n" : "\n");
  std::size_t length = end == std::string_view::npos ? 0 : 1;
  if (end == std::string_view::npos) end = bytes.size();
  if (ends == LineEnds::Text && end > 0 && bytes[end - 1] == '\r') {
    --end;  // the CR of a CR LF, or one that ends the bytes
    ++length;
  } else if (length == 1 && bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') {
    length = 2;
  }
  return {bytes.substr(0, end), bytes.substr(end, length)};
}

std::vector<LineView> SplitLines(std::string_view bytes, LineEnds ends) {
  std::vector<LineView> lines;
  while (!bytes.empty()) {
    lines.push_back(FirstLine(bytes, ends));
    bytes.remove_prefix(lines.back().Whole().size());
  }
  return lines;
}

std::vector<std::string_view> Lines(std::string_view bytes) {
  std::vector<std::string_view> texts;
  for (const LineView& line : SplitLines(bytes)) texts.push_back(line.text);
  return texts;
}

std::vector<std::string_view> SplitList(std::string_view list) {
  std::vector<std::string_view> items;
  for (;;) {
    const auto end = list.find(';');
    items.push_back(list.substr(0, end));
    if (end == std::string_view::npos) return items;
    list.remove_prefix(end + 1);
  }
}

namespace {

std::string ItemKey(std::string_view item, bool ignoreCase) {
  auto start = item.find_first_not_of(" \t");
  if (start == std::string_view::npos) return {};
  item = item.substr(start, item.find_last_not_of(" \t") - start + 1);
  if (!item.empty() && item.back() == '\\') item.remove_suffix(1);
  return ignoreCase ? Upper(item) : std::string(item);
}

}  // namespace

bool ListHolds(std::string_view list, std::string_view item, bool ignoreCase) {
  const std::string wanted = ItemKey(item, ignoreCase);
  for (;;) {
    auto end = list.find(';');
    if (ItemKey(list.substr(0, end), ignoreCase) == wanted) return true;
    if (end == std::string_view::npos) return false;
    list.remove_prefix(end + 1);
  }
}

std::string ListWithout(std::string_view list, std::string_view items, bool ignoreCase) {
  std::vector<std::string> unwanted;
  for (std::string_view item : SplitList(items))
    if (!IsBlank(item)) unwanted.push_back(ItemKey(item, ignoreCase));
  std::string kept;
  bool first = true;
  for (std::string_view item : SplitList(list)) {
    const std::string key = ItemKey(item, ignoreCase);
    if (!key.empty() && std::find(unwanted.begin(), unwanted.end(), key) != unwanted.end()) continue;
    if (!first) kept += ';';
    kept += item;
    first = false;
  }
  return kept;
}

}  // namespace qz
