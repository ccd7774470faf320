// The main procedure: translation set-up for the window modes, then one command or the notes window.
#pragma once
#include "app/services.h"

namespace qz {

// WIN.INI names of the translation file entry.
inline constexpr const char* kQzclSection = "QZCL";
inline constexpr const char* kLangFileEntry = "LangFile";
inline constexpr const char* kLangFileName = "QZCLLang.str";

// Finds the translation file (repairing a stale WIN.INI entry) and opens the translator on it.
void SetUpLanguageFile(Services& svc);

// Runs one whole start of the program on svc.commandLine.
void RunMain(Services& svc);

}  // namespace qz
