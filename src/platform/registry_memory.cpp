#include "platform/registry.h"

namespace {

// This system has no registry: every key is missing, so nothing is ever opened.
class MemoryRegistry final : public Registry
{
public:
    Opened openKey(RegistryKey, const std::string&, std::uint32_t, std::uint32_t) override
    {
        return {RegistryNotFound, 0};
    }

    Queried queryValue(RegistryKey, const std::string&, std::span<std::uint8_t>) override
    {
        return {RegistryInvalidHandle, RegNone, 0};
    }

    void closeKey(RegistryKey) override {}

    // Nothing here has a code page of its own: one character per byte.
    std::u16string decodeText(std::span<const std::uint8_t> bytes) const override
    {
        return std::u16string(bytes.begin(), bytes.end());
    }
};

}  // namespace

std::unique_ptr<Registry> makeSystemRegistry()
{
    return std::make_unique<MemoryRegistry>();
}
