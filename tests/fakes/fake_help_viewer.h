#pragma once

#include "platform/help_viewer.h"
#include "platform/platform_error.h"

class FakeHelpViewer final : public HelpViewer
{
public:
    int shown = 0;
    bool failAlways = false;  // every call throws PlatformError

    void showContents() override
    {
        if (failAlways)
            throw PlatformError("no help viewer");
        ++shown;
    }
};
