#include "text/text_list.h"

#include <algorithm>
#include <string>

#include "text/text.h"

namespace qz {

std::vector<std::string_view> Lines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  while (!bytes.empty()) {
    auto end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    bytes.remove_prefix(end + 1);
  }
  return lines;
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
