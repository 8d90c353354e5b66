#include "forms/frm_history.h"

#include "eval/json_text.h"
#include "forms/frm_history_table.h"
#include "history/history_entry.h"
#include "l10n/message_format.h"
#include "platform/platform_error.h"
#include "text/ascii_case.h"
#include "text/decimal.h"
#include "text/trim_spaces.h"
#include "text/utf8.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace {

using namespace frmhistory;

std::u16string twoDigits(int n)
{
    const std::u16string digits = text::decimal(n);
    return digits.size() < 2 ? u"0" + digits : digits;
}

// No column shows more of a formula than this; the rest is cut here, so that a list of long
// formulas fills quickly.
constexpr std::size_t MaxCellLength = 200;

// Finds a search text in any case. Boyer-Moore-Horspool skips ahead by up to the length of the
// text at each look, which keeps a search through a thousand long formulas quick.
class Finder
{
public:
    explicit Finder(std::u16string_view lower)
        : m_searcher(lower.begin(), lower.end(), FoldedHash{}, FoldedEqual{})
    {
    }
    bool isIn(std::u16string_view text) const
    {
        return std::search(text.begin(), text.end(), m_searcher) != text.end();
    }
    bool isIn(const HistoryEntry& entry) const
    {
        const Formulas& in = entry.input;
        return isIn(in.main) || isIn(in.x) || isIn(in.y) || isIn(in.z) ||
               (entry.output.main && isIn(spaces::trim(*entry.output.main)));
    }

private:
    struct FoldedHash
    {
        std::size_t operator()(char16_t c) const { return asciicase::fold(c); }
    };
    struct FoldedEqual
    {
        bool operator()(char16_t a, char16_t b) const
        {
            return asciicase::fold(a) == asciicase::fold(b);
        }
    };
    std::boyer_moore_horspool_searcher<std::u16string_view::const_iterator, FoldedHash,
                                       FoldedEqual>
        m_searcher;
};

std::u16string countInWords(std::size_t shown, std::size_t all, const Catalog& catalog)
{
    if (shown == all) {
        return formatMessage(catalog.plural(NP_(u"%s entry", u"%s entries"), all),
                             {text::decimal(all)});
    }
    return formatMessage(catalog.plural(NP_(u"%s of %s entry", u"%s of %s entries"), all),
                         {text::decimal(shown), text::decimal(all)});
}

void appendCsvField(std::string& out, std::u16string_view text)
{
    // Quoted always: formulas hold commas, quotes and line breaks.
    out += '"';
    for (const char c : utf8::encode(text)) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

}  // namespace

std::u16string timeInWords(const LocalTime& time, const LocalTime& today)
{
    const std::u16string clock = twoDigits(time.hour) + u":" + twoDigits(time.minute);
    if (time.year == today.year && time.month == today.month && time.day == today.day)
        return clock;
    return text::decimal(time.year) + u"-" + twoDigits(time.month) + u"-" +
           twoDigits(time.day) + u" " + clock;
}

std::string historyCsv(const std::vector<HistoryEntry>& entries)
{
    std::string out = "\xEF\xBB\xBF"
                      "time,main,x,y,z,result,x value,y value,z value,status\r\n";
    for (const HistoryEntry& entry : entries) {
        const Formulas& in = entry.input;
        const Outcome& o = entry.output;
        const std::u16string fields[] = {
            utf8::decode(historyTimeText(entry.time)), in.main, in.x, in.y, in.z,
            o.main.value_or(u""), o.x.value_or(u""), o.y.value_or(u""), o.z.value_or(u""),
            o.status.value_or(u"")};
        for (std::size_t i = 0; i < std::size(fields); ++i) {
            if (i > 0)
                out += ',';
            appendCsvField(out, fields[i]);
        }
        out += "\r\n";  // RFC 4180's line end
    }
    return out;
}

frmHistory::frmHistory(FormView& view, HistoryPlatform platform)
    : m_view(view), m_platform(std::move(platform))
{
}

frmHistory::~frmHistory()
{
    m_platform.history.setListener({});
}

void frmHistory::click(ControlId control)
{
    if (control == cmdUse)
        cmdUse_Click();
    else if (control == cmdCopy)
        cmdCopy_Click();
    else if (control == cmdDelete)
        cmdDelete_Click();
    else if (control == cmdClear)
        cmdClear_Click();
    else if (control == cmdExport)
        cmdExport_Click();
    else if (control == cmdClose)
        cmdClose_Click();
}

void frmHistory::change(ControlId control)
{
    if (control == txtSearch)
        txtSearch_Change();
}

void frmHistory::activate(ControlId control)
{
    if (control == lstHistory)
        cmdUse_Click();
}

