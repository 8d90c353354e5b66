#pragma once

#include "platform/help_viewer.h"
#include "platform/process_launcher.h"

// Starts the system's compiled-help viewer on "swhelp.chm", by the file name alone: the viewer
// looks the file up itself.
class Win32HelpViewer final : public HelpViewer
{
public:
    explicit Win32HelpViewer(ProcessLauncher& launcher);
    void showContents() override;

private:
    ProcessLauncher& m_launcher;
};
