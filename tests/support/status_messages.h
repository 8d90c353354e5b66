#pragma once

#include "eval/evaluation_sequence.h"
#include "eval/messages.h"
#include "forms/form1.h"
#include "l10n/catalog.h"
#include "l10n/message_format.h"

#include <string_view>
#include <vector>

// Every message the main window's status line can show, in English.
inline std::vector<std::u16string_view> statusMessages()
{
    const Stage stages[] = {Stage::Z, Stage::Y, Stage::X, Stage::Main};
    std::vector<std::u16string_view> messages{SuccessText, InputChangedText};
    for (const Stage stage : stages) {
        for (int code = 1; code <= 4; ++code)
            messages.push_back(codeMessage(stage, code));
        messages.push_back(tooLongMessage(stage));
        for (const Stage user : stages)
            messages.push_back(undefinedMessage(stage, user));
    }
    return messages;
}

// The longest count the History window's count line says, in the catalog's language.
inline std::u16string longestCount(const Catalog& catalog)
{
    return formatMessage(catalog.plural(u"%s of %s entry", u"%s of %s entries", 99999),
                         {u"99999", u"99999"});
}
