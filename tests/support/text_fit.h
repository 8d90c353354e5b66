#pragma once

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QString>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>

#include <gtest/gtest.h>

// Whether a control's text fits inside it, judged from its own font's metrics.
namespace textfit {

inline QString withoutAccessKeys(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

inline void expectLabelFits(const QLabel* label, const QString& text)
{
    SCOPED_TRACE(label->objectName().toStdString() + ": " + text.toStdString());
    const QFontMetrics metrics(label->font());
    if (label->wordWrap()) {
        const QRect needed = metrics.boundingRect(QRect(0, 0, label->contentsRect().width(), 10000),
                                                  Qt::TextWordWrap, text);
        EXPECT_LE(needed.height(), label->contentsRect().height());
    } else {
        EXPECT_LE(metrics.horizontalAdvance(text), label->contentsRect().width());
        EXPECT_LE(metrics.height(), label->contentsRect().height());
    }
}

inline bool isOurs(const QWidget* widget)
{
    return !widget->objectName().isEmpty() && !widget->objectName().startsWith(u"qt_");
}

// Every label, button, group box and line edit below `root` that carries a name of ours, with
// the text it shows now.
inline void expectAllFit(const QWidget* root)
{
    for (const QLabel* label : root->findChildren<QLabel*>()) {
        if (isOurs(label) && label->pixmap().isNull())
            expectLabelFits(label, label->text());
    }
    for (const QPushButton* button : root->findChildren<QPushButton*>()) {
        if (!isOurs(button))
            continue;
        SCOPED_TRACE(button->objectName().toStdString());
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect contents =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const QFontMetrics metrics(button->font());
        EXPECT_LE(metrics.horizontalAdvance(withoutAccessKeys(button->text())), contents.width());
        EXPECT_LE(metrics.height(), contents.height());
    }
    for (const QGroupBox* frame : root->findChildren<QGroupBox*>()) {
        SCOPED_TRACE(frame->objectName().toStdString());
        const QFontMetrics metrics(frame->font());
        EXPECT_LT(metrics.horizontalAdvance(frame->title()), frame->width());
    }
    for (const QLineEdit* box : root->findChildren<QLineEdit*>()) {
        SCOPED_TRACE(box->objectName().toStdString());
        const QFontMetrics metrics(box->font());
        const int frame = 2;  // each side
        EXPECT_LE(metrics.height() + 2 * frame, box->height());
    }
}

}  // namespace textfit
