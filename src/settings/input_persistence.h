#pragma once

#include "platform/platform_error.h"
#include "platform/settings_store.h"
#include "text/translatable.h"

#include <optional>
#include <string>
#include <string_view>

// The four formula boxes' texts exactly as they stand, untrimmed.
struct InputTexts
{
    std::u16string formula;
    std::u16string x;
    std::u16string y;
    std::u16string z;
};

// What the window shows after loading: the "Save Input on Exit" check mark, and the formula
// texts only when it is set.
struct RestoredInput
{
    bool isSaveChecked = false;
    std::optional<InputTexts> texts;
};

// "True"/"False" in any case; numeric text (0 false, any other number true). Anything else,
// empty text included, counts as false.
bool isTrueSetting(std::u16string_view text);

// Reads "SaveIndicator" and, only when it is true, the four formula keys (empty when missing).
RestoredInput restoreInput(SettingsStore& store);

// What storeInput throws when the store refuses a write: that the input could not be saved,
// then the store's own account, which names the file or key.
class InputNotSaved : public PlatformError
{
public:
    explicit InputNotSaved(const std::string& cause);
    const std::string& cause() const { return m_cause; }

private:
    std::string m_cause;
};

inline constexpr char16_t InputNotSavedText[] = N_(u"Your input could not be saved. %s");

// Stores "SaveIndicator" and, only when it is set, the four texts; the formula values of an
// earlier run stay otherwise. When the store refuses a write, throws InputNotSaved; values
// written before stay written.
void storeInput(SettingsStore& store, bool isSaveChecked, const InputTexts& texts);
