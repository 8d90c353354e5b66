#include "platform/app_info.h"

// Angle brackets: a quoted include would find this directory's own app_info.h first.
#include <app_info.h>

AppInfo currentAppInfo()
{
    return {appinfo::Title, appinfo::VersionMajor, appinfo::VersionMinor, appinfo::VersionRevision};
}
