#pragma once

#include <array>
#include <istream>
#include <ostream>
#include <streambuf>
#include <string>

// Writes UTF-8 bytes to a Windows handle (not owned) unchanged: no CR before LF, no code page.
// A console gets the same text through WriteConsoleW, whatever its code page and font, and
// its code page is left as the user set it.
class Win32OutputBuffer final : public std::streambuf
{
public:
    explicit Win32OutputBuffer(void* handle);  // a Windows HANDLE
    ~Win32OutputBuffer() override;
    Win32OutputBuffer(const Win32OutputBuffer&) = delete;
    Win32OutputBuffer& operator=(const Win32OutputBuffer&) = delete;

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    bool writeBuffered(bool isFinal);

    void* m_handle;
    bool m_isConsole;
    std::array<char, 4096> m_buffer{};
};

// Reads the bytes of a Windows handle (not owned) unchanged: CR and Ctrl+Z are data. From a
// console, ReadConsoleW gives the typed text in UTF-8, and Ctrl+Z ends the input.
class Win32InputBuffer final : public std::streambuf
{
public:
    explicit Win32InputBuffer(void* handle);  // a Windows HANDLE
    Win32InputBuffer(const Win32InputBuffer&) = delete;
    Win32InputBuffer& operator=(const Win32InputBuffer&) = delete;

protected:
    int_type underflow() override;

private:
    bool readConsole();

    void* m_handle;
    bool m_isConsole;
    bool m_isAtEnd = false;
    char16_t m_pendingHighSurrogate = 0;  // the first half of a pair split between reads
    std::string m_bytes;
};

// Standard input, output and error of the process as UTF-8 streams. Standard error is
// written at once.
class Win32StandardStreams
{
public:
    Win32StandardStreams();

    std::istream& in() { return m_in; }
    std::ostream& out() { return m_out; }
    std::ostream& err() { return m_err; }

private:
    Win32InputBuffer m_inBuffer;
    Win32OutputBuffer m_outBuffer;
    Win32OutputBuffer m_errBuffer;
    std::istream m_in;
    std::ostream m_out;
    std::ostream m_err;
};
