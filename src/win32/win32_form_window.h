#pragma once

#include "forms/form_events.h"
#include "forms/form_view.h"
#include "win32/win32_accessibility.h"
#include "win32/win32_command_id.h"
#include "win32/win32_handles.h"
#include "win32/win32_twips.h"

#include <exception>
#include <optional>
#include <string>
#include <vector>

// The resource name of the program's icon.
inline constexpr wchar_t ProgramIconName[] = L"ProgramIcon";

// What the windows of one program share.
class Win32FormHost
{
public:
    virtual ~Win32FormHost() = default;
    virtual void show(FormId form) = 0;  // FormView::show, for any of the windows
    virtual void destroyed(FormId form) = 0;
    // A handler threw: the program reports it and ends; until then no window forwards events.
    virtual void fail(std::exception_ptr error) = 0;
    // Windows ends the session or an installer closes the program: every window unloads.
    virtual void endSession() = 0;
    virtual bool hasFailed() const = 0;
};

// The order in which a form's controls are created, which is their z-order and so the Tab
// order: the controls that take the focus by tab index, each text box after the label that
// titles it (screen readers name a box after the label before it) and each frame before the
// first control in it; then the rest in the table's order.
std::vector<ControlId> creationOrder(const FormTable& table);

// A top-level window built from a form's table, which forwards its controls' events to the
// form's handlers. Frames are group boxes with the controls in them as siblings placed over
// them, so that their notifications reach this window.
class Win32FormWindow final : public FormView
{
public:
    Win32FormWindow(const FormTable& table, FormId id, Win32FormHost& host,
                    Win32Accessibility& accessibility, HINSTANCE instance);
    ~Win32FormWindow() override;
    Win32FormWindow(const Win32FormWindow&) = delete;
    Win32FormWindow& operator=(const Win32FormWindow&) = delete;

    void setEvents(FormEvents& events) { m_events = &events; }
    bool isLoaded() const { return static_cast<bool>(m_window); }
    HWND window() const { return m_window.get(); }

    // Creates the window and its controls, runs Form_Load, and shows the window with the focus
    // on its first tab stop: centred over `over` when given, else on its screen.
    void load(HWND over);
    void bringToFront();
    // As the close box does: Form_Unload, then the window goes. A handler's error goes to the
    // host.
    void unload();
    // Destroys the window without Form_Unload and without telling the host: the program ends.
    void discard();

    std::u16string text(ControlId control) const override;
    void setText(ControlId control, std::u16string_view text) override;
    void setCaption(std::u16string_view caption) override;
    void select(ControlId control, std::size_t start, std::size_t length) override;
    void setDescription(ControlId control, std::u16string_view description) override;
    void setRows(ControlId list, const std::vector<ListRow>& rows) override;
    std::optional<std::size_t> selectedRow(ControlId list) const override;
    void selectRow(ControlId list, std::size_t row) override;
    bool isChecked(MenuId item) const override;
    void setChecked(MenuId item, bool checked) override;
    void show(FormId form) override;
    void close() override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(int id, int code);
    void onNotify(const NMHDR& header);
    void addColumns(HWND list, ControlId id);
    void onButtonFocus(ControlId button, bool hasFocus);
    void onPaint();
    LRESULT onStaticColor(HDC dc, HWND control);
    void onActivate(bool isActive);

    template <class Call>
    void deliver(Call&& call);

    void createControls();
    // Fonts, places, icons for `dpi`.
    void applyDpi(UINT dpi);
    void placeWindow(HWND over);
    SIZE windowSize() const;
    HWND control(ControlId id) const { return m_controls[static_cast<std::size_t>(id)]; }
    std::optional<ControlId> controlOf(HWND child) const;

    const FormTable& m_table;
    FormId m_id;
    Win32FormHost& m_host;
    Win32Accessibility& m_accessibility;
    HINSTANCE m_instance;
    FormEvents* m_events = nullptr;
    bool m_isDiscarding = false;

    UniqueWindow m_window;
    std::vector<HWND> m_controls;  // by control; children of m_window, destroyed with it
    std::vector<std::size_t> m_namedRows;  // by control: the list rows given names
    HWND m_focus = nullptr;        // the control that gets the focus when the window is active
    std::optional<ControlId> m_programWrite;  // its text is being set by setText
    Win32Twips m_twips{96, 13};
    UniqueFont m_font;
    std::vector<UniqueFont> m_controlFonts;  // by control; empty where the form's font serves
    UniqueIcon m_bigIcon;
    UniqueIcon m_smallIcon;
    UniqueIcon m_pictureIcon;
};
