#include "qt/qt_message_box.h"

#include <QMessageBox>

#include <utility>

QtMessageBox::QtMessageBox(std::u16string title) : m_title(std::move(title)) {}

void QtMessageBox::show(const std::u16string& prompt)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdU16String(m_title),
                    QString::fromStdU16String(prompt), QMessageBox::Ok);
    box.exec();
}

bool QtMessageBox::confirm(const std::u16string& prompt)
{
    QMessageBox box(QMessageBox::Question, QString::fromStdU16String(m_title),
                    QString::fromStdU16String(prompt), QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);  // a slip of Enter deletes nothing
    return box.exec() == QMessageBox::Yes;
}
