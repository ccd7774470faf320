#include "runtime/files.h"

namespace qz {

FileError ReplaceContent(Files& files, const std::string& path, std::string_view bytes) {
  std::string temp;
  FileError error = files.WriteTemporary(path, bytes, temp);
  if (error == FileError::None) error = files.Replace(path, temp);
  if (error != FileError::None && !temp.empty()) files.Remove(temp);
  return error;
}

}  // namespace qz
