#include "win32/win32_program.h"

#include "forms/form1_table.h"
#include "forms/frm_about_table.h"

#include "fakes/fake_message_box.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Records what reaches a form's handlers, by design name.
class Recorder final : public FormEvents
{
public:
    explicit Recorder(const FormTable& table) : m_table(table) {}

    std::vector<std::string> log;
    std::function<void()> onLoad;
    bool throwsOnClick = false;

    void click(ControlId control) override
    {
        log.push_back("click " + std::string(m_table.control(control).name));
        if (throwsOnClick)
            throw std::runtime_error("broken");
    }
    void Form_Load() override
    {
        if (onLoad)
            onLoad();
    }
    void Form_Unload() override { log.emplace_back("unload"); }

private:
    const FormTable& m_table;
};

// Both windows of the program on recorders; neither is loaded until a test says so.
struct ProgramFixture
{
    Win32Accessibility accessibility;
    Win32Program program{GetModuleHandleW(nullptr), accessibility};
    Recorder form1{form1::Table};
    Recorder about{frmabout::Table};

    ProgramFixture()
    {
        program.window(FormId::Form1).setEvents(form1);
        program.window(FormId::frmAbout).setEvents(about);
    }
    ~ProgramFixture()
    {
        program.window(FormId::frmAbout).discard();
        program.window(FormId::Form1).discard();
        pump();
    }
    // Runs what the messages so far set off; true when the program asked to end.
    bool pump()
    {
        bool hasQuit = false;
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                hasQuit = true;
            else
                program.route(message);
        }
        return hasQuit;
    }
};

HWND controlWindow(Win32FormWindow& window, const FormTable& table, std::string_view name)
{
    for (std::size_t i = 0; i < table.controls.size(); ++i) {
        if (table.controls[i].name == name)
            return GetDlgItem(window.window(), commandId(ControlId(i)));
    }
    return nullptr;
}

std::string focusedName(const FormTable& table)
{
    const int index = GetDlgCtrlID(GetFocus()) - ControlIdBase;
    if (index < 0 || static_cast<std::size_t>(index) >= table.controls.size())
        return "(none)";
    return std::string(table.controls[static_cast<std::size_t>(index)].name);
}

// Shift held down for this thread while it lives, as the dialog manager reads it.
class ShiftDown
{
public:
    explicit ShiftDown(bool isDown)
    {
        GetKeyboardState(m_saved);
        BYTE state[256];
        GetKeyboardState(state);
        state[VK_SHIFT] = isDown ? 0x80 : 0;
        SetKeyboardState(state);
    }
    ~ShiftDown() { SetKeyboardState(m_saved); }
    ShiftDown(const ShiftDown&) = delete;
    ShiftDown& operator=(const ShiftDown&) = delete;

private:
    BYTE m_saved[256] = {};
};

enum class Key { Esc, Enter, Tab, ShiftTab };

const char* keyName(Key key)
{
    switch (key) {
    case Key::Esc:
        return "Esc";
    case Key::Enter:
        return "Enter";
    case Key::Tab:
        return "Tab";
    case Key::ShiftTab:
        return "Shift+Tab";
    }
    return "";
}

// Presses `key` in the focused control as the message loop receives it from the keyboard.
void press(ProgramFixture& f, Key key)
{
    const ShiftDown shift(key == Key::ShiftTab);
    const WPARAM vk = key == Key::Esc ? VK_ESCAPE : key == Key::Enter ? VK_RETURN : VK_TAB;
    MSG message{GetFocus(), WM_KEYDOWN, vk, 1, 0, {}};
    f.program.route(message);
    f.pump();
    message.message = WM_KEYUP;
    message.lParam = static_cast<LPARAM>(0xC0000001);
    f.program.route(message);
    f.pump();
}

struct KeyOutcome
{
    std::string focus;                 // the control with the focus afterwards
    std::vector<std::string> handled;  // what reached the handlers
    std::u16string text1;              // Text1's text afterwards, for the main window
};

// Every control that takes the focus, in Tab order, with what Enter and Esc do there: the
// main window presses nothing but a focused Evaluate button, and Enter in the Formula box
// breaks the line; the About dialog presses its default and cancel button.
struct KeyForm
{
    FormId id;
    const FormTable* table;
    std::vector<std::string> tabOrder;
    std::vector<std::pair<std::string, std::vector<std::string>>> enterPresses;
    std::vector<std::string> escPresses;  // the same wherever the focus is
};

