#pragma once

// Opens the user's manual the way this system shows help.
class HelpViewer
{
public:
    virtual ~HelpViewer() = default;
    // Returns without waiting for the viewer. Throws PlatformError when it cannot be started.
    virtual void showContents() = 0;
};
