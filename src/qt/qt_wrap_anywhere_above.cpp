#include "qt/qt_wrap_anywhere_above.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextDocument>

namespace {

// Lays a plain text document out as QPlainTextDocumentLayout does, but first sets the box's
// wrap mode for the length the document has after the change. Any later moment would be too
// late: the change is laid out right after it is made.
class LengthWrapLayout final : public QPlainTextDocumentLayout
{
public:
    LengthWrapLayout(QPlainTextEdit& box, QTextDocument* document, int wordWrapLimit)
        : QPlainTextDocumentLayout(document),
          m_box(&box),
          m_wordWrapLimit(wordWrapLimit),
          m_shortMode(box.wordWrapMode())
    {
    }

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override
    {
        if (m_isSwitching) {
            // The new mode reaches every block when it is next laid out. Laying one out here
            // would be wasted: the change that follows lays it out once more.
            for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
                block.clearLayout();
                block.setLineCount(block.isVisible() ? 1 : 0);
            }
            return;
        }
        if (m_box) {  // null while the box is being destroyed
            // the count includes the closing paragraph separator
            const bool isLong = document()->characterCount() - 1 > m_wordWrapLimit;
            const QTextOption::WrapMode mode = isLong ? QTextOption::WrapAnywhere : m_shortMode;
            if (mode != m_box->wordWrapMode()) {
                const QScopedValueRollback<bool> switching(m_isSwitching, true);
                m_box->setWordWrapMode(mode);
            }
        }
        QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
    }

private:
    const QPointer<QPlainTextEdit> m_box;
    const int m_wordWrapLimit;
    const QTextOption::WrapMode m_shortMode;
    bool m_isSwitching = false;
};

}  // namespace

void wrapAnywhereAbove(QPlainTextEdit& box, int wordWrapLimit)
{
    Q_ASSERT(box.document()->isEmpty());
    // The box sets up its own document; only a new one can have a layout of ours from the start.
    auto* const document = new QTextDocument(&box);
    document->setDocumentLayout(new LengthWrapLayout(box, document, wordWrapLimit));
    document->setDefaultFont(box.font());
    box.setDocument(document);
}
