#include "platform/app_info.h"

#include "build_info.h"

AppInfo currentAppInfo()
{
    return {buildinfo::Title, buildinfo::VersionMajor, buildinfo::VersionMinor,
            buildinfo::VersionRevision};
}
