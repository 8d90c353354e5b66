#include "qt/qt_frm_about.h"

#include "forms/frm_about_table.h"

#include <QApplication>
#include <QPainter>

#include <utility>

namespace {

ControlId flagged(ControlFlag flag)
{
    for (std::size_t i = 0; i < frmabout::Table.controls.size(); ++i) {
        if (frmabout::Table.controls[i].has(flag))
            return ControlId{static_cast<std::uint8_t>(i)};
    }
    return frmabout::cmdOK;
}

}  // namespace

QtFrmAbout::QtFrmAbout(AppInfo appInfo, SysInfoPlatform sysInfo, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                  Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                  Qt::MSWindowsFixedSizeDialogHint),
      m_twips(QApplication::font(this)),
      m_table(frmabout::Table, sysInfo.catalog),
      m_view(m_table.table(),
             {this, [](FormId) {}, [this] { QDialog::done(QDialog::Accepted); }}),
      m_form(m_view, std::move(appInfo), sysInfo)
{
    setObjectName(QStringLiteral("frmAbout"));
    m_view.setCaption(m_table.table().caption);
    setFixedSize(m_twips.size(frmabout::Table.clientWidth, frmabout::Table.clientHeight));
    m_view.build(this, m_twips, m_form);
    m_view.focusFirst();
}

void QtFrmAbout::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        m_form.Form_Load();
        m_view.focusFirst();
    }
    QDialog::setVisible(visible);
}

void QtFrmAbout::reject()
{
    m_form.click(flagged(CancelButton));
}

void QtFrmAbout::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    m_view.paintLines(painter, m_twips);
}
