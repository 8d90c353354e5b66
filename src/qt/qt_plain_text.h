#pragma once

#include <QString>

class QPlainTextEdit;

// The text of `box` unit for unit: its lines joined by "\n" and every other unit as it stands,
// U+00A0 and U+2028 included (toPlainText() makes them a space and a line break). A text given
// to setPlainTextIfDifferent comes back whole while the box holds it unedited, even units the
// box can only show as line breaks (CR, U+2029).
QString exactPlainText(const QPlainTextEdit& box);

// Shows `text` in `box` unless exactPlainText already gives it, so that only a real change
// reaches textChanged.
void setPlainTextIfDifferent(QPlainTextEdit& box, const QString& text);
