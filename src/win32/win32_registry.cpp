#include "platform/registry.h"

#define WIN32_LEAN_AND_MEAN
#define NOUSER
#include <windows.h>

#include <algorithm>
#include <limits>
#include <string>

namespace {

bool isRoot(RegistryKey key)
{
    return key >= 0x80000000u && key <= 0x8000000Fu;
}

// Roots are 32-bit values that Windows sign-extends into 64-bit handles.
HKEY toHkey(RegistryKey key)
{
    if (isRoot(key))
        return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(key)));
    return reinterpret_cast<HKEY>(key);
}

class Win32Registry final : public Registry
{
public:
    Opened openKey(RegistryKey root, const std::string& path, std::uint32_t options,
                   std::uint32_t access) override
    {
        HKEY key = nullptr;
        const LONG status = RegOpenKeyExA(toHkey(root), path.c_str(), options, access, &key);
        if (status != ERROR_SUCCESS)
            return {static_cast<RegistryStatus>(status), 0};
        return {RegistrySuccess, reinterpret_cast<RegistryKey>(key)};
    }

    Queried queryValue(RegistryKey key, const std::string& valueName,
                       std::span<std::uint8_t> data) override
    {
        DWORD type = REG_NONE;
        DWORD size = static_cast<DWORD>(
            std::min<std::size_t>(data.size(), std::numeric_limits<DWORD>::max()));
        const LONG status =
            RegQueryValueExA(toHkey(key), valueName.c_str(), nullptr, &type, data.data(), &size);
        return {static_cast<RegistryStatus>(status), type, size};
    }

    void closeKey(RegistryKey key) override
    {
        if (key != 0 && !isRoot(key))
            RegCloseKey(toHkey(key));
    }

    std::u16string decodeText(std::span<const std::uint8_t> bytes) const override
    {
        if (bytes.empty())
            return {};
        const auto* const chars = reinterpret_cast<const char*>(bytes.data());
        const int size = static_cast<int>(bytes.size());  // at most the 1024-byte buffer
        const int length = MultiByteToWideChar(CP_ACP, 0, chars, size, nullptr, 0);
        std::wstring text(static_cast<std::size_t>(length), L'\0');
        MultiByteToWideChar(CP_ACP, 0, chars, size, text.data(), length);
        return std::u16string(text.begin(), text.end());
    }
};

}  // namespace

std::unique_ptr<Registry> makeSystemRegistry()
{
    return std::make_unique<Win32Registry>();
}