TEST(Win32Program, DialogKeysMoveTheFocusAndPressOnlyWhatTheyShould)
{
    const KeyForm forms[] = {
        {FormId::Form1, &form1::Table,
         {"Text1", "Text2", "Text3", "Text4", "Command1", "Text5", "Text6", "Text7", "Text8"},
         {{"Command1", {"click Command1"}}},
         {}},
        {FormId::frmAbout, &frmabout::Table,
         {"cmdOK", "cmdSysInfo"},
         {{"cmdOK", {"click cmdOK"}}, {"cmdSysInfo", {"click cmdSysInfo"}}},
         {"click cmdOK"}},
    };
    for (const KeyForm& form : forms) {
        ProgramFixture f;
        f.program.window(FormId::Form1).load(nullptr);
        if (form.id == FormId::frmAbout)
            f.program.show(FormId::frmAbout);
        Win32FormWindow& window = f.program.window(form.id);
        Recorder& events = form.id == FormId::Form1 ? f.form1 : f.about;
        const std::size_t count = form.tabOrder.size();
        for (std::size_t i = 0; i < count; ++i) {
            const std::string& name = form.tabOrder[i];
            for (const Key key : {Key::Esc, Key::Enter, Key::Tab, Key::ShiftTab}) {
                SCOPED_TRACE(std::string(form.table->name) + " " + name + " " + keyName(key));
                KeyOutcome expected{name, {}, u"1+2"};
                switch (key) {
                case Key::Esc:
                    expected.handled = form.escPresses;
                    break;
                case Key::Enter:
                    for (const auto& [button, handled] : form.enterPresses) {
                        if (button == name)
                            expected.handled = handled;
                    }
                    if (name == "Text1")
                        expected.text1 = u"1+2\r\n";
                    break;
                case Key::Tab:
                    expected.focus = form.tabOrder[(i + 1) % count];
                    break;
                case Key::ShiftTab:
                    expected.focus = form.tabOrder[(i + count - 1) % count];
                    break;
                }
                if (form.id == FormId::Form1) {
                    window.setText(form1::Text1, u"1+2");
                    window.select(form1::Text1, 3, 0);  // the caret at the end
                }
                SetActiveWindow(window.window());
                SetFocus(nullptr);  // so that a button hears that it gets the focus
                SetFocus(controlWindow(window, *form.table, name));
                ASSERT_EQ(focusedName(*form.table), name);
                f.pump();
                events.log.clear();

                press(f, key);

                EXPECT_EQ(events.log, expected.handled);
                EXPECT_TRUE(f.program.window(FormId::Form1).isLoaded());
                EXPECT_EQ(focusedName(*form.table), expected.focus);
                if (form.id == FormId::Form1) {
                    EXPECT_EQ(window.text(form1::Text1), expected.text1);
                }
            }
        }
    }
}

TEST(Win32Program, TheEndOfTheSessionUnloadsEveryWindowOnce)
{
    struct Row
    {
        const char* name;
        BOOL isEnding;
        LPARAM reason;
        bool isAboutOpen;
        std::vector<std::string> unloads;
    };
    const Row rows[] = {
        {"shutdown", TRUE, 0, false, {"unload"}},
        {"sign-out, About open", TRUE, static_cast<LPARAM>(ENDSESSION_LOGOFF), true, {"unload"}},
        {"an installer closes the program", TRUE, static_cast<LPARAM>(ENDSESSION_CLOSEAPP), false,
         {"unload"}},
        {"an installer, About open", TRUE, static_cast<LPARAM>(ENDSESSION_CLOSEAPP), true,
         {"unload"}},
        {"the end was called off", FALSE, 0, true, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ProgramFixture f;
        Win32FormWindow& form1 = f.program.window(FormId::Form1);
        Win32FormWindow& about = f.program.window(FormId::frmAbout);
        form1.load(nullptr);
        if (row.isAboutOpen)
            f.program.show(FormId::frmAbout);
        const HWND windows[] = {about.window(), form1.window()};  // the dialog may come first

        for (const HWND window : windows) {
            if (window != nullptr) {
                EXPECT_EQ(SendMessageW(window, WM_QUERYENDSESSION, 0, row.reason), TRUE);
            }
        }
        for (const HWND window : windows) {
            if (window != nullptr && IsWindow(window))
                SendMessageW(window, WM_ENDSESSION, row.isEnding, row.reason);
        }

        EXPECT_EQ(f.form1.log, row.unloads);
        EXPECT_EQ(form1.isLoaded(), !row.isEnding);
        EXPECT_EQ(about.isLoaded(), row.isAboutOpen && !row.isEnding);
        EXPECT_EQ(f.pump(), static_cast<bool>(row.isEnding));  // the program ends
    }
}

TEST(Win32Program, AHandlerThatThrowsEndsTheProgramWithOneMessage)
{
    ProgramFixture f;
    f.form1.throwsOnClick = true;
    f.form1.onLoad = [&f] {
        // Two clicks wait in the queue: the first fails, the second must not run.
        const HWND window = f.program.window(FormId::Form1).window();
        for (int i = 0; i < 2; ++i)
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(commandId(form1::Command1), BN_CLICKED),
                         0);
    };
    FakeMessageBox messageBox;
    const int status = runReportingFailure(messageBox, [&f] { return f.program.run(); });
    EXPECT_EQ(status, EXIT_FAILURE);
    EXPECT_EQ(f.form1.log, std::vector<std::string>{"click Command1"});
    EXPECT_EQ(messageBox.shown,
              std::vector<std::u16string>{u"Sumwright must close because of an error:\n\nbroken"});
    EXPECT_FALSE(f.program.window(FormId::Form1).isLoaded());
}

