#include "qt/qt_form_view.h"

#include "eval/limits.h"
#include "qt/qt_plain_text.h"
#include "qt/qt_wrap_anywhere_above.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <QTreeWidget>

#include <algorithm>
#include <cassert>
#include <limits>
#include <optional>
#include <utility>

namespace {

QString toQString(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QWidget* makeTextBox(const ControlRow& row, QWidget* parent)
{
    if (row.has(MultiLine)) {
        auto* const box = new QPlainTextEdit(parent);
        box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        // Past the formula length limit the text can only be an error, and word wrapping it
        // would keep the window busy.
        wrapAnywhereAbove(*box, static_cast<int>(MaxFormulaLength));
        // A formula reads left to right: telling the document so spares it a search of the
        // whole text for right-to-left characters at every change.
        QTextOption option = box->document()->defaultTextOption();
        option.setTextDirection(Qt::LeftToRight);
        box->document()->setDefaultTextOption(option);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setTabChangesFocus(true);  // Tab moves on; Enter still adds a line break
        return box;
    }
    auto* const box = new QLineEdit(parent);
    // No limit of ours: an over-long formula is reported by the evaluation, not cut off here.
    box->setMaxLength(std::numeric_limits<int>::max());
    box->setReadOnly(row.has(ReadOnly));  // still selectable, so a result can be copied
    return box;
}

QWidget* makeLabel(const ControlRow& row, QWidget* parent)
{
    auto* const label = new QLabel(toQString(row.caption), parent);
    if (row.has(WordWrap)) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    if (row.pointSize != 0) {
        QFont font = label->font();  // the default family, which every system has
        font.setPointSize(row.pointSize);
        label->setFont(font);
    }
    if (row.has(BlackText)) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
    }
    return label;
}

// `isDialog`: the form has a default button, which the focused button stands in for, as in
// any dialog; elsewhere Enter presses no button.
QWidget* makeControl(const ControlRow& row, QWidget* parent, bool isDialog)
{
    switch (row.kind) {
    case ControlKind::Frame:
        return new QGroupBox(toQString(row.caption), parent);
    case ControlKind::Label:
        return makeLabel(row, parent);
    case ControlKind::TextBox:
        return makeTextBox(row, parent);
    case ControlKind::CommandButton: {
        auto* const button = new QPushButton(toQString(row.caption), parent);
        button->setAutoDefault(isDialog);
        button->setDefault(row.has(DefaultButton));
        return button;
    }
    case ControlKind::PictureBox: {
        auto* const picture = new QLabel(parent);
        picture->setAlignment(Qt::AlignCenter);
        picture->setPixmap(QApplication::windowIcon().pixmap(32, 32));
        return picture;
    }
    case ControlKind::List: {
        auto* const list = new QTreeWidget(parent);
        list->setRootIsDecorated(false);
        list->setUniformRowHeights(true);  // a thousand rows lay out at once
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setAllColumnsShowFocus(true);
        list->header()->setSectionsMovable(false);
        return list;
    }
    }
    return nullptr;
}

// Enter, Del and Ctrl+C on a List are its own: Enter must not also press the dialog's default
// button, and in the search box Del and Ctrl+C keep their usual meaning.
class ListKeyFilter final : public QObject
{
public:
    ListKeyFilter(QObject* parent, FormEvents& events, ControlId id)
        : QObject(parent), m_events(events), m_id(id)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto* const key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            m_events.activate(m_id);
        else if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier)
            m_events.key(m_id, ListKey::Delete);
        else if (key->matches(QKeySequence::Copy))
            m_events.key(m_id, ListKey::Copy);
        else
            return QObject::eventFilter(watched, event);
        return true;
    }

private:
    FormEvents& m_events;
    ControlId m_id;
};

}  // namespace

QtFormView::QtFormView(const FormTable& table, Window window)
    : m_table(table), m_window(std::move(window))
{
}

