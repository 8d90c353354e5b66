#include "forms/frm_history.h"

#include "eval/json_text.h"
#include "forms/frm_history_table.h"
#include "history/history_entry.h"
#include "platform/platform_error.h"
#include "text/ascii_case.h"
#include "text/decimal.h"
#include "text/trim_spaces.h"
#include "text/utf8.h"

#include <algorithm>
#include <utility>

namespace {

using namespace frmhistory;

std::u16string twoDigits(int n)
{
    const std::u16string digits = text::decimal(n);
    return digits.size() < 2 ? u"0" + digits : digits;
}

// A formula on one line: its line breaks and tabs show as spaces.
std::u16string oneLine(std::u16string_view text)
{
    std::u16string line(text);
    std::replace_if(line.begin(), line.end(),
                    [](char16_t c) { return c == u'\r' || c == u'\n' || c == u'\t'; }, u' ');
    return line;
}

std::u16string resultOf(const HistoryEntry& entry)
{
    return std::u16string(spaces::trim(entry.output.main.value_or(u"")));
}

bool isFound(const HistoryEntry& entry, std::u16string_view lower)
{
    const Formulas& in = entry.input;
    const std::u16string result = resultOf(entry);
    for (const std::u16string_view text : {std::u16string_view(in.main), std::u16string_view(in.x),
                                           std::u16string_view(in.y), std::u16string_view(in.z),
                                           std::u16string_view(result)}) {
        if (asciicase::find(text, lower) != std::u16string_view::npos)
            return true;
    }
    return false;
}

std::u16string countInWords(std::size_t shown, std::size_t all)
{
    const auto entries = [](std::size_t n) {
        return text::decimal(n) + (n == 1 ? u" entry" : u" entries");
    };
    if (shown == all)
        return entries(all);
    return text::decimal(shown) + u" of " + entries(all);
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
    std::transform(lower.begin(), lower.end(), lower.begin(), asciicase::fold);
    const LocalTime today = m_platform.clock.localTime(m_platform.clock.now());

    m_shown.clear();
    std::vector<ListRow> rows;
    for (std::size_t i = entries.size(); i-- > 0;) {
        const HistoryEntry& entry = entries[i];
        if (!lower.empty() && !isFound(entry, lower))
            continue;
        const std::u16string main = oneLine(entry.input.main);
        const std::u16string result = resultOf(entry);
        const std::u16string time =
            timeInWords(m_platform.clock.localTime(entry.time), today);
        rows.push_back({{main, result, time}, main + u" = " + result + u", " + time});
        m_shown.push_back(i);
    }
    m_view.setRows(lstHistory, rows);
    const std::u16string count = countInWords(m_shown.size(), entries.size());
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
    m_platform.clipboard.copy(entry.input.main + u" = " + resultOf(entry), historyLine(entry));
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
    if (!m_platform.messageBox.confirm(ClearHistoryPrompt))
        return;
    m_platform.history.clear();
    refresh();
}

void frmHistory::cmdExport_Click()
{
    const std::optional<SaveChoice> choice = m_platform.saveDialog.ask(u"Sumwright history");
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
        m_platform.messageBox.show(u"The history could not be exported. " +
                                   utf8::decode(error.what()));
    }
}

void frmHistory::cmdClose_Click()
{
    m_view.close();
}
