#include "win32/win32_history_file.h"

#include "build_info.h"
#include "platform/platform_error.h"
#include "text/utf8.h"
#include "win32/win32_handles.h"
#include "win32/win32_text.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <string_view>
#include <utility>

namespace {

constexpr char ReadFailed[] = "The history could not be read: ";
constexpr char WriteFailed[] = "The history could not be saved: ";

// Every process may read, write and replace the file while another has it open; the lock
// decides who goes.
constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

[[noreturn]] void fail(std::string_view what, const std::u16string& path, DWORD error)
{
    std::string message(what);
    message += utf8::encode(path);
    message += ": ";
    message += systemMessage(error);
    throw PlatformError(message);
}

void requirePath(const std::u16string& path)
{
    if (path.empty()) {
        throw PlatformError(std::string(ReadFailed)
                            + "there is no application-data folder to keep it in.");
    }
}

// An empty owner when the file cannot be opened; GetLastError then says why.
UniqueKernelHandle openFile(const std::u16string& path, DWORD access, DWORD disposition)
{
    const HANDLE file = CreateFileW(toWide(path).c_str(), access, ShareAll, nullptr, disposition,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    return UniqueKernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

bool isOpen(const UniqueKernelHandle& handle) { return static_cast<bool>(handle); }

// Creates each missing folder above `path`.
void makeParentFolders(const std::u16string& path)
{
    const std::size_t last = path.find_last_of(u"\\/");
    for (std::size_t slash = path.find_first_of(u"\\/", 3); slash != std::u16string::npos
         && slash <= last; slash = path.find_first_of(u"\\/", slash + 1)) {
        // Existing folders are left alone: a share's or a drive's root refuses to be created.
        const std::wstring folder = toWide(path.substr(0, slash));
        if (GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES
            || CreateDirectoryW(folder.c_str(), nullptr)) {
            continue;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS)
            fail(WriteFailed, fromWide(folder), error);
    }
}

// The exclusive lock on the lock file, held for the owner's lifetime.
class FileLock
{
public:
    explicit FileLock(const std::u16string& path)
        : m_file(openFile(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS))
    {
        if (!isOpen(m_file))
            fail(WriteFailed, path, GetLastError());
        if (!LockFileEx(m_file.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &m_place))
            fail(WriteFailed, path, GetLastError());
    }
    ~FileLock() { UnlockFileEx(m_file.get(), 0, 1, 0, &m_place); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    UniqueKernelHandle m_file;
    OVERLAPPED m_place{};
};

std::string readAll(const std::u16string& path, std::size_t limit)
{
    const DWORD attributes = GetFileAttributesW(toWide(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        throw PlatformError(std::string(ReadFailed) + utf8::encode(path) + " is not a file.");
    const UniqueKernelHandle file = openFile(path, GENERIC_READ, OPEN_EXISTING);
    if (!isOpen(file)) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return {};
        fail(ReadFailed, path, error);
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        fail(ReadFailed, path, GetLastError());
    if (static_cast<std::uint64_t>(size.QuadPart) > limit) {
        throw PlatformError(std::string(ReadFailed) + utf8::encode(path) + " is larger than "
                            + std::to_string(limit / (1024 * 1024)) + " MiB.");
    }
    // One byte more than the size, to see a file that grew meanwhile; its tail waits for the
    // next read.
    std::string content(static_cast<std::size_t>(size.QuadPart) + 1, '\0');
    std::size_t done = 0;
    while (done < content.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size() - done,
                                                                     1 << 20));
        DWORD count = 0;
        if (!ReadFile(file.get(), content.data() + done, chunk, &count, nullptr))
            fail(ReadFailed, path, GetLastError());
        if (count == 0)
            break;
        done += count;
    }
    content.resize(std::min<std::size_t>(done, static_cast<std::size_t>(size.QuadPart)));
    return content;
}

void writeAll(HANDLE file, std::string_view bytes, const std::u16string& path,
              std::string_view failure = WriteFailed)
{
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 30));
        DWORD count = 0;
        if (!WriteFile(file, bytes.data(), chunk, &count, nullptr))
            fail(failure, path, GetLastError());
        bytes.remove_prefix(count);
    }
}

// Writes `bytes` to a new file, on the disk before this returns; false when `path` exists
// and `disposition` is CREATE_NEW.
bool writeNewFile(const std::u16string& path, DWORD disposition, std::string_view bytes,
                  std::string_view failure = WriteFailed)
{
    const UniqueKernelHandle file = openFile(path, GENERIC_WRITE, disposition);
    if (!isOpen(file)) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
            return false;
        fail(failure, path, error);
    }
    writeAll(file.get(), bytes, path, failure);
    if (!FlushFileBuffers(file.get()))
        fail(failure, path, GetLastError());
    return true;
}

// "<path>.damaged", else ".damaged.1", ".damaged.2", …: the first name no file has.
void keepDamaged(const std::u16string& path, std::string_view bytes)
{
    const std::u16string base = path + u".damaged";
    for (int n = 0;; ++n) {
        const std::string number = std::to_string(n);
        const std::u16string name
            = n == 0 ? base : base + u'.' + std::u16string(number.begin(), number.end());
        if (writeNewFile(name, CREATE_NEW, bytes))
            return;
    }
}

}  // namespace

Win32HistoryFile::Win32HistoryFile(std::u16string path) : m_path(std::move(path)) {}

std::string Win32HistoryFile::read(std::size_t limit)
{
    requirePath(m_path);
    return readAll(m_path, limit);
}

std::uint64_t Win32HistoryFile::append(std::string_view bytes)
{
    requirePath(m_path);
    makeParentFolders(m_path);
    const FileLock held(m_path + u".lock");
    // Opened under the lock: a rewrite before it may have put a new file in place.
    const UniqueKernelHandle file = openFile(m_path, FILE_APPEND_DATA, OPEN_ALWAYS);
    if (!isOpen(file))
        fail(WriteFailed, m_path, GetLastError());
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        throw PlatformError(std::string(WriteFailed) + utf8::encode(m_path) + " is not a file.");
    writeAll(file.get(), bytes, m_path);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        fail(WriteFailed, m_path, GetLastError());
    return static_cast<std::uint64_t>(size.QuadPart);
}

void Win32HistoryFile::rewrite(std::size_t limit,
                               const std::function<Rewrite(std::string_view)>& edit)
{
    requirePath(m_path);
    makeParentFolders(m_path);
    const FileLock held(m_path + u".lock");
    const Rewrite result = edit(readAll(m_path, limit));
    if (!result.damaged.empty())
        keepDamaged(m_path, result.damaged);
    replaceFileWhole(m_path, result.kept, WriteFailed);
}

void replaceFileWhole(const std::u16string& path, std::string_view bytes,
                      std::string_view failure)
{
    const std::u16string temporary = path + u".new";
    writeNewFile(temporary, CREATE_ALWAYS, bytes, failure);
    if (!MoveFileExW(toWide(temporary).c_str(), toWide(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileW(toWide(temporary).c_str());
        fail(failure, path, error);
    }
}

std::unique_ptr<HistoryFile> makeUserHistoryFile()
{
    PWSTR folder = nullptr;
    std::u16string path;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder)))
        path = fromWide(folder) + u"\\" + buildinfo::Title + u"\\history.jsonl";
    CoTaskMemFree(folder);  // owed even when the call fails
    return std::make_unique<Win32HistoryFile>(std::move(path));
}
