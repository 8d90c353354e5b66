#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

// A registry key: one of the predefined roots below, or a key that openKey returned.
using RegistryKey = std::uintptr_t;
// The operating system's status code; anything but RegistrySuccess is a failure.
using RegistryStatus = std::int32_t;

constexpr RegistryKey LocalMachine = 0x80000002;  // HKEY_LOCAL_MACHINE

constexpr RegistryStatus RegistrySuccess = 0;
constexpr RegistryStatus RegistryNotFound = 2;
constexpr RegistryStatus RegistryAccessDenied = 5;
constexpr RegistryStatus RegistryInvalidHandle = 6;
constexpr RegistryStatus RegistryMoreData = 234;  // the value is larger than the buffer

// Access masks for openKey.
constexpr std::uint32_t KeyQueryValue = 0x0001;
constexpr std::uint32_t KeySetValue = 0x0002;
constexpr std::uint32_t KeyCreateSubKey = 0x0004;
constexpr std::uint32_t KeyEnumerateSubKeys = 0x0008;
constexpr std::uint32_t KeyNotify = 0x0010;
constexpr std::uint32_t KeyCreateLink = 0x0020;
constexpr std::uint32_t ReadControl = 0x20000;
constexpr std::uint32_t KeyRead = ReadControl | KeyQueryValue | KeyEnumerateSubKeys | KeyNotify;

// Value types.
constexpr std::uint32_t RegNone = 0;
constexpr std::uint32_t RegSz = 1;
constexpr std::uint32_t RegExpandSz = 2;
constexpr std::uint32_t RegBinary = 3;
constexpr std::uint32_t RegDword = 4;

// The system registry, in the shape of its ANSI calls. Key paths and value names are 8-bit
// text in the system code page. Misses come back as statuses; nothing here throws.
class Registry
{
public:
    struct Opened
    {
        RegistryStatus status = RegistryNotFound;
        RegistryKey key = 0;  // valid only when status is RegistrySuccess
    };
    struct Queried
    {
        RegistryStatus status = RegistryNotFound;
        std::uint32_t type = RegNone;
        // Bytes written into the buffer; with RegistryMoreData, the bytes the value needs.
        std::uint32_t size = 0;
    };

    virtual ~Registry() = default;
    virtual Opened openKey(RegistryKey root, const std::string& path, std::uint32_t options,
                           std::uint32_t access) = 0;
    // Reads the value into `data`, whose size is the size passed in. On any status but
    // success the buffer's contents are unspecified.
    virtual Queried queryValue(RegistryKey key, const std::string& valueName,
                               std::span<std::uint8_t> data) = 0;
    // Closing 0 or a root does nothing.
    virtual void closeKey(RegistryKey key) = 0;
    // Text as the ANSI calls return it, in the system code page, turned into UTF-16.
    virtual std::u16string decodeText(std::span<const std::uint8_t> bytes) const = 0;
};

// The operating system's registry. Where the system has none, a registry with no keys.
std::unique_ptr<Registry> makeSystemRegistry();
