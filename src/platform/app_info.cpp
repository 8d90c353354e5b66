#include "platform/app_info.h"

#include <app_info.h>  // the generated header, not this folder's app_info.h

AppInfo currentAppInfo()
{
    return {appinfo::Title, appinfo::VersionMajor, appinfo::VersionMinor, appinfo::VersionRevision};
}
