#pragma once

class QPlainTextEdit;

// From now on `box` wraps its lines anywhere while it holds more than `wordWrapLimit` units, and
// as it wraps them now while it holds fewer: Qt's search for word boundaries grows with the
// square of a line's length, so a long paste would keep the window busy for minutes. Only the
// display changes, never the text. Call it while `box` is empty; the box's wrap mode is then
// this function's to set.
void wrapAnywhereAbove(QPlainTextEdit& box, int wordWrapLimit);
