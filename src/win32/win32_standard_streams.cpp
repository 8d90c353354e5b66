#include "win32/win32_standard_streams.h"

#include "text/utf16.h"
#include "text/utf8.h"

#define WIN32_LEAN_AND_MEAN
#define NOUSER
#include <windows.h>

#include <algorithm>
#include <string_view>
#include <utility>

namespace {

bool isConsole(HANDLE handle)
{
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != FALSE;
}

// The length of `bytes` without a UTF-8 sequence that is cut off at the end.
std::size_t completeLength(std::string_view bytes)
{
    const std::size_t size = bytes.size();
    for (std::size_t back = 1; back <= std::min<std::size_t>(3, size); ++back) {
        const auto byte = static_cast<unsigned char>(bytes[size - back]);
        if ((byte & 0xC0) == 0x80)
            continue;
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? size - back : size;
    }
    return size;
}

bool writeFile(HANDLE handle, std::string_view bytes)
{
    while (!bytes.empty()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
        if (WriteFile(handle, bytes.data(), chunk, &written, nullptr) == FALSE || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

bool writeConsole(HANDLE handle, std::string_view bytes)
{
    const std::u16string units = utf8::decode(bytes);
    std::u16string_view text = units;
    while (!text.empty()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(text.size(), 1 << 14));
        if (WriteConsoleW(handle, text.data(), chunk, &written, nullptr) == FALSE || written == 0)
            return false;
        text.remove_prefix(written);
    }
    return true;
}

}  // namespace

Win32OutputBuffer::Win32OutputBuffer(void* handle)
    : m_handle(handle), m_isConsole(isConsole(handle))
{
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
}

Win32OutputBuffer::~Win32OutputBuffer() { writeBuffered(true); }

Win32OutputBuffer::int_type Win32OutputBuffer::overflow(int_type c)
{
    if (!writeBuffered(false))
        return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

int Win32OutputBuffer::sync() { return writeBuffered(false) ? 0 : -1; }

// A console is written whole characters only, so the end of a cut-off one waits in the buffer
// unless this is the last write.
bool Win32OutputBuffer::writeBuffered(bool isFinal)
{
    const std::string_view pending(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    const std::size_t length = m_isConsole && !isFinal ? completeLength(pending) : pending.size();
    const bool isWritten = m_isConsole ? writeConsole(m_handle, pending.substr(0, length))
                                       : writeFile(m_handle, pending.substr(0, length));
    const std::size_t kept = pending.size() - length;
    if (length > 0)
        std::copy(pbase() + length, pptr(), m_buffer.data());
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    pbump(static_cast<int>(kept));
    return isWritten;
}

Win32InputBuffer::Win32InputBuffer(void* handle) : m_handle(handle), m_isConsole(isConsole(handle))
{
}

Win32InputBuffer::int_type Win32InputBuffer::underflow()
{
    if (gptr() < egptr())
        return traits_type::to_int_type(*gptr());
    m_bytes.clear();
    while (m_bytes.empty() && !m_isAtEnd) {
        if (m_isConsole) {
            m_isAtEnd = !readConsole();
        } else {
            m_bytes.resize(1 << 16);
            DWORD read = 0;
            // A pipe whose writer has closed it reports an error: that is its end.
            const BOOL isRead = ReadFile(m_handle, m_bytes.data(),
                                         static_cast<DWORD>(m_bytes.size()), &read, nullptr);
            m_bytes.resize(isRead != FALSE ? read : 0);
            m_isAtEnd = isRead == FALSE || read == 0;
        }
    }
    if (m_bytes.empty())
        return traits_type::eof();
    setg(m_bytes.data(), m_bytes.data(), m_bytes.data() + m_bytes.size());
    return traits_type::to_int_type(*gptr());
}

// Returns false at the end of the input: an error, or Ctrl+Z, after which the text before it
// is still given.
bool Win32InputBuffer::readConsole()
{
    std::u16string units(4096, u'\0');
    DWORD read = 0;
    if (ReadConsoleW(m_handle, units.data(), static_cast<DWORD>(units.size()), &read, nullptr)
        == FALSE) {
        read = 0;
    }
    units.resize(read);
    const std::size_t ctrlZ = units.find(u'\x1A');
    const bool isEnd = read == 0 || ctrlZ != std::u16string::npos;
    units.resize(std::min(units.size(), ctrlZ));
    if (m_pendingHighSurrogate != 0)
        units.insert(units.begin(), std::exchange(m_pendingHighSurrogate, u'\0'));
    if (!isEnd && !units.empty() && utf16::isHighSurrogate(units.back())) {
        m_pendingHighSurrogate = units.back();
        units.pop_back();
    }
    m_bytes = utf8::encode(units);
    return !isEnd;
}

Win32StandardStreams::Win32StandardStreams()
    : m_inBuffer(GetStdHandle(STD_INPUT_HANDLE)),
      m_outBuffer(GetStdHandle(STD_OUTPUT_HANDLE)),
      m_errBuffer(GetStdHandle(STD_ERROR_HANDLE)),
      m_in(&m_inBuffer),
      m_out(&m_outBuffer),
      m_err(&m_errBuffer)
{
    m_err.setf(std::ios::unitbuf);
}
