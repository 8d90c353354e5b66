#pragma once

#include "history/history_store.h"
#include "l10n/catalog.h"
#include "platform/clock.h"
#include "platform/message_box.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The evaluations of this run, and those of earlier runs when the user keeps them: "Save Input
// on Exit" governs the history as it governs the formulas. While it is checked each entry goes
// to the store as its evaluation ends; unchecked, the history lives for the run only and the
// store is left as it is. The first refusal of the store is reported once; the history then
// goes on for this run without the store.
class SessionHistory
{
public:
    SessionHistory(HistoryStore& store, Clock& clock, MessageBox& messageBox,
                   const Catalog& catalog = englishCatalog());

    // At load: whether the stored "Save Input on Exit" was set, so that the stored entries are
    // shown. They are read at the first call of entries(), not here, to keep start-up quick.
    void start(bool isStoredKept);
    // An evaluation ended. The same four formulas as the newest entry's only move its time.
    void record(const Formulas& typed, const Outcome& outcome, bool isKept);
    // The user checked "Save Input on Exit": this run's entries not yet kept are kept now.
    void keep();
    // Oldest first.
    const std::vector<HistoryEntry>& entries();
    // Removes the entry at `index` of entries(), from the store too where it was kept.
    void remove(std::size_t index);
    // Empties the history and the store, whatever the check mark.
    void clear();
    // Changes whenever entries() does, so that a window can tell it shows them as they are.
    std::uint64_t generation() const { return m_generation; }
    // Called after each record(), for a window that shows the history; empty for none.
    void setListener(std::function<void()> listener) { m_listener = std::move(listener); }

private:
    void load();
    void addToStore(std::size_t index);
    bool isStored(std::size_t index) const { return m_storedAs[index] == m_entries[index]; }
    template <class Call>
    void useStore(Call&& call);

    HistoryStore& m_store;
    std::function<void()> m_listener;
    Clock& m_clock;
    MessageBox& m_messageBox;
    const Catalog& m_catalog;
    bool m_mayLoad = false;
    bool m_isLoaded = false;
    bool m_isStoreBroken = false;
    std::uint64_t m_generation = 0;
    std::vector<HistoryEntry> m_entries;
    // By entry: the entry as the store last got it, an earlier time of the same evaluation
    // included; none when the store never got it.
    std::vector<std::optional<HistoryEntry>> m_storedAs;
};
