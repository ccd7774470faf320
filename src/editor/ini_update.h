// Update File: a section written back to the IDE's INI file or to the translation file, after a
// time-stamped backup.
#pragma once
#include <string_view>
#include <vector>

#include "base/installation.h"
#include "base/services.h"
#include "editor/section_table.h"

namespace qz {

// The question before the update, and the IDE check for the INI sections: true when the update may run.
bool ConfirmUpdate(Services& svc, std::string_view section);

enum class UpdateResult { Written, NotWritten, Reload };

// Writes items back over loaded, the list as it was read; storedCount is how many numbered entries the file
// holds, so that entries the list no longer has are cleared. When the file holds another list than loaded
// (an installer changed it meanwhile), the user chooses: write over that change, or write nothing and load the
// list again (Reload). Once written, loaded is the list as the file now holds it.
UpdateResult UpdateSection(Services& svc, const Installation& ide, std::string_view section,
                           const std::vector<Item>& items, std::vector<Item>& loaded, int storedCount);

}  // namespace qz
