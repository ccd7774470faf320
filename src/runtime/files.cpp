#include "runtime/files.h"

#include "runtime/text_list.h"

namespace qz {

FileError ReplaceContent(Files& files, const std::string& path, std::string_view bytes) {
  std::string temp;
  FileError error = files.WriteTemporary(path, bytes, temp);
  if (error == FileError::None) error = files.Replace(path, temp);
  if (error != FileError::None && !temp.empty()) files.Remove(temp);
  return error;
}

FileError RemoveLines(Files& files, const std::string& path, const std::function<bool(std::string_view)>& drop) {
  std::string bytes;
  if (FileError read = files.ReadAll(path, bytes); read != FileError::None) return read;
  const std::string rest = WithoutLines(bytes, drop);
  return rest == bytes ? FileError::None : ReplaceContent(files, path, rest);
}

}  // namespace qz