void frmHistory::key(ControlId control, ListKey key)
{
    if (control != lstHistory)
        return;
    if (key == ListKey::Delete)
        cmdDelete_Click();
    else
        cmdCopy_Click();
}

void frmHistory::Form_Load()
{
    m_isLoaded = true;
    // An evaluation in the main window while this one is open shows here at once.
    m_platform.history.setListener([this] { refresh(); });
    refresh();
}

void frmHistory::Form_Unload()
{
    m_isLoaded = false;
    m_platform.history.setListener({});
}

void frmHistory::txtSearch_Change()
{
    if (m_isLoaded)
        refresh();
}

void frmHistory::refresh()
{
    const std::vector<HistoryEntry>& entries = m_platform.history.entries();
    std::u16string lower(spaces::trim(m_view.text(txtSearch)));
    for (char16_t& c : lower)
        c = asciicase::fold(c);
    const LocalTime today = m_platform.clock.localTime(m_platform.clock.now());

    // Typing on narrows the search: only the entries shown for its start can hold it, which
    // keeps each keystroke quick over a thousand long formulas.
    const bool isNarrowing = m_generation == m_platform.history.generation() &&
                             lower.starts_with(m_search);
    std::vector<std::size_t> candidates;
    if (isNarrowing) {
        candidates = std::move(m_shown);
    } else {
        for (std::size_t i = entries.size(); i-- > 0;)
            candidates.push_back(i);
    }
    m_search = lower;
    m_generation = m_platform.history.generation();

    m_shown.clear();
    std::vector<ListRow> rows;
    const Finder finder(lower);
    for (const std::size_t i : candidates) {
        const HistoryEntry& entry = entries[i];
        if (!lower.empty() && !finder.isIn(entry))
            continue;
        const std::u16string main = formulaOnOneLine(entry.input.main, MaxCellLength);
        const std::u16string result = mainResult(entry);
        const std::u16string time =
            timeInWords(m_platform.clock.localTime(entry.time), today);
        rows.push_back({{main, result, time}, main + u" = " + result + u", " + time});
        m_shown.push_back(i);
    }
    m_view.setRows(lstHistory, rows);
    const std::u16string count = countInWords(m_shown.size(), entries.size(), m_platform.catalog);
    m_view.setText(lblCount, count);
    m_view.setDescription(lstHistory, count);
}

std::optional<std::size_t> frmHistory::selectedEntry() const
{
    const std::optional<std::size_t> row = m_view.selectedRow(lstHistory);
    if (!row || *row >= m_shown.size())
        return std::nullopt;
    return m_shown[*row];
}

void frmHistory::cmdUse_Click()
{
    const auto index = selectedEntry();
    if (!index)
        return;
    const Formulas input = m_platform.history.entries()[*index].input;  // a copy: the boxes
    m_platform.use(input);                                                // record nothing
    m_view.show(FormId::Form1);
}

void frmHistory::cmdCopy_Click()
{
    const auto index = selectedEntry();
    if (!index)
        return;
    const HistoryEntry& entry = m_platform.history.entries()[*index];
    m_platform.clipboard.copy(entry.input.main + u" = " + mainResult(entry), historyLine(entry));
}

void frmHistory::cmdDelete_Click()
{
    const auto row = m_view.selectedRow(lstHistory);
    const auto index = selectedEntry();
    if (!row || !index)
        return;
    m_platform.history.remove(*index);
    refresh();
    // The row that took the deleted one's place is selected, so Del can go on deleting.
    if (!m_shown.empty())
        m_view.selectRow(lstHistory, std::min(*row, m_shown.size() - 1));
}

void frmHistory::cmdClear_Click()
{
    const Catalog& catalog = m_platform.catalog;
    if (!m_platform.messageBox.confirm(std::u16string(catalog.text(ClearHistoryPrompt))))
        return;
    m_platform.history.clear();
    refresh();
}

void frmHistory::cmdExport_Click()
{
    const std::optional<SaveChoice> choice = m_platform.saveDialog.ask(
        std::u16string(m_platform.catalog.text(N_(u"Sumwright history"))));
    if (!choice)
        return;
    const std::vector<HistoryEntry>& entries = m_platform.history.entries();
    std::string bytes;
    if (choice->format == ExportFormat::Csv) {
        bytes = historyCsv(entries);
    } else {
        for (const HistoryEntry& entry : entries)
            bytes += historyLine(entry) + '\n';
    }
    try {
        m_platform.saveDialog.write(choice->path, bytes);
    } catch (const PlatformError& error) {
        m_platform.messageBox.show(
            formatMessage(m_platform.catalog.text(N_(u"The history could not be exported. %s")),
                          {utf8::decode(error.what())}));
    }
}

void frmHistory::cmdClose_Click()
{
    m_view.close();
}
