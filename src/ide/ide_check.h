// Whether the IDE is running, and the prompt that asks the user to close it before its INI file is rewritten.
#pragma once
#include <string_view>

#include "base/services.h"

namespace qz {

// True when a server of the IDE's service answers; starts nothing, logs nothing.
bool ClarionIsOpen(Services& svc);
// Asks (at most four times) until the IDE is closed: true when it is, false when the user cancelled or
// gave up. title is the boxes' caption, already translated.
bool ClarionMustBeClosed(Services& svc, std::string_view title);

}  // namespace qz