void QtFormView::build(QWidget* client, const QtTwips& twips, FormEvents& events, QMenuBar* bar)
{
    const bool isDialog = buttonWith(m_table, DefaultButton).has_value();
    for (std::size_t i = 0; i < m_table.controls.size(); ++i) {
        const ControlRow& row = m_table.controls[i];
        const ControlId id{static_cast<std::uint8_t>(i)};
        const auto frame = frameOf(m_table, id);
        assert(!frame || static_cast<std::size_t>(*frame) < i);  // tables list frames first
        QWidget* const parent = frame ? control(*frame) : client;
        QWidget* const widget = makeControl(row, parent, isDialog);
        widget->setObjectName(QString::fromLatin1(row.name.data(),
                                                  static_cast<qsizetype>(row.name.size())));
        widget->setGeometry(twips.rect(row.place.left, row.place.top, row.place.width,
                                       row.place.height));
        if (!row.accessibleName.empty())
            widget->setAccessibleName(toQString(row.accessibleName));
        if (!row.accessibleDescription.empty())
            widget->setAccessibleDescription(toQString(row.accessibleDescription));
        m_controls.push_back(widget);

        if (auto* const line = qobject_cast<QLineEdit*>(widget)) {
            // textChanged, not textEdited: the program's own writes count as changes too
            QObject::connect(line, &QLineEdit::textChanged, line, [&events, id] {
                events.change(id);
            });
        } else if (auto* const plain = qobject_cast<QPlainTextEdit*>(widget)) {
            QObject::connect(plain, &QPlainTextEdit::textChanged, plain, [&events, id] {
                events.change(id);
            });
        } else if (auto* const button = qobject_cast<QPushButton*>(widget)) {
            QObject::connect(button, &QPushButton::clicked, button, [&events, id] {
                events.click(id);
            });
        } else if (auto* const list = qobject_cast<QTreeWidget*>(widget)) {
            QStringList headings;
            const std::vector<ColumnRow> columns = columnsOf(m_table, id);
            for (const ColumnRow& column : columns)
                headings << toQString(column.caption);
            list->setHeaderLabels(headings);
            for (std::size_t c = 0; c < columns.size(); ++c)
                list->setColumnWidth(static_cast<int>(c), twips.px(columns[c].width));
            QObject::connect(list, &QTreeWidget::itemDoubleClicked, list, [&events, id] {
                events.activate(id);
            });
            list->installEventFilter(new ListKeyFilter(list, events, id));
        }
    }

    m_tabOrder = focusOrder(m_table);
    for (std::size_t i = 1; i < m_tabOrder.size(); ++i)
        QWidget::setTabOrder(control(m_tabOrder[i - 1]), control(m_tabOrder[i]));

    if (bar != nullptr)
        buildMenu(bar, events);
}

void QtFormView::buildMenu(QMenuBar* bar, FormEvents& events)
{
    std::vector<QMenu*> menus(m_table.menu.size(), nullptr);
    for (std::size_t i = 0; i < m_table.menu.size(); ++i) {
        const MenuRow& row = m_table.menu[i];
        const QString name =
            QString::fromLatin1(row.name.data(), static_cast<qsizetype>(row.name.size()));
        QAction* action = nullptr;
        if (row.parent.empty()) {
            QMenu* const menu = bar->addMenu(toQString(row.caption));
            menu->setObjectName(name);
            menus[i] = menu;
            action = menu->menuAction();
        } else {
            const std::optional<MenuId> parentId = parentOf(m_table, MenuId(i));
            assert(parentId && static_cast<std::size_t>(*parentId) < i);
            QMenu* const parent = menus[static_cast<std::size_t>(*parentId)];
            action = row.isSeparator() ? parent->addSeparator()
                                        : parent->addAction(toQString(row.caption));
            action->setCheckable(row.isCheckable);
        }
        action->setObjectName(name);
        action->setVisible(row.isVisible);
        action->setEnabled(row.isEnabled);
        m_menu.push_back(action);

        const MenuId id{static_cast<std::uint8_t>(i)};
        QObject::connect(action, &QAction::triggered, action, [&events, action, id] {
            // Qt flips a checkable item before it reports the choice; the handler decides.
            if (action->isCheckable()) {
                const QSignalBlocker quiet(action);
                action->setChecked(!action->isChecked());
            }
            events.choose(id);
        });
    }
}

void QtFormView::paintLines(QPainter& painter, const QtTwips& twips) const
{
    for (const LineRow& line : m_table.lines) {
        const QColor colour(static_cast<QRgb>(line.rgb));
        const int top = twips.px(line.y1);
        painter.fillRect(QRect(QPoint(twips.px(line.x1), top),
                               QPoint(twips.px(line.x2), top + line.pixels - 1)),
                         colour);
    }
}

