#include "qt/qt_frm_about.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <utility>

namespace {

constexpr int ClientWidth = 5730;  // twips
constexpr int ClientHeight = 3555;
constexpr int TitlePointSize = 12;

template <class Widget>
Widget* place(Widget* widget, const char* name, const QRect& geometry)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

}  // namespace

QtFrmAbout::QtFrmAbout(AppInfo appInfo, std::function<void()> startSysInfo, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                  Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                  Qt::MSWindowsFixedSizeDialogHint),
      m_appInfo(std::move(appInfo)),
      m_startSysInfo(std::move(startSysInfo)),
      m_twips(QApplication::font(this))
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About MyApp"));
    setFixedSize(m_twips.size(ClientWidth, ClientHeight));

    cmdOK = place(new QPushButton(QStringLiteral("OK"), this), "cmdOK",
                  m_twips.rect(4245, 2625, 1260, 345));
    cmdOK->setDefault(true);

    picIcon = place(new QLabel(this), "picIcon", m_twips.rect(240, 240, 480, 480));
    picIcon->setAlignment(Qt::AlignCenter);
    picIcon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    picIcon->setAccessibleName(QStringLiteral("Program icon"));

    cmdSysInfo = place(new QPushButton(QStringLiteral("&System Info..."), this), "cmdSysInfo",
                       m_twips.rect(4260, 3075, 1245, 345));

    Label1 = place(new QLabel(QStringLiteral("Sumwright is free. Reports and suggestions: "
                                             "see \"Reporting problems\" in its README."),
                              this),
                   "Label1", m_twips.rect(240, 2640, 3885, 450));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    const QString copyright = QStringLiteral("Copyright \u00A9 2026 the Sumwright authors.");
    lblDescription = place(new QLabel(copyright, this),
                           "lblDescription", m_twips.rect(1080, 1125, 3885, 330));

    lblTitle = place(new QLabel(QStringLiteral("Application Title"), this), "lblTitle",
                     m_twips.rect(1050, 240, 3885, 480));
    QFont titleFont = lblTitle->font();  // the default family, which every system has
    titleFont.setPointSize(TitlePointSize);
    lblTitle->setFont(titleFont);

    lblVersion = place(new QLabel(QStringLiteral("Version"), this), "lblVersion",
                       m_twips.rect(1050, 780, 3885, 225));

    for (QLabel* label : {Label1, lblDescription, lblTitle}) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
    }

    setTabOrder(cmdOK, cmdSysInfo);
    cmdOK->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });
}

void QtFrmAbout::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        Form_Load();
        cmdOK->setFocus();
    }
    QDialog::setVisible(visible);
}

void QtFrmAbout::reject()
{
    cmdOK_Click();
}

void QtFrmAbout::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    // An etched rule: one grey pixel row with two white ones right below it. The rows are
    // placed from the grey line's top, so scaling can never let the white one cover it.
    QPainter painter(this);
    const int top = m_twips.px(2445);
    const int right = m_twips.px(5654);
    painter.fillRect(QRect(QPoint(m_twips.px(90), top), QPoint(right, top)),
                     QColor(128, 128, 128));
    painter.fillRect(QRect(QPoint(m_twips.px(105), top + 1), QPoint(right, top + 2)), Qt::white);
}

void QtFrmAbout::Form_Load()
{
    const QString title = QString::fromStdU16String(m_appInfo.title);
    setWindowTitle(QStringLiteral("About ") + title);
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(m_appInfo.major)
                            .arg(m_appInfo.minor)
                            .arg(m_appInfo.revision));
    lblTitle->setText(title);
}

void QtFrmAbout::cmdOK_Click()
{
    QDialog::done(QDialog::Accepted);
}

void QtFrmAbout::cmdSysInfo_Click()
{
    m_startSysInfo();
}
