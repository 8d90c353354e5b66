#include "qt/qt_plain_text.h"

#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <string>

TEST(QtPlainText, AChangeHandlerReadsTheTextWhole)
{
    QPlainTextEdit box;
    QString seen;
    QObject::connect(&box, &QPlainTextEdit::textChanged, [&] { seen = exactPlainText(box); });
    box.setPlainText(QStringLiteral("typed"));
    const std::u16string texts[] = {u"x\r\n+1", u"1+\u00A02\u2028", u"x\u2029", u""};
    for (const std::u16string& text : texts) {
        SCOPED_TRACE(text.size());
        setPlainTextIfDifferent(box, QString::fromStdU16String(text));
        EXPECT_TRUE(seen.toStdU16String() == text);
    }
}
