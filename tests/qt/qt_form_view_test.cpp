#include "qt/qt_form_view.h"

#include "forms/form1_table.h"
#include "forms/frm_about_table.h"
#include "forms/frm_history_table.h"
#include "qt/qt_frm_about.h"
#include "qt/qt_frm_history.h"
#include "qt/qt_twips.h"

#include "support/qt_form1_fixture.h"

#include <QAccessible>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

QString toQString(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QString nameOf(std::string_view name)
{
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

const char* widgetClass(const ControlRow& row)
{
    switch (row.kind) {
    case ControlKind::Frame:
        return "QGroupBox";
    case ControlKind::TextBox:
        return row.has(MultiLine) ? "QPlainTextEdit" : "QLineEdit";
    case ControlKind::CommandButton:
        return "QPushButton";
    case ControlKind::List:
        return "QTreeWidget";
    case ControlKind::Label:
    case ControlKind::PictureBox:
        break;
    }
    return "QLabel";
}

QString captionOf(QWidget* widget)
{
    if (auto* const frame = qobject_cast<QGroupBox*>(widget))
        return frame->title();
    if (auto* const button = qobject_cast<QPushButton*>(widget))
        return button->text();
    if (auto* const line = qobject_cast<QLineEdit*>(widget))
        return line->text();
    if (auto* const plain = qobject_cast<QPlainTextEdit*>(widget))
        return plain->toPlainText();
    if (qobject_cast<QTreeWidget*>(widget) != nullptr)
        return QString();  // a List has headings instead
    return qobject_cast<QLabel*>(widget)->text();
}

ControlId idOf(const FormTable& table, std::string_view name)
{
    for (std::size_t i = 0; i < table.controls.size(); ++i) {
        if (table.controls[i].name == name)
            return ControlId(i);
    }
    return ControlId{};
}

// Every control of `table` in `window` as the table gives it, before Form_Load writes any.
void expectBuiltFromTable(QWidget* window, const FormTable& table, const QString& client)
{
    const QtTwips twips(QApplication::font(window));
    for (const ControlRow& control : table.controls) {
        SCOPED_TRACE(std::string(control.name));
        QWidget* const w = window->findChild<QWidget*>(nameOf(control.name));
        ASSERT_NE(w, nullptr);
        EXPECT_STREQ(w->metaObject()->className(), widgetClass(control));
        EXPECT_EQ(w->parentWidget()->objectName(),
                  control.container.empty() ? client : nameOf(control.container));
        EXPECT_EQ(w->geometry(), twips.rect(control.place.left, control.place.top,
                                            control.place.width, control.place.height));
        if (control.kind != ControlKind::PictureBox) {
            EXPECT_EQ(captionOf(w), toQString(control.caption));
        }
        QAccessibleInterface* const face = QAccessible::queryAccessibleInterface(w);
        ASSERT_NE(face, nullptr);
        if (!control.accessibleName.empty()) {
            EXPECT_EQ(face->text(QAccessible::Name), toQString(control.accessibleName));
        }
        EXPECT_EQ(face->text(QAccessible::Description), toQString(control.accessibleDescription));
        if (auto* const line = qobject_cast<QLineEdit*>(w)) {
            EXPECT_EQ(line->isReadOnly(), control.has(ReadOnly));
            EXPECT_EQ(line->maxLength(), std::numeric_limits<int>::max());
        }
        if (auto* const plain = qobject_cast<QPlainTextEdit*>(w)) {
            EXPECT_EQ(plain->lineWrapMode(), QPlainTextEdit::WidgetWidth);
            EXPECT_EQ(plain->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
            EXPECT_EQ(plain->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        }
        if (auto* const label = qobject_cast<QLabel*>(w)) {
            EXPECT_EQ(label->wordWrap(), control.has(WordWrap));
            EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
            if (control.pointSize != 0) {
                EXPECT_EQ(label->font().pointSize(), control.pointSize);
                EXPECT_EQ(label->font().family(), QApplication::font(window).family());
            }
        }
        if (auto* const button = qobject_cast<QPushButton*>(w)) {
            EXPECT_EQ(button->isDefault(), control.has(DefaultButton));
        }
        if (auto* const list = qobject_cast<QTreeWidget*>(w)) {
            const std::vector<ColumnRow> columns =
                columnsOf(table, idOf(table, control.name));
            ASSERT_EQ(static_cast<std::size_t>(list->columnCount()), columns.size());
            for (std::size_t c = 0; c < columns.size(); ++c) {
                EXPECT_EQ(list->headerItem()->text(static_cast<int>(c)),
                          toQString(columns[c].caption));
                EXPECT_EQ(list->columnWidth(static_cast<int>(c)), twips.px(columns[c].width));
            }
        }
    }
}


}  // namespace

TEST(QtFormView, BuildsTheMainWindowFromItsTable)
{
    QtForm1Fixture f;
    QtForm1& form = f.make();
    expectBuiltFromTable(&form, form1::Table, QStringLiteral("client"));
    // a window, not a dialog: Enter presses no button
    EXPECT_FALSE(form.findChild<QPushButton*>(QStringLiteral("Command1"))->autoDefault());

    const QList<QAction*> bar = form.menuBar()->actions();
    std::size_t barIndex = 0;
    for (const MenuRow& item : form1::Table.menu) {
        SCOPED_TRACE(std::string(item.name));
        QAction* const action = form.findChild<QAction*>(nameOf(item.name));
        ASSERT_NE(action, nullptr);
        if (item.parent.empty()) {
            ASSERT_LT(barIndex, static_cast<std::size_t>(bar.size()));
            EXPECT_EQ(bar[static_cast<qsizetype>(barIndex++)], action);
            EXPECT_EQ(action->menu()->objectName(), nameOf(item.name));
        } else {
            const QMenu* const menu = form.findChild<QMenu*>(nameOf(item.parent));
            ASSERT_NE(menu, nullptr);
            EXPECT_TRUE(menu->actions().contains(action));
        }
        EXPECT_EQ(action->isSeparator(), item.isSeparator());
        if (!item.isSeparator()) {
            EXPECT_EQ(action->text(), toQString(item.caption));
        }
        EXPECT_EQ(action->isVisible(), item.isVisible);
        EXPECT_EQ(action->isEnabled(), item.isEnabled);
        EXPECT_EQ(action->isCheckable(), item.isCheckable);
        EXPECT_TRUE(action->shortcut().isEmpty());
    }
    EXPECT_EQ(barIndex, static_cast<std::size_t>(bar.size()));
}

TEST(QtFormView, BuildsTheAboutDialogFromItsTable)
{
    FakeRegistry registry;
    FakeFileProbe files;
    FakeProcessLauncher launcher;
    FakeMessageBox messageBox;
    QtFrmAbout dialog({u"Sumwright", 1, 0, 6}, {registry, files, launcher, messageBox});
    // the texts Form_Load writes are the only ones not in the table
    const QString title = dialog.findChild<QLabel*>(QStringLiteral("lblTitle"))->text();
    EXPECT_EQ(title, "Application Title");
    expectBuiltFromTable(&dialog, frmabout::Table, QStringLiteral("frmAbout"));
}

TEST(QtFormView, BuildsTheHistoryWindowFromItsTable)
{
    QtForm1Fixture f;
    QtFrmHistory window(f.history, f.messageBox, englishCatalog(), [](FormId) {},
                        [](const Formulas&) {});
    expectBuiltFromTable(&window, frmhistory::Table, QStringLiteral("frmHistory"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Sumwright History"));
}
