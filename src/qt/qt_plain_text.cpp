#include "qt/qt_plain_text.h"

#include <QPlainTextEdit>
#include <QStringList>
#include <QTextDocument>
#include <QVariant>

#include <algorithm>

namespace {

// A text the box cannot hold unit for unit, and the form it shows of it: {text, shown}.
constexpr char KeptTextProperty[] = "exactPlainText";

// The lines of `document` joined by "\n". A document holds no U+2029 of its own: inserting one
// breaks the block, as CR, LF and the frame marks do, and toRawText() writes each break as U+2029.
QString joinedLines(const QTextDocument& document)
{
    return document.toRawText().replace(QChar::ParagraphSeparator, u'\n');
}

bool hasUnitsShownAsLineBreaks(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return c == u'\r' || c == QChar::ParagraphSeparator || c == u'\uFDD0' || c == u'\uFDD1';
    });
}

// What the box will read back for `text`, from a document of the same kind.
QString shownForm(const QString& text)
{
    QTextDocument document;
    document.setPlainText(text);
    return joinedLines(document);
}

}  // namespace

QString exactPlainText(const QPlainTextEdit& box)
{
    const QString shown = joinedLines(*box.document());
    // Setting a text empties the undo stack, so with nothing to undo the document is the one
    // set, or has been undone back to it. (isModified() would not do: setPlainText() clears it
    // only after textChanged.)
    const QStringList kept = box.property(KeptTextProperty).toStringList();
    if (kept.size() == 2 && box.document()->availableUndoSteps() == 0 && kept[1] == shown)
        return kept[0];
    return shown;
}

void setPlainTextIfDifferent(QPlainTextEdit& box, const QString& text)
{
    if (exactPlainText(box) == text)
        return;
    // Kept before the text goes in, so that a change handler reads it whole.
    if (hasUnitsShownAsLineBreaks(text))
        box.setProperty(KeptTextProperty, QStringList{text, shownForm(text)});
    else
        box.setProperty(KeptTextProperty, QVariant());
    box.setPlainText(text);
}
