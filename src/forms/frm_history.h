#pragma once

#include "forms/form_events.h"
#include "forms/form_view.h"
#include "forms/session_history.h"
#include "l10n/catalog.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/save_dialog.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// What the History window reaches outside itself through.
struct HistoryPlatform
{
    SessionHistory& history;
    Clock& clock;
    Clipboard& clipboard;
    SaveDialog& saveDialog;
    MessageBox& messageBox;
    // Puts four formulas into the main window's boxes, as if typed.
    std::function<void(const Formulas&)> use;
    const Catalog& catalog = englishCatalog();  // the user's language
};

inline constexpr char16_t ClearHistoryPrompt[] =
    N_(u"Delete every entry of the history, the kept ones included? This cannot be undone.");

// The History window's behaviour over whatever toolkit draws it: the evaluations newest first,
// those that the search text finds, and commands on the one selected.
class frmHistory final : public FormEvents
{
public:
    frmHistory(FormView& view, HistoryPlatform platform);
    ~frmHistory() override;

    void click(ControlId control) override;
    void change(ControlId control) override;
    void activate(ControlId control) override;
    void key(ControlId control, ListKey key) override;
    void Form_Load() override;
    void Form_Unload() override;

    void txtSearch_Change();
    void cmdUse_Click();
    void cmdCopy_Click();
    void cmdDelete_Click();
    void cmdClear_Click();
    void cmdExport_Click();
    void cmdClose_Click();

private:
    void refresh();
    // The index in the history's entries of the row selected; none when no row is.
    std::optional<std::size_t> selectedEntry() const;

    FormView& m_view;
    HistoryPlatform m_platform;
    bool m_isLoaded = false;
    std::vector<std::size_t> m_shown;  // by row: the index of its entry
    // What m_shown was found for: a longer search over the same entries looks only among them.
    std::u16string m_search;
    std::optional<std::uint64_t> m_generation;
};

// How a row names its time: the hour and minute for today, the date too for earlier days.
std::u16string timeInWords(const LocalTime& time, const LocalTime& today);

// The history as CSV (RFC 4180, UTF-8 with a byte order mark so that spreadsheet programs read
// it as such): a header line, then one line per entry, oldest first.
std::string historyCsv(const std::vector<HistoryEntry>& entries);
