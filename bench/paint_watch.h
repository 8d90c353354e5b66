#pragma once

#include <QEvent>
#include <QObject>

// Notes the first paint of the widget it watches.
class PaintWatch final : public QObject
{
public:
    bool isPainted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            isPainted = true;
        return QObject::eventFilter(watched, event);
    }
};
