// The box of a command that could not read or write a file and therefore changed nothing.
#pragma once
#include <string>

#include "base/services.h"

namespace qz {

// what is a fixed phrase (translated here), file the file's name; the caption is already translated.
inline void ShowFileError(Services& svc, const std::string& caption, const char* what, const std::string& file) {
  Box box;
  box.caption = caption;
  box.text = svc.tr(what) + "|  " + file + "||" + svc.tr("Nothing was changed.");
  box.icon = Icon::Exclamation;
  box.outcome = Outcome::Error;
  svc.Show(box);
}

}  // namespace qz
