#include "platform/help.h"

void showHelp(ProcessLauncher& launcher, DocumentOpener&, const std::u16string&)
{
    // A bare file name: the viewer looks it up itself, and we add no folder of our own.
    launcher.start(u"hh.exe", {u"swhelp.chm"});
}
