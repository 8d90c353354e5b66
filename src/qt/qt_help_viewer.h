#pragma once

#include "platform/document_opener.h"
#include "platform/help_viewer.h"

#include <string>

// There is no compiled-help viewer here: the HTML manual opens in the desktop's viewer.
class QtHelpViewer final : public HelpViewer
{
public:
    // `manual` is the HTML manual's path; empty when it was not found.
    QtHelpViewer(DocumentOpener& opener, std::u16string manual);
    // Throws PlatformError when there is no manual or no viewer takes it.
    void showContents() override;

private:
    DocumentOpener& m_opener;
    std::u16string m_manual;
};
