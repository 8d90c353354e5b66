#include "qt/qt_form1.h"

#include "forms/form1_table.h"
#include "qt/qt_frm_about.h"
#include "qt/qt_frm_history.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>
#include <QSessionManager>  // empty where Qt is built without session management
#include <QStyle>

#include <utility>

QtForm1::QtForm1(Form1Platform platform, AppInfo appInfo, SysInfoPlatform sysInfo,
                 QWidget* parent)
    : QMainWindow(parent),
      m_table(form1::Table, platform.catalog),
      m_view(m_table.table(), {this, [this](FormId form) { showForm(form); }, [this] { close(); }}),
      m_form(m_view, platform),
      m_appInfo(std::move(appInfo)),
      m_sysInfo(sysInfo),
      m_history(platform.history)
{
    setObjectName(QStringLiteral("Form1"));
    m_view.setCaption(m_table.table().caption);

    // A plain widget lays out nothing: resizing the window moves no control.
    auto* const client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    const QtTwips twips(QApplication::font(this));
    m_view.build(client, twips, m_form, menuBar());

    resize(twips.size(form1::Table.clientWidth, form1::Table.clientHeight)
           + QSize(0, menuBar()->sizeHint().height()));
    if (const QScreen* const screen = QApplication::primaryScreen()) {
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    }
#if QT_CONFIG(sessionmanager)
    if (qGuiApp != nullptr) {
        connect(qGuiApp, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager&) { saveInputForSessionEnd(); });
    }
#endif

    m_form.Form_Load();
    m_view.focusFirst();
}

QtForm1::~QtForm1() = default;

void QtForm1::saveInputForSessionEnd()
{
    m_form.Form_Unload();
}

void QtForm1::closeEvent(QCloseEvent* event)
{
    m_form.Form_Unload();
    event->accept();
}

void QtForm1::showForm(FormId form)
{
    QWidget* shown = this;
    if (form == FormId::frmAbout) {
        if (!m_about)
            m_about = std::make_unique<QtFrmAbout>(m_appInfo, m_sysInfo);
        shown = m_about.get();
    } else if (form == FormId::frmHistory) {
        if (m_history == nullptr)
            return;
        if (!m_historyWindow) {
            m_historyWindow = std::make_unique<QtFrmHistory>(
                *m_history, m_sysInfo.messageBox, m_sysInfo.catalog,
                [this](FormId other) { showForm(other); },
                [this](const Formulas& formulas) { m_form.useFormulas(formulas); });
        }
        shown = m_historyWindow.get();
    }
    shown->show();
    shown->raise();
    shown->activateWindow();
}
