#pragma once

#include "eval/evaluation_sequence.h"
#include "eval/evaluator.h"
#include "platform/app_info.h"
#include "platform/document_opener.h"
#include "platform/process_launcher.h"
#include "platform/settings_store.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QtFrmAbout;

// What the main window needs from outside; main.cpp passes the real implementations.
struct Form1Platform
{
    SettingsStore& settings;
    ProcessLauncher& launcher;
    DocumentOpener& documents;
    std::u16string manual;  // the HTML help; empty when it was not found
    AppInfo appInfo;
    std::function<void()> startSysInfo;  // for the About dialog's "System Info..."
};

// The main window: four formula boxes, four result boxes, the status line and the menu.
// Form_Load runs in the constructor; Form_Unload runs when the window closes.
class QtForm1 final : public QMainWindow
{
    Q_OBJECT

public:
    explicit QtForm1(Form1Platform platform, QWidget* parent = nullptr);
    ~QtForm1() override;

    // Stores the input the way closing the window does; for a desktop session that ends while
    // the window is open. Storing again at a later close writes the same values.
    void saveInputForSessionEnd();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createMenu();
    void connectHandlers();
    Formulas readFormulas() const;

    void Command1_Click();
    void mnuEvaluate_Click();
    void mnuClearVariables_Click();
    void mnuClearAll_Click();
    void mnuSave_Click();
    void mnuExit_Click();
    void mnuHelpContents_Click();
    void mnuAbout_Click();
    void Text1_Change();
    void Text2_Change();
    void Text3_Change();
    void Text4_Change();
    void Form_Load();
    void Form_Unload();

    Form1Platform m_platform;
    ReckonerEvaluator m_reckoner;
    const char16_t m_decimalPoint;
    std::unique_ptr<QtFrmAbout> m_about;  // ownerless, so not a Qt child; created on first use

    QGroupBox* Frame1;
    QLabel* Label1;
    QPlainTextEdit* Text1;
    QLabel* Label2;
    QLineEdit* Text2;
    QLabel* Label3;
    QLineEdit* Text3;
    QLabel* Label4;
    QLineEdit* Text4;
    QGroupBox* Frame2;
    QLineEdit* Text5;
    QLabel* Label8;
    QLineEdit* Text6;
    QLabel* Label9;
    QLineEdit* Text7;
    QLabel* Label10;
    QLineEdit* Text8;
    QLabel* Label7;
    QLabel* Label6;
    QPushButton* Command1;

    QMenu* mnuOptions;
    QAction* mnuClearVariables;
    QAction* mnuClearAll;
    QAction* mnuUDF;
    QAction* mnuEvaluate;
    QAction* OptionSeaparator1;
    QAction* mnuSave;
    QAction* OptionsSeparator2;
    QAction* mnuExit;
    QMenu* mnuHelp;
    QAction* mnuHelpContents;
    QAction* HelpSeparator1;
    QAction* mnuAbout;
};
