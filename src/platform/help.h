#pragma once

#include "platform/document_opener.h"
#include "platform/process_launcher.h"

#include <string>

// Shows the user's manual the way this system can: on Windows it starts "hh.exe swhelp.chm"
// through `launcher`; elsewhere there is no compiled-help viewer, so it opens `manual` (the HTML
// help; empty when it was not found) through `opener`. Throws whatever they throw, and
// PlatformError for an empty `manual`.
void showHelp(ProcessLauncher& launcher, DocumentOpener& opener, const std::u16string& manual);