// The control's place in its window's client area, and the height of its font.
struct Looks
{
    RECT place;
    LONG fontHeight;
};

std::vector<Looks> looksOf(const Win32FormWindow& window, const FormTable& table)
{
    std::vector<Looks> looks;
    for (std::size_t i = 0; i < table.controls.size(); ++i) {
        const HWND control = GetDlgItem(window.window(), commandId(ControlId(i)));
        RECT rect{};
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, window.window(), reinterpret_cast<POINT*>(&rect), 2);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        looks.push_back({rect, font.lfHeight});
    }
    return looks;
}

SIZE sizeOf(const RECT& rect)
{
    return {rect.right - rect.left, rect.bottom - rect.top};
}

TEST(Win32FormWindow, FollowsTheDpiOfItsScreen)
{
    const std::pair<FormId, const FormTable*> forms[] = {{FormId::Form1, &form1::Table},
                                                        {FormId::frmAbout, &frmabout::Table}};
    for (const auto& [id, table] : forms) {
        SCOPED_TRACE(std::string(table->name));
        ProgramFixture f;
        f.program.window(FormId::Form1).load(nullptr);
        if (id == FormId::frmAbout)
            f.program.show(FormId::frmAbout);
        Win32FormWindow& window = f.program.window(id);
        const HWND hwnd = window.window();
        RECT frame{};
        GetWindowRect(hwnd, &frame);
        // From 96 dpi, whatever the screen's, to 144 and back.
        SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&frame));
        if (table->isSizable)  // the user's size, which a change of screen scales
            SetWindowPos(hwnd, nullptr, 50, 40, 700, 520, SWP_NOZORDER | SWP_NOACTIVATE);
        GetWindowRect(hwnd, &frame);
        RECT client{};
        GetClientRect(hwnd, &client);
        const std::vector<Looks> at96 = looksOf(window, *table);

        // Windows suggests the old size scaled; a fixed dialog gets one that is not its own.
        const int stretch = table->isSizable ? 3 : 4;
        const RECT suggested{frame.left, frame.top, frame.left + sizeOf(frame).cx * stretch / 2,
                             frame.top + sizeOf(frame).cy * stretch / 2};
        SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144),
                     reinterpret_cast<LPARAM>(&suggested));
        const std::vector<Looks> at144 = looksOf(window, *table);
        RECT frame144{};
        GetWindowRect(hwnd, &frame144);
        RECT client144{};
        GetClientRect(hwnd, &client144);
        // One scale for the whole layout: the dpi's, and more for a font that is taller still.
        LONG extent96 = 0;
        LONG extent144 = 0;
        for (std::size_t i = 0; i < at96.size(); ++i) {
            extent96 = std::max(extent96, at96[i].place.right);
            extent144 = std::max(extent144, at144[i].place.right);
        }
        const double scale = static_cast<double>(extent144) / extent96;
        EXPECT_GE(scale, 1.49);
        EXPECT_LT(scale, 1.7);
        const auto scaled = [scale](LONG px) { return std::lround(px * scale); };
        if (table->isSizable) {
            EXPECT_EQ(sizeOf(frame144).cx, sizeOf(suggested).cx);
            EXPECT_EQ(sizeOf(frame144).cy, sizeOf(suggested).cy);
        } else {  // a fixed dialog is its layout's size, whatever Windows suggests
            EXPECT_NEAR(client144.right, scaled(client.right), 2);
            EXPECT_LT(sizeOf(frame144).cy, sizeOf(suggested).cy);
        }
        for (std::size_t i = 0; i < at96.size(); ++i) {
            SCOPED_TRACE(std::string(table->controls[i].name));
            EXPECT_NEAR(at144[i].place.left, scaled(at96[i].place.left), 2);
            EXPECT_NEAR(at144[i].place.top, scaled(at96[i].place.top), 2);
            EXPECT_NEAR(at144[i].place.right, scaled(at96[i].place.right), 2);
            EXPECT_NEAR(at144[i].place.bottom, scaled(at96[i].place.bottom), 2);
            EXPECT_NEAR(at144[i].fontHeight, at96[i].fontHeight * 3 / 2, 1);
        }

        GetWindowRect(hwnd, &frame144);
        SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&frame));
        const std::vector<Looks> back = looksOf(window, *table);
        for (std::size_t i = 0; i < at96.size(); ++i) {
            SCOPED_TRACE(std::string(table->controls[i].name));
            EXPECT_TRUE(EqualRect(&back[i].place, &at96[i].place));
            EXPECT_EQ(back[i].fontHeight, at96[i].fontHeight);
        }
        RECT frameBack{};
        GetWindowRect(hwnd, &frameBack);
        EXPECT_EQ(sizeOf(frameBack).cx, sizeOf(frame).cx);
        EXPECT_EQ(sizeOf(frameBack).cy, sizeOf(frame).cy);
    }
}

}  // namespace
