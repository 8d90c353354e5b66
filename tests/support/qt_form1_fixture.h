#pragma once

#include "qt/qt_form1.h"
#include "reckoner/reckoner_evaluator.h"

#include "fakes/fake_clock.h"
#include "fakes/fake_file_probe.h"
#include "fakes/fake_help_viewer.h"
#include "fakes/fake_history_store.h"
#include "fakes/fake_message_box.h"
#include "fakes/fake_process_launcher.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_settings_store.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// The Qt Form1 built on fakes. The window is created by make(), after a test has filled the
// store.
struct QtForm1Fixture
{
    explicit QtForm1Fixture(SettingsStore* realStore = nullptr) : store(realStore) {}

    QtForm1& make()
    {
        SettingsStore& settings = store != nullptr ? *store : fakeStore;
        form = std::make_unique<QtForm1>(
            Form1Platform{settings, help, evaluator, u'.', &history, *catalog},
            AppInfo{u"Sumwright", 1, 0, 6},
            SysInfoPlatform{registry, files, launcher, messageBox, *catalog});
        return *form;
    }
    void showAndWait()
    {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    QWidget* widget(const char* name) const
    {
        QWidget* const found = form->findChild<QWidget*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QAction* action(const char* name) const
    {
        QAction* const found = form->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void trigger(const char* name) const { action(name)->trigger(); }

    QString text(const char* name) const
    {
        QWidget* const w = widget(name);
        if (auto* const edit = qobject_cast<QLineEdit*>(w))
            return edit->text();
        if (auto* const plain = qobject_cast<QPlainTextEdit*>(w))
            return plain->toPlainText();
        return qobject_cast<QLabel*>(w)->text();
    }
    QString status() const { return text("Label6"); }
    void setText(const char* name, const QString& value) const
    {
        QWidget* const w = widget(name);
        if (auto* const edit = qobject_cast<QLineEdit*>(w))
            edit->setText(value);
        else
            qobject_cast<QPlainTextEdit*>(w)->setPlainText(value);
    }
    void type(const char* name, const QString& keys) const
    {
        QTest::keyClicks(widget(name), keys);
    }
    std::vector<QString> texts(const std::vector<const char*>& names) const
    {
        std::vector<QString> result;
        for (const char* name : names)
            result.push_back(text(name));
        return result;
    }
    std::vector<QString> everything() const
    {
        return texts({"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8",
                      "Label6"});
    }
    void enterFormulas(const QString& main, const QString& x, const QString& y,
                       const QString& z) const
    {
        setText("Text1", main);
        setText("Text2", x);
        setText("Text3", y);
        setText("Text4", z);
    }
    // The one visible window of the program named `name`; null when none is.
    static QWidget* shownWindow(const QString& name)
    {
        QWidget* found = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == name && window->isVisible()) {
                EXPECT_EQ(found, nullptr) << "more than one " << name.toStdString();
                found = window;
            }
        }
        return found;
    }
    QWidget* about() const { return shownWindow(QStringLiteral("frmAbout")); }
    QWidget* historyWindow() const { return shownWindow(QStringLiteral("frmHistory")); }

    SettingsStore* store;
    const Catalog* catalog = &englishCatalog();  // the language of the windows
    FakeSettingsStore fakeStore;
    ReckonerEvaluator evaluator;
    FakeHelpViewer help;
    FakeRegistry registry;
    FakeFileProbe files;
    FakeProcessLauncher launcher;
    FakeMessageBox messageBox;
    FakeHistoryStore historyStore;
    FakeClock clock;
    SessionHistory history{historyStore, clock, messageBox};
    std::unique_ptr<QtForm1> form;
};
