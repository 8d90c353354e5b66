#pragma once

#include "l10n/catalog.h"
#include "platform/file_probe.h"
#include "platform/message_box.h"
#include "platform/process_launcher.h"
#include "platform/registry.h"

#include <string>

// What the system-information launcher reaches the system through.
struct SysInfoPlatform
{
    Registry& registry;
    FileProbe& files;
    ProcessLauncher& launcher;
    MessageBox& messageBox;
    const Catalog& catalog = englishCatalog();  // the user's language
};

enum class KeyValueResult
{
    Read,     // the key was opened and the value read
    Missing,  // key or value missing, access refused, or the value larger than 1024 bytes
    Invalid,  // the value has no data, or a REG_DWORD holds more than 32 bits
};

// Reads value `SubKeyRef` of key `KeyName` under `KeyRoot`, opened for reading only. On Read,
// `KeyVal` holds a REG_SZ decoded from the system code page without its terminating zero, a
// REG_DWORD as unsigned decimal, and any other type leaves it as passed in; otherwise it is
// empty.
// The key is closed on every path.
KeyValueResult GetKeyValue(Registry& registry, RegistryKey KeyRoot, const std::string& KeyName,
                           const std::string& SubKeyRef, std::u16string& KeyVal);

// Starts the system-information viewer found through the registry, without waiting for it,
// or shows "System Information Is Unavailable At This Time". Failures of the lookups and of
// the start never escape.
void StartSysInfo(const SysInfoPlatform& platform);
