#include "qt/qt_form1.h"

#include "eval/limits.h"
#include "qt/qt_frm_about.h"
#include "platform/help.h"
#include "qt/qt_plain_text.h"
#include "qt/qt_twips.h"
#include "qt/qt_wrap_anywhere_above.h"
#include "settings/input_persistence.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSessionManager>  // empty where Qt is built without session management
#include <QStyle>

#include <iterator>
#include <limits>
#include <utility>

namespace {

constexpr int ClientWidth = 6300;  // twips
constexpr int ClientHeight = 4065;
constexpr char16_t InputChangedText[] = u"Input has changed since the last evaluation.";

template <class Widget>
Widget* place(Widget* widget, const char* name, const QRect& geometry)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

QAction* item(QMenu* menu, const char* name, const QString& caption)
{
    QAction* const action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QAction* separator(QMenu* menu, const char* name)
{
    QAction* const action = menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

// No limit of ours: an over-long formula is reported by the evaluation, not cut off here.
QLineEdit* formulaBox(QLineEdit* box)
{
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
}

QLineEdit* resultBox(QLineEdit* box)
{
    box->setReadOnly(true);  // still selectable, so a result can be copied
    return box;
}

void writeIfSet(QLineEdit* box, const std::optional<std::u16string>& text)
{
    if (text)
        box->setText(QString::fromStdU16String(*text));
}

void writeIfSet(QLabel* label, const std::optional<std::u16string>& text)
{
    if (text)
        label->setText(QString::fromStdU16String(*text));
}

char16_t systemDecimalPoint()
{
    const QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? u'.' : point.front().unicode();
}

}  // namespace

QtForm1::QtForm1(Form1Platform platform, QWidget* parent)
    : QMainWindow(parent), m_platform(std::move(platform)), m_decimalPoint(systemDecimalPoint())
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Sumwright"));
    createControls();
    createMenu();
    connectHandlers();

    const QtTwips twips(QApplication::font(this));
    resize(twips.size(ClientWidth, ClientHeight) + QSize(0, menuBar()->sizeHint().height()));
    if (const QScreen* const screen = QApplication::primaryScreen()) {
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    }

    Form_Load();
    Text1->setFocus();
}

QtForm1::~QtForm1() = default;

void QtForm1::createControls()
{
    // A plain widget lays out nothing: resizing the window moves no control.
    auto* const client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    const QtTwips t(QApplication::font(this));

    Frame1 = place(new QGroupBox(QStringLiteral("Input"), client), "Frame1",
                   t.rect(120, 120, 3615, 2535));
    Label1 = place(new QLabel(QStringLiteral("Formula"), Frame1), "Label1",
                   t.rect(240, 360, 1215, 255));
    Text1 = place(new QPlainTextEdit(Frame1), "Text1", t.rect(240, 600, 3135, 525));
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Past the formula length limit the text can only be an error, and word wrapping it would
    // keep the window busy.
    wrapAnywhereAbove(*Text1, static_cast<int>(MaxFormulaLength));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setTabChangesFocus(true);  // Tab moves on; Enter still adds a line break
    Text1->setAccessibleName(QStringLiteral("Formula"));
    Label2 = place(new QLabel(QStringLiteral("X"), Frame1), "Label2", t.rect(240, 1320, 255, 255));
    Text2 = place(formulaBox(new QLineEdit(Frame1)), "Text2", t.rect(600, 1320, 2775, 285));
    Text2->setAccessibleName(QStringLiteral("Formula for X"));
    Label3 = place(new QLabel(QStringLiteral("Y"), Frame1), "Label3", t.rect(240, 1680, 255, 255));
    Text3 = place(formulaBox(new QLineEdit(Frame1)), "Text3", t.rect(600, 1680, 2775, 285));
    Text3->setAccessibleName(QStringLiteral("Formula for Y"));
    Label4 = place(new QLabel(QStringLiteral("Z"), Frame1), "Label4", t.rect(240, 2040, 255, 255));
    Text4 = place(formulaBox(new QLineEdit(Frame1)), "Text4", t.rect(600, 2040, 2775, 285));
    Text4->setAccessibleName(QStringLiteral("Formula for Z"));

    Frame2 = place(new QGroupBox(QStringLiteral("Results"), client), "Frame2",
                   t.rect(3960, 120, 2175, 2535));
    Text5 = place(resultBox(new QLineEdit(Frame2)), "Text5", t.rect(240, 480, 1695, 285));
    Text5->setAccessibleName(QStringLiteral("Result"));
    Label8 = place(new QLabel(QStringLiteral("X"), Frame2), "Label8", t.rect(240, 1200, 255, 255));
    Text6 = place(resultBox(new QLineEdit(Frame2)), "Text6", t.rect(600, 1200, 1335, 285));
    Text6->setAccessibleName(QStringLiteral("Value of X"));
    Label9 = place(new QLabel(QStringLiteral("Y"), Frame2), "Label9", t.rect(240, 1560, 255, 255));
    Text7 = place(resultBox(new QLineEdit(Frame2)), "Text7", t.rect(600, 1560, 1335, 285));
    Text7->setAccessibleName(QStringLiteral("Value of Y"));
    Label10 = place(new QLabel(QStringLiteral("Z"), Frame2), "Label10",
                    t.rect(240, 1920, 255, 255));
    Text8 = place(resultBox(new QLineEdit(Frame2)), "Text8", t.rect(600, 1920, 1335, 285));
    Text8->setAccessibleName(QStringLiteral("Value of Z"));

    Label7 = place(new QLabel(QStringLiteral("Status"), client), "Label7",
                   t.rect(120, 2760, 1815, 255));
    Label6 = place(new QLabel(client), "Label6", t.rect(120, 3000, 6015, 495));
    Label6->setWordWrap(true);
    Label6->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A name would be read instead of the message; the description says what the text is.
    Label6->setAccessibleDescription(QStringLiteral("Status"));

    Command1 = place(new QPushButton(QStringLiteral("Evaluate"), client), "Command1",
                     t.rect(4920, 3600, 1215, 375));
    Command1->setAutoDefault(false);  // neither Enter nor Esc presses it
    Command1->setDefault(false);
    Command1->setAccessibleName(QStringLiteral("Evaluate"));

    // Tab follows the layout's tab index among the controls that take the focus; labels and
    // frames take none.
    QWidget* const tabOrder[] = {Text1, Text2, Text3, Text4, Command1, Text5, Text6, Text7, Text8};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void QtForm1::createMenu()
{
    mnuOptions = menuBar()->addMenu(QStringLiteral("&Options"));
    mnuOptions->setObjectName(QStringLiteral("mnuOptions"));
    mnuOptions->menuAction()->setObjectName(QStringLiteral("mnuOptions"));
    mnuClearVariables = item(mnuOptions, "mnuClearVariables", QStringLiteral("&Clear Variables"));
    mnuClearAll = item(mnuOptions, "mnuClearAll", QStringLiteral("Clear &All"));
    mnuUDF = item(mnuOptions, "mnuUDF", QStringLiteral("User Defined Functions..."));
    mnuUDF->setVisible(false);
    mnuUDF->setEnabled(false);
    mnuEvaluate = item(mnuOptions, "mnuEvaluate", QStringLiteral("&Evaluate Formula"));
    OptionSeaparator1 = separator(mnuOptions, "OptionSeaparator1");
    mnuSave = item(mnuOptions, "mnuSave", QStringLiteral("&Save Input on Exit"));
    mnuSave->setCheckable(true);
    OptionsSeparator2 = separator(mnuOptions, "OptionsSeparator2");
    mnuExit = item(mnuOptions, "mnuExit", QStringLiteral("E&xit"));

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelp->menuAction()->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpContents = item(mnuHelp, "mnuHelpContents", QStringLiteral("&Contents..."));
    HelpSeparator1 = separator(mnuHelp, "HelpSeparator1");
    mnuAbout = item(mnuHelp, "mnuAbout", QStringLiteral("&About Sumwright..."));
}

void QtForm1::connectHandlers()
{
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(mnuEvaluate, &QAction::triggered, this, [this] { mnuEvaluate_Click(); });
    connect(mnuClearVariables, &QAction::triggered, this, [this] { mnuClearVariables_Click(); });
    connect(mnuClearAll, &QAction::triggered, this, [this] { mnuClearAll_Click(); });
    connect(mnuSave, &QAction::triggered, this, [this] { mnuSave_Click(); });
    connect(mnuExit, &QAction::triggered, this, [this] { mnuExit_Click(); });
    connect(mnuHelpContents, &QAction::triggered, this, [this] { mnuHelpContents_Click(); });
    connect(mnuAbout, &QAction::triggered, this, [this] { mnuAbout_Click(); });
    // textChanged, not textEdited: the program's own writes count as changes too.
    connect(Text1, &QPlainTextEdit::textChanged, this, [this] { Text1_Change(); });
    connect(Text2, &QLineEdit::textChanged, this, [this] { Text2_Change(); });
    connect(Text3, &QLineEdit::textChanged, this, [this] { Text3_Change(); });
    connect(Text4, &QLineEdit::textChanged, this, [this] { Text4_Change(); });
#if QT_CONFIG(sessionmanager)
    if (qGuiApp != nullptr) {
        connect(qGuiApp, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager&) { saveInputForSessionEnd(); });
    }
#endif
}

Formulas QtForm1::readFormulas() const
{
    return {exactPlainText(*Text1).toStdU16String(), Text2->text().toStdU16String(),
            Text3->text().toStdU16String(), Text4->text().toStdU16String()};
}

void QtForm1::saveInputForSessionEnd()
{
    Form_Unload();
}

void QtForm1::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void QtForm1::Command1_Click()
{
    const Outcome out = runEvaluation(m_reckoner, readFormulas(), m_decimalPoint);
    writeIfSet(Text8, out.z);  // a box the run did not reach keeps its text
    writeIfSet(Text7, out.y);
    writeIfSet(Text6, out.x);
    writeIfSet(Text5, out.main);
    writeIfSet(Label6, out.status);  // at most one message per run, and sometimes none
}

void QtForm1::mnuEvaluate_Click()
{
    Command1_Click();
}

void QtForm1::mnuClearVariables_Click()
{
    Text2->clear();
    Text3->clear();
    Text4->clear();
}

void QtForm1::mnuClearAll_Click()
{
    setPlainTextIfDifferent(*Text1, QString());
    for (QLineEdit* const box : {Text2, Text3, Text4, Text5, Text6, Text7, Text8})
        box->clear();
}

void QtForm1::mnuSave_Click()
{
    // QAction has already flipped the check mark, the only record of the option until
    // Form_Unload; toggling stores nothing.
}

void QtForm1::mnuExit_Click()
{
    close();
}

void QtForm1::mnuHelpContents_Click()
{
    // Help is a convenience: whatever goes wrong, the window goes on as before, unreported.
    try {
        showHelp(m_platform.launcher, m_platform.documents, m_platform.manual);
    } catch (...) {
    }
}

void QtForm1::mnuAbout_Click()
{
    if (!m_about)
        m_about = std::make_unique<QtFrmAbout>(m_platform.appInfo, m_platform.startSysInfo);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void QtForm1::Text1_Change()
{
    Label6->setText(QString::fromUtf16(InputChangedText));
}

void QtForm1::Text2_Change()
{
    Label6->setText(QString::fromUtf16(InputChangedText));
}

void QtForm1::Text3_Change()
{
    Label6->setText(QString::fromUtf16(InputChangedText));
}

void QtForm1::Text4_Change()
{
    Label6->setText(QString::fromUtf16(InputChangedText));
}

void QtForm1::Form_Load()
{
    const RestoredInput restored = restoreInput(m_platform.settings);
    mnuSave->setChecked(restored.isSaveChecked);
    if (restored.texts) {
        setPlainTextIfDifferent(*Text1, QString::fromStdU16String(restored.texts->formula));
        Text2->setText(QString::fromStdU16String(restored.texts->x));
        Text3->setText(QString::fromStdU16String(restored.texts->y));
        Text4->setText(QString::fromStdU16String(restored.texts->z));
        Label6->clear();  // the restoring fired the change handlers; a restored window opens quiet
    }
}

void QtForm1::Form_Unload()
{
    const Formulas texts = readFormulas();
    storeInput(m_platform.settings, mnuSave->isChecked(),
               {texts.main, texts.x, texts.y, texts.z});
}
