#include "platform/help.h"

#include "platform/platform_error.h"

void showHelp(ProcessLauncher&, DocumentOpener& opener, const std::u16string& manual)
{
    if (manual.empty())
        throw PlatformError("The help file was not found.");
    opener.open(manual);
}
