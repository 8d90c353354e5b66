#pragma once

#include "win32/win32_windows.h"

#include <objbase.h>

#include <utility>

// Owns one handle of the kind `Close` releases; an empty owner holds `Empty`.
template <class Handle, auto Close, Handle Empty = Handle{}>
class UniqueHandle
{
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : m_handle(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const { return m_handle; }
    explicit operator bool() const { return m_handle != Empty; }
    Handle release() { return std::exchange(m_handle, Empty); }
    void reset(Handle handle = Empty)
    {
        if (m_handle != Empty)
            Close(m_handle);
        m_handle = handle;
    }
    // For calls that return the handle through a pointer; releases the one held.
    Handle* out()
    {
        reset();
        return &m_handle;
    }

private:
    Handle m_handle = Empty;
};

using UniqueHkey = UniqueHandle<HKEY, RegCloseKey>;
using UniqueKernelHandle = UniqueHandle<HANDLE, CloseHandle>;
using UniqueFont = UniqueHandle<HFONT, DeleteObject>;
using UniqueBrush = UniqueHandle<HBRUSH, DeleteObject>;
using UniqueIcon = UniqueHandle<HICON, DestroyIcon>;
using UniqueMenu = UniqueHandle<HMENU, DestroyMenu>;  // until a window takes it over
using UniqueWindow = UniqueHandle<HWND, DestroyWindow>;

// A window's device context, released on every path.
class WindowDc
{
public:
    explicit WindowDc(HWND window) : m_window(window), m_dc(GetDC(window)) {}
    ~WindowDc() { ReleaseDC(m_window, m_dc); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// A window's painting, ended on every path.
class PaintScope
{
public:
    explicit PaintScope(HWND window) : m_window(window) { BeginPaint(window, &m_paint); }
    ~PaintScope() { EndPaint(m_window, &m_paint); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return m_paint.hdc; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
};

// Holds one reference to a COM object.
template <class Interface>
class ComPtr
{
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(ComPtr&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        reset();
        m_object = std::exchange(other.m_object, nullptr);
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* get() const { return m_object; }
    Interface* operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    void reset()
    {
        if (m_object != nullptr)
            std::exchange(m_object, nullptr)->Release();
    }
    // For CoCreateInstance and QueryInterface; releases the object held.
    void** out()
    {
        reset();
        return reinterpret_cast<void**>(&m_object);
    }

private:
    Interface* m_object = nullptr;
};

// COM on this thread, single-threaded as window threads are, for the owner's lifetime.
class ComApartment
{
public:
    ComApartment()
        : m_isInitialized(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
    {
    }
    ~ComApartment()
    {
        if (m_isInitialized)
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool m_isInitialized;
};
