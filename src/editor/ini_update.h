// Update File: a section written back to the IDE's INI file or to the translation file, after a
// time-stamped backup.
#pragma once
#include <string_view>

#include "app/cmd_context.h"

namespace qz {

// The question before the update, and the IDE check for the INI sections: true when the update may run.
bool ConfirmUpdate(CmdContext& ctx, std::string_view section);

// Writes ITEMQ back; storedCount is how many numbered entries the file holds, so that entries the list no
// longer has are cleared. True when the section was written.
bool UpdateSection(CmdContext& ctx, std::string_view section, int storedCount);

}  // namespace qz