void QtFormView::focusFirst() const
{
    if (!m_tabOrder.empty())
        control(m_tabOrder.front())->setFocus();
}

QWidget* QtFormView::control(ControlId id) const
{
    return m_controls[static_cast<std::size_t>(id)];
}

QAction* QtFormView::item(MenuId id) const
{
    return m_menu[static_cast<std::size_t>(id)];
}

std::u16string QtFormView::text(ControlId id) const
{
    const QWidget* const widget = control(id);
    if (const auto* const line = qobject_cast<const QLineEdit*>(widget))
        return line->text().toStdU16String();
    if (const auto* const plain = qobject_cast<const QPlainTextEdit*>(widget))
        return exactPlainText(*plain).toStdU16String();
    if (const auto* const label = qobject_cast<const QLabel*>(widget))
        return label->text().toStdU16String();
    return {};
}

void QtFormView::setText(ControlId id, std::u16string_view text)
{
    QWidget* const widget = control(id);
    const QString value = toQString(text);
    if (auto* const line = qobject_cast<QLineEdit*>(widget)) {
        line->setText(value);  // emits textChanged only when the text differs
    } else if (auto* const plain = qobject_cast<QPlainTextEdit*>(widget)) {
        setPlainTextIfDifferent(*plain, value);
    } else if (auto* const label = qobject_cast<QLabel*>(widget)) {
        label->setText(value);
    }
}

void QtFormView::setCaption(std::u16string_view caption)
{
    m_window.widget->setWindowTitle(toQString(caption));
}

void QtFormView::select(ControlId id, std::size_t start, std::size_t length)
{
    QWidget* const widget = control(id);
    widget->activateWindow();
    widget->setFocus(Qt::OtherFocusReason);
    const auto clamp = [](std::size_t n, qsizetype most) {
        return static_cast<int>(std::min<std::size_t>(n, static_cast<std::size_t>(most)));
    };
    if (auto* const line = qobject_cast<QLineEdit*>(widget)) {
        const int from = clamp(start, line->text().size());
        line->setSelection(from, clamp(length, line->text().size() - from));
    } else if (auto* const plain = qobject_cast<QPlainTextEdit*>(widget)) {
        // The document counts a line break as one position, as the box's text does.
        const int last = plain->document()->characterCount() - 1;
        QTextCursor cursor(plain->document());
        cursor.setPosition(clamp(start, last));
        cursor.setPosition(clamp(start + length, last), QTextCursor::KeepAnchor);
        plain->setTextCursor(cursor);
    }
}

void QtFormView::setDescription(ControlId id, std::u16string_view description)
{
    control(id)->setAccessibleDescription(toQString(description));
}

void QtFormView::setRows(ControlId id, const std::vector<ListRow>& rows)
{
    auto* const list = qobject_cast<QTreeWidget*>(control(id));
    list->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const ListRow& row : rows) {
        QStringList cells;
        for (const std::u16string& cell : row.cells)
            cells << toQString(cell);
        auto* const item = new QTreeWidgetItem(cells);
        item->setData(0, Qt::AccessibleTextRole, toQString(row.name));
        items.push_back(item);
    }
    list->addTopLevelItems(items);
    if (!items.empty())
        list->setCurrentItem(items.front());
}

std::optional<std::size_t> QtFormView::selectedRow(ControlId id) const
{
    const auto* const list = qobject_cast<const QTreeWidget*>(control(id));
    QTreeWidgetItem* const current = list->currentItem();
    if (current == nullptr || !current->isSelected())
        return std::nullopt;
    return static_cast<std::size_t>(list->indexOfTopLevelItem(current));
}

void QtFormView::selectRow(ControlId id, std::size_t row)
{
    auto* const list = qobject_cast<QTreeWidget*>(control(id));
    if (row < static_cast<std::size_t>(list->topLevelItemCount()))
        list->setCurrentItem(list->topLevelItem(static_cast<int>(row)));
}

bool QtFormView::isChecked(MenuId id) const
{
    return item(id)->isChecked();
}

void QtFormView::setChecked(MenuId id, bool checked)
{
    item(id)->setChecked(checked);
}

void QtFormView::show(FormId form)
{
    m_window.show(form);
}

void QtFormView::close()
{
    m_window.close();
}
