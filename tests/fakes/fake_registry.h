#pragma once

#include "platform/registry.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

// Keys with values of any type and size and the rights they grant; records every call.
class FakeRegistry final : public Registry
{
public:
    struct Value
    {
        std::uint32_t type = RegSz;
        std::vector<std::uint8_t> data;
    };
    struct Key
    {
        std::uint32_t granted = 0xF003F;  // KEY_ALL_ACCESS
        std::map<std::string, Value> values;
    };
    struct Open
    {
        RegistryKey root;
        std::string path;
        std::uint32_t options;
        std::uint32_t access;
    };
    struct Query
    {
        RegistryKey key;
        std::string valueName;
        std::size_t bufferSize;
    };

    std::map<std::pair<RegistryKey, std::string>, Key> keys;  // by root and path
    std::vector<Open> opens;                 // in order, failed ones too
    std::vector<Query> queries;              // in order
    std::vector<RegistryKey> closed;         // in order
    std::set<RegistryKey> openKeys;          // opened and not yet closed
    // The system code page's bytes that do not stand for the Latin-1 character of their value.
    std::map<std::uint8_t, char16_t> codePage;

    Key& key(const std::string& path, RegistryKey root = LocalMachine)
    {
        return keys[{root, path}];
    }

    // A REG_SZ holding `text` one byte per character, with or without its terminating zero.
    void setString(const std::string& path, const std::string& name, const std::string& text,
                   bool withZero = true)
    {
        std::vector<std::uint8_t> data(text.begin(), text.end());
        if (withZero)
            data.push_back(0);
        key(path).values[name] = {RegSz, std::move(data)};
    }

    Opened openKey(RegistryKey root, const std::string& path, std::uint32_t options,
                   std::uint32_t access) override
    {
        opens.push_back({root, path, options, access});
        const auto found = keys.find({root, path});
        if (found == keys.end())
            return {RegistryNotFound, 0};
        if ((access & ~found->second.granted) != 0)
            return {RegistryAccessDenied, 0};
        const RegistryKey handle = m_nextHandle++;
        m_opened[handle] = &found->second;
        openKeys.insert(handle);
        return {RegistrySuccess, handle};
    }

    Queried queryValue(RegistryKey handle, const std::string& valueName,
                       std::span<std::uint8_t> data) override
    {
        queries.push_back({handle, valueName, data.size()});
        if (!openKeys.contains(handle))
            return {RegistryInvalidHandle, RegNone, 0};
        const Key& k = *m_opened.at(handle);
        const auto found = k.values.find(valueName);
        if (found == k.values.end())
            return {RegistryNotFound, RegNone, 0};
        const Value& value = found->second;
        const auto size = static_cast<std::uint32_t>(value.data.size());
        if (value.data.size() > data.size())
            return {RegistryMoreData, value.type, size};
        std::copy(value.data.begin(), value.data.end(), data.begin());
        return {RegistrySuccess, value.type, size};
    }

    void closeKey(RegistryKey handle) override
    {
        closed.push_back(handle);
        openKeys.erase(handle);
    }

    std::u16string decodeText(std::span<const std::uint8_t> bytes) const override
    {
        std::u16string text;
        for (const std::uint8_t byte : bytes) {
            const auto found = codePage.find(byte);
            text += found != codePage.end() ? found->second : static_cast<char16_t>(byte);
        }
        return text;
    }

private:
    RegistryKey m_nextHandle = 0x100;
    std::map<RegistryKey, const Key*> m_opened;
};
