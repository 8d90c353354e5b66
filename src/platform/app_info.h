#pragma once

#include <string>

// The application's own title and version, as the About dialog shows them.
struct AppInfo
{
    std::u16string title;
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// This build's title and version, from the project's one definition of them.
AppInfo currentAppInfo();
