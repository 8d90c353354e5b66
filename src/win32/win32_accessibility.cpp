// The GUIDs of the annotation service are defined here, so the program does not import oleacc.
#include <initguid.h>

#include "win32/win32_accessibility.h"

#include <string>

namespace {

// UI Automation's LiveSetting property, which MSAA annotation accepts by its GUID.
DEFINE_GUID(LiveSettingProperty, 0xc12bcd8e, 0x2a8e, 0x4950, 0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d,
            0x58, 0xeb);
constexpr LONG LiveSettingPolite = 1;
constexpr DWORD EventLiveRegionChanged = 0x8019;  // EVENT_OBJECT_LIVEREGIONCHANGED

}  // namespace

Win32Accessibility::Win32Accessibility()
{
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, m_services.out())))
        m_services.reset();
}

void Win32Accessibility::setName(HWND control, std::wstring_view name)
{
    if (m_services) {
        const std::wstring text(name);
        m_services->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME,
                                   text.c_str());
    }
}

void Win32Accessibility::setDescription(HWND control, std::wstring_view description)
{
    if (m_services && description.empty()) {
        MSAAPROPID property = PROPID_ACC_DESCRIPTION;
        m_services->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, &property, 1);
    } else if (m_services) {
        const std::wstring text(description);
        m_services->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_DESCRIPTION,
                                   text.c_str());
    }
}

void Win32Accessibility::setChildNames(HWND control, const std::vector<std::wstring>& names,
                                       std::size_t before)
{
    if (!m_services)
        return;
    for (std::size_t i = 0; i < names.size(); ++i) {
        m_services->SetHwndPropStr(control, OBJID_CLIENT, static_cast<DWORD>(i + 1),
                                   PROPID_ACC_NAME, names[i].c_str());
    }
    MSAAPROPID property = PROPID_ACC_NAME;
    for (std::size_t i = names.size(); i < before; ++i)
        m_services->ClearHwndProps(control, OBJID_CLIENT, static_cast<DWORD>(i + 1), &property, 1);
}

void Win32Accessibility::makeLiveRegion(HWND control)
{
    if (m_services) {
        VARIANT polite{};
        polite.vt = VT_I4;
        polite.lVal = LiveSettingPolite;
        m_services->SetHwndProp(control, OBJID_CLIENT, CHILDID_SELF, LiveSettingProperty, polite);
    }
}

void Win32Accessibility::announce(HWND control)
{
    NotifyWinEvent(EventLiveRegionChanged, control, OBJID_CLIENT, CHILDID_SELF);
}

void Win32Accessibility::forget(HWND control)
{
    if (m_services) {
        const MSAAPROPID props[] = {PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION, LiveSettingProperty};
        m_services->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, props, 3);
    }
}
