#include "sysinfo/start_sys_info.h"

#include "text/translatable.h"
#include "text/decimal.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstdint>
#include <exception>
#include <optional>
#include <span>
#include <string>
#include <utility>

namespace {

constexpr std::size_t ValueBufferBytes = 1024;  // larger values count as missing

constexpr char ViewerKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char ViewerValue[] = "PATH";  // the viewer program's full path
constexpr char FolderKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr char FolderValue[] = "MSINFO";  // the folder holding the viewer
constexpr char16_t ViewerFileName[] = u"\\MSINFO32.EXE";
constexpr char16_t UnavailableMessage[] = N_(u"System Information Is Unavailable At This Time");

class KeyGuard
{
public:
    KeyGuard(Registry& registry, RegistryKey key) : m_registry(registry), m_key(key) {}
    ~KeyGuard() { m_registry.closeKey(m_key); }
    KeyGuard(const KeyGuard&) = delete;
    KeyGuard& operator=(const KeyGuard&) = delete;

private:
    Registry& m_registry;
    RegistryKey m_key;
};

// REG_DWORD data, least significant byte first, as unsigned decimal; nothing when the bytes
// hold a number of more than 32 bits.
std::optional<std::u16string> dwordText(std::span<const std::uint8_t> bytes)
{
    std::uint64_t value = 0;
    for (auto byte = bytes.rbegin(); byte != bytes.rend(); ++byte) {
        value = value * 256 + *byte;
        if (value > UINT32_MAX)
            return std::nullopt;
    }
    return text::decimal(value);
}

// False when there is no program to start; the launcher throws when it cannot start one.
bool startProgram(ProcessLauncher& launcher, const std::u16string& program)
{
    if (program.empty())
        return false;
    launcher.start(program, {});
    return true;
}

// False when the viewer was not found.
bool startViewer(const SysInfoPlatform& platform)
{
    std::u16string viewerPath;
    switch (GetKeyValue(platform.registry, LocalMachine, ViewerKey, ViewerValue, viewerPath)) {
    case KeyValueResult::Read:
        return startProgram(platform.launcher, viewerPath);  // used as read, unchecked
    case KeyValueResult::Invalid:
        return false;
    case KeyValueResult::Missing:
        break;
    }
    if (GetKeyValue(platform.registry, LocalMachine, FolderKey, FolderValue, viewerPath)
        != KeyValueResult::Read)
        return false;
    // The folder is used exactly as stored: one ending in a backslash gives two.
    const std::u16string program = viewerPath + ViewerFileName;
    if (platform.files.findFile(program).empty())
        return false;
    return startProgram(platform.launcher, program);
}

}  // namespace

KeyValueResult GetKeyValue(Registry& registry, RegistryKey KeyRoot, const std::string& KeyName,
                           const std::string& SubKeyRef, std::u16string& KeyVal)
{
    const Registry::Opened opened = registry.openKey(KeyRoot, KeyName, 0, KeyRead);
    if (opened.status != RegistrySuccess) {
        KeyVal.clear();
        return KeyValueResult::Missing;
    }
    const KeyGuard guard(registry, opened.key);

    std::array<std::uint8_t, ValueBufferBytes> buffer{};
    const Registry::Queried queried = registry.queryValue(opened.key, SubKeyRef, buffer);
    if (queried.status != RegistrySuccess) {
        KeyVal.clear();
        return KeyValueResult::Missing;
    }
    assert(queried.size <= buffer.size());
    std::size_t size = std::min<std::size_t>(queried.size, buffer.size());
    if (size == 0) {
        KeyVal.clear();
        return KeyValueResult::Invalid;
    }
    // A string's terminating zero; for a REG_DWORD a zero top byte, which changes nothing.
    if (buffer[size - 1] == 0)
        --size;
    const std::span<const std::uint8_t> bytes(buffer.data(), size);

    if (queried.type == RegSz) {
        KeyVal = registry.decodeText(bytes);
    } else if (queried.type == RegDword) {
        std::optional<std::u16string> text = dwordText(bytes);
        if (!text) {
            KeyVal.clear();
            return KeyValueResult::Invalid;
        }
        KeyVal = std::move(*text);
    }
    return KeyValueResult::Read;
}

void StartSysInfo(const SysInfoPlatform& platform)
{
    try {
        if (startViewer(platform))
            return;
    } catch (const std::exception&) {
        // Any failure to find or start the viewer ends in the one message below.
    }
    platform.messageBox.show(std::u16string(platform.catalog.text(UnavailableMessage)));
}
