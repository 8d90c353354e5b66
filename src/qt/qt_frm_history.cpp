#include "qt/qt_frm_history.h"

#include "forms/frm_history_table.h"

#include <QApplication>

#include <utility>

QtFrmHistory::QtFrmHistory(SessionHistory& history, MessageBox& messageBox,
                           const Catalog& catalog,
                           std::function<void(FormId)> showForm,
                           std::function<void(const Formulas&)> use, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                  Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                  Qt::MSWindowsFixedSizeDialogHint),
      m_twips(QApplication::font(this)),
      m_saveDialog(this),
      m_table(frmhistory::Table, catalog),
      m_view(m_table.table(), {this, std::move(showForm),
                                 [this] {
                                     m_form.Form_Unload();
                                     QDialog::done(QDialog::Accepted);
                                 }}),
      m_form(m_view,
             {history, m_clock, m_clipboard, m_saveDialog, messageBox, std::move(use), catalog})
{
    setObjectName(QStringLiteral("frmHistory"));
    m_view.setCaption(m_table.table().caption);
    setFixedSize(m_twips.size(frmhistory::Table.clientWidth, frmhistory::Table.clientHeight));
    m_view.build(this, m_twips, m_form);
}

void QtFrmHistory::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        m_form.Form_Load();
        m_view.focusFirst();
    }
    QDialog::setVisible(visible);
}

void QtFrmHistory::reject()
{
    m_form.click(frmhistory::cmdClose);
}
