#include "win32/win32_standard_streams.h"

#include "win32/win32_test_support.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>

namespace {

// Both ends of an anonymous pipe, each closed by its owner.
class Pipe
{
public:
    Pipe() { CreatePipe(&m_read, &m_write, nullptr, 1 << 20); }
    ~Pipe()
    {
        closeWrite();
        CloseHandle(m_read);
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    HANDLE read() const { return m_read; }
    HANDLE write() const { return m_write; }
    void closeWrite()
    {
        if (m_write != nullptr)
            CloseHandle(std::exchange(m_write, nullptr));
    }

    std::string readAll()
    {
        closeWrite();
        std::string bytes;
        char chunk[4096];
        DWORD read = 0;
        while (ReadFile(m_read, chunk, sizeof chunk, &read, nullptr) != FALSE && read != 0)
            bytes.append(chunk, read);
        return bytes;
    }

private:
    HANDLE m_read = nullptr;
    HANDLE m_write = nullptr;
};

// Line ends, Ctrl+Z and UTF-8 that a text-mode C runtime stream would change or stop at.
const std::string Bytes = "a\nb\r\n\x1A" "c\xCF\x80\xF0\x9F\x98\x80\xFF\n";

}  // namespace

TEST(Win32StandardStreams, WritesBytesToAPipeUnchanged)
{
    Pipe pipe;
    {
        Win32OutputBuffer buffer(pipe.write());
        std::ostream out(&buffer);
        out << Bytes << std::flush << std::string(10000, 'x');
    }
    EXPECT_EQ(pipe.readAll(), Bytes + std::string(10000, 'x'));
}

TEST(Win32StandardStreams, ReadsBytesFromAPipeUnchanged)
{
    Pipe pipe;
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(pipe.write(), Bytes.data(), static_cast<DWORD>(Bytes.size()), &written,
                          nullptr));
    pipe.closeWrite();
    Win32InputBuffer buffer(pipe.read());
    std::istream in(&buffer);
    const std::string read{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(read, Bytes);
}
