// The arrows drawn on the page and move buttons.
#pragma once
#include <windows.h>

#include "platform/handle_win32.h"

namespace qz {

// A black arrow on a transparent 16 by 16 icon, pointing 'U'p, 'D'own, 'L'eft or 'R'ight; a disabled button
// greys it.
UniqueHicon ArrowIcon(char direction);

}  // namespace qz
