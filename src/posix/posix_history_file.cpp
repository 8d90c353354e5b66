#include "posix/posix_history_file.h"

#include "build_info.h"
#include "platform/platform_error.h"
#include "text/utf8.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <string_view>
#include <utility>

namespace {

constexpr char ReadFailed[] = "The history could not be read: ";
constexpr char WriteFailed[] = "The history could not be saved: ";

// Owns one file descriptor.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(Descriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }

private:
    int m_fd;
};

[[noreturn]] void fail(std::string_view what, const std::string& path, int error)
{
    std::string message(what);
    message += path;
    message += ": ";
    message += std::strerror(error);
    throw PlatformError(message);
}

void requirePath(const std::string& path)
{
    if (path.empty())
        throw PlatformError(std::string(ReadFailed) + "there is no home folder to keep it in.");
}

// Creates each missing folder of `path`'s parent, readable by the user alone.
void makeParentFolders(const std::string& path)
{
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            fail(WriteFailed, folder, errno);
    }
}

// Held for its lifetime; released when the descriptor closes.
Descriptor lock(const std::string& path, int operation)
{
    const std::string lockPath = path + ".lock";
    Descriptor fd(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!fd)
        fail(WriteFailed, lockPath, errno);
    while (::flock(fd.get(), operation) != 0) {
        if (errno != EINTR)
            fail(WriteFailed, lockPath, errno);
    }
    return fd;
}

// Non-blocking open, so that a FIFO in the file's place cannot hang the program; the checks
// below then refuse it.
Descriptor openRegular(const std::string& path, int flags, std::string_view what)
{
    Descriptor fd(::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0600));
    if (!fd)
        return fd;
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0)
        fail(what, path, errno);
    if (!S_ISREG(status.st_mode))
        throw PlatformError(std::string(what) + path + " is not a file.");
    return fd;
}

std::string readAll(const std::string& path, std::size_t limit)
{
    const Descriptor fd = openRegular(path, O_RDONLY, ReadFailed);
    if (!fd) {
        if (errno == ENOENT)
            return {};
        fail(ReadFailed, path, errno);
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0)
        fail(ReadFailed, path, errno);
    const auto tooLarge = [&] {
        throw PlatformError(std::string(ReadFailed) + path + " is larger than "
                            + std::to_string(limit / (1024 * 1024)) + " MiB.");
    };
    if (static_cast<std::uint64_t>(status.st_size) > limit)
        tooLarge();
    std::string content(static_cast<std::size_t>(status.st_size), '\0');
    std::size_t done = 0;
    for (;;) {
        if (done == content.size()) {
            if (content.size() > limit)
                tooLarge();
            content.resize(std::min(content.size() + 65536, limit + 1));  // it grew meanwhile
        }
        const ssize_t count = ::read(fd.get(), content.data() + done, content.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            fail(ReadFailed, path, errno);
        if (count == 0)
            break;
        done += static_cast<std::size_t>(count);
    }
    content.resize(done);
    return content;
}

void writeAll(int fd, std::string_view bytes, const std::string& path)
{
    while (!bytes.empty()) {
        const ssize_t count = ::write(fd, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            fail(WriteFailed, path, errno);
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
}

// A new file with `bytes`, on the disk before this returns.
void writeNewFile(const std::string& path, int flags, std::string_view bytes)
{
    const Descriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | flags, 0600));
    if (!fd)
        fail(WriteFailed, path, errno);
    writeAll(fd.get(), bytes, path);
    if (::fsync(fd.get()) != 0)
        fail(WriteFailed, path, errno);
}

// "<path>.damaged", else ".damaged.1", ".damaged.2", …: the first name no file has.
void keepDamaged(const std::string& path, std::string_view bytes)
{
    const std::string base = path + ".damaged";
    for (int n = 0;; ++n) {
        const std::string name = n == 0 ? base : base + '.' + std::to_string(n);
        const Descriptor fd(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (!fd && errno == EEXIST)
            continue;
        if (!fd)
            fail(WriteFailed, name, errno);
        writeAll(fd.get(), bytes, name);
        if (::fsync(fd.get()) != 0)
            fail(WriteFailed, name, errno);
        return;
    }
}

void syncFolder(const std::string& path)
{
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    const Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd)
        ::fsync(fd.get());  // a file system that cannot sync folders still renamed
}

}  // namespace

PosixHistoryFile::PosixHistoryFile(std::string path) : m_path(std::move(path)) {}

std::string PosixHistoryFile::read(std::size_t limit)
{
    requirePath(m_path);
    return readAll(m_path, limit);
}

std::uint64_t PosixHistoryFile::append(std::string_view bytes)
{
    requirePath(m_path);
    makeParentFolders(m_path);
    const Descriptor held = lock(m_path, LOCK_EX);
    // Opened under the lock: a rewrite before it may have put a new file in place.
    const Descriptor fd = openRegular(m_path, O_WRONLY | O_APPEND | O_CREAT, WriteFailed);
    if (!fd)
        fail(WriteFailed, m_path, errno);
    writeAll(fd.get(), bytes, m_path);
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0)
        fail(WriteFailed, m_path, errno);
    return static_cast<std::uint64_t>(status.st_size);
}

void PosixHistoryFile::rewrite(std::size_t limit,
                               const std::function<Rewrite(std::string_view)>& edit)
{
    requirePath(m_path);
    makeParentFolders(m_path);
    const Descriptor held = lock(m_path, LOCK_EX);
    const Rewrite result = edit(readAll(m_path, limit));
    if (!result.damaged.empty())
        keepDamaged(m_path, result.damaged);
    const std::string temporary = m_path + ".new";
    writeNewFile(temporary, O_TRUNC, result.kept);
    if (::rename(temporary.c_str(), m_path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        fail(WriteFailed, m_path, error);
    }
    syncFolder(m_path);
}

std::string userHistoryPath(const std::function<const char*(const char*)>& environment)
{
    const auto absolute = [&](const char* name) -> std::string {
        const char* value = environment(name);
        return value != nullptr && value[0] == '/' ? value : "";
    };
    std::string folder = absolute("XDG_DATA_HOME");
    if (folder.empty()) {
        folder = absolute("HOME");
        if (folder.empty())
            return {};
        folder += "/.local/share";
    }
    return folder + '/' + utf8::encode(buildinfo::Title) + "/history.jsonl";
}

std::unique_ptr<HistoryFile> makeUserHistoryFile()
{
    return std::make_unique<PosixHistoryFile>(
        userHistoryPath([](const char* name) { return std::getenv(name); }));
}
