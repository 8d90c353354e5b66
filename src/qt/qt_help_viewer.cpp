#include "qt/qt_help_viewer.h"

#include "platform/platform_error.h"

#include <utility>

QtHelpViewer::QtHelpViewer(DocumentOpener& opener, std::u16string manual)
    : m_opener(opener), m_manual(std::move(manual))
{
}

void QtHelpViewer::showContents()
{
    if (m_manual.empty())
        throw PlatformError("The help file was not found.");
    m_opener.open(m_manual);
}
