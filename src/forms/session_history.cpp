#include "forms/session_history.h"

#include "l10n/message_format.h"
#include "platform/platform_error.h"
#include "text/utf8.h"

#include <utility>

SessionHistory::SessionHistory(HistoryStore& store, Clock& clock, MessageBox& messageBox,
                               const Catalog& catalog)
    : m_store(store), m_clock(clock), m_messageBox(messageBox), m_catalog(catalog)
{
}

template <class Call>
void SessionHistory::useStore(Call&& call)
{
    if (m_isStoreBroken)
        return;
    try {
        call();
    } catch (const PlatformError& error) {
        // Once: a store that refused will refuse again, and a message at every evaluation
        // would keep the user from working.
        m_isStoreBroken = true;
        m_messageBox.show(formatMessage(
            m_catalog.text(N_(u"%s\n\nSumwright keeps the history of this session only.")),
            {utf8::decode(error.what())}));
    }
}

void SessionHistory::start(bool isStoredKept)
{
    m_mayLoad = isStoredKept;
}

void SessionHistory::record(const Formulas& typed, const Outcome& outcome, bool isKept)
{
    HistoryEntry entry{m_clock.now(), typed, outcome};
    if (!m_entries.empty() && m_entries.back().input == typed) {
        m_entries.back() = std::move(entry);  // the store merges a newer line into the older
        ++m_generation;
    } else {
        m_entries.push_back(std::move(entry));
        ++m_generation;
        m_storedAs.emplace_back();
    }
    if (isKept)
        addToStore(m_entries.size() - 1);
    if (m_listener)
        m_listener();
}

void SessionHistory::keep()
{
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (!isStored(i))
            addToStore(i);
    }
}

void SessionHistory::addToStore(std::size_t index)
{
    useStore([&] {
        m_store.append(m_entries[index]);
        m_storedAs[index] = m_entries[index];
    });
}

const std::vector<HistoryEntry>& SessionHistory::entries()
{
    if (m_mayLoad && !m_isLoaded)
        load();
    return m_entries;
}

void SessionHistory::load()
{
    m_isLoaded = true;
    useStore([&] {
        std::vector<HistoryEntry> entries = m_store.load();
        std::vector<std::optional<HistoryEntry>> storedAs(entries.begin(), entries.end());
        // This run's entries that the store does not hold as they are follow the stored ones;
        // the others are among them already.
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            if (isStored(i))
                continue;
            if (!entries.empty() && entries.back().input == m_entries[i].input) {
                entries.back() = m_entries[i];
            } else {
                entries.push_back(m_entries[i]);
                storedAs.push_back(m_storedAs[i]);
            }
        }
        m_entries = std::move(entries);
        ++m_generation;
        m_storedAs = std::move(storedAs);
    });
}

void SessionHistory::remove(std::size_t index)
{
    if (index >= entries().size())
        return;
    if (m_storedAs[index])
        useStore([&] { m_store.remove(*m_storedAs[index]); });
    const auto at = static_cast<std::ptrdiff_t>(index);
    m_entries.erase(m_entries.begin() + at);
    ++m_generation;
    m_storedAs.erase(m_storedAs.begin() + at);
}

void SessionHistory::clear()
{
    m_entries.clear();
    ++m_generation;
    m_storedAs.clear();
    m_isLoaded = true;  // nothing stored is left to read
    useStore([&] { m_store.clear(); });
}
