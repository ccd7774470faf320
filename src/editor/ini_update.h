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

// Writes items back; storedCount is how many numbered entries the file holds, so that entries the list no
// longer has are cleared. True when the section was written.
bool UpdateSection(Services& svc, const Installation& ide, std::string_view section, const std::vector<Item>& items,
                   int storedCount);

}  // namespace qz
