#include "forms/form1.h"

#include "eval/evaluation_sequence.h"
#include "forms/form1_table.h"
#include "l10n/message_format.h"
#include "platform/platform_error.h"
#include "settings/input_persistence.h"
#include "text/decimal.h"
#include "text/utf8.h"

#include <optional>
#include <string>
#include <utility>

namespace {

void writeIfSet(FormView& view, ControlId control, const std::optional<std::u16string>& text)
{
    if (text)
        view.setText(control, *text);
}

ControlId formulaBox(Stage formula)
{
    switch (formula) {
    case Stage::Z:
        return form1::Text4;
    case Stage::Y:
        return form1::Text3;
    case Stage::X:
        return form1::Text2;
    case Stage::Main:
        break;
    }
    return form1::Text1;
}

// Where a problem lies, in words, counting characters from 1 as the user does.
std::u16string placeInWords(const Problem& problem, std::size_t textLength,
                            const Catalog& catalog)
{
    const std::size_t first = problem.start + 1;
    if (problem.length == 0) {  // a place between characters
        if (problem.start >= textLength)
            return std::u16string(catalog.text(N_(u"Problem at the end of the formula.")));
        if (problem.start == 0)
            return std::u16string(catalog.text(N_(u"Problem at the start of the formula.")));
        return formatMessage(catalog.text(N_(u"Problem between characters %s and %s.")),
                             {text::decimal(problem.start), text::decimal(first)});
    }
    if (problem.length == 1)
        return formatMessage(catalog.text(N_(u"Problem at character %s.")),
                             {text::decimal(first)});
    return formatMessage(catalog.text(N_(u"Problem at characters %s to %s.")),
                         {text::decimal(first), text::decimal(problem.start + problem.length)});
}

}  // namespace

Form1::Form1(FormView& view, Form1Platform platform) : m_view(view), m_platform(platform) {}

void Form1::click(ControlId control)
{
    if (control == form1::Command1)
        Command1_Click();
}

void Form1::change(ControlId control)
{
    if (control == form1::Text1)
        Text1_Change();
    else if (control == form1::Text2)
        Text2_Change();
    else if (control == form1::Text3)
        Text3_Change();
    else if (control == form1::Text4)
        Text4_Change();
}

void Form1::choose(MenuId item)
{
    using namespace form1;
    if (item == mnuEvaluate)
        mnuEvaluate_Click();
    else if (item == mnuClearVariables)
        mnuClearVariables_Click();
    else if (item == mnuClearAll)
        mnuClearAll_Click();
    else if (item == mnuSave)
        mnuSave_Click();
    else if (item == mnuExit)
        mnuExit_Click();
    else if (item == mnuHelpContents)
        mnuHelpContents_Click();
    else if (item == mnuAbout)
        mnuAbout_Click();
    else if (item == mnuHistory)
        mnuHistory_Click();
}

void Form1::Command1_Click()
{
    using namespace form1;
    const Formulas typed{m_view.text(Text1), m_view.text(Text2), m_view.text(Text3),
                         m_view.text(Text4)};
    clearProblem();
    const Outcome out = runEvaluation(m_platform.Reckoner1, typed, m_platform.decimalPoint);
    writeIfSet(m_view, Text8, out.z);  // a box the run did not reach keeps its text
    writeIfSet(m_view, Text7, out.y);
    writeIfSet(m_view, Text6, out.x);
    writeIfSet(m_view, Text5, out.main);
    // at most one message per run, and sometimes none
    const std::optional<std::u16string> status = out.status
        ? std::optional<std::u16string>(m_platform.catalog.text(*out.status))
        : std::nullopt;
    writeIfSet(m_view, Label6, status);
    if (out.problem && status)
        showProblem(*out.problem, *status);
    if (m_platform.history != nullptr)
        m_platform.history->record(typed, out, m_view.isChecked(mnuSave));
}

void Form1::showProblem(const Problem& problem, const std::u16string& status)
{
    // The status label cannot take the focus, so a screen reader would say nothing after
    // Evaluate: the box with the problem takes the focus and says what and where.
    const ControlId box = formulaBox(problem.formula);
    const std::u16string typed = m_view.text(box);
    m_view.setDescription(box, status + u" " +
                                 placeInWords(problem, typed.size(), m_platform.catalog));
    m_view.select(box, problem.start, problem.length);
    m_problemBox = box;
}

void Form1::clearProblem()
{
    if (m_problemBox)
        m_view.setDescription(*std::exchange(m_problemBox, std::nullopt), u"");
}

void Form1::mnuEvaluate_Click()
{
    Command1_Click();
}

void Form1::mnuClearVariables_Click()
{
    for (const ControlId box : {form1::Text2, form1::Text3, form1::Text4})
        m_view.setText(box, u"");
}

void Form1::mnuClearAll_Click()
{
    using namespace form1;
    for (const ControlId box : {Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8})
        m_view.setText(box, u"");
}

void Form1::mnuSave_Click()
{
    // The check mark is the only record of the option until Form_Unload: the formulas are
    // stored then. The history of the run so far is kept at once, as each later entry will be.
    const bool isChecked = !m_view.isChecked(form1::mnuSave);
    m_view.setChecked(form1::mnuSave, isChecked);
    if (isChecked && m_platform.history != nullptr)
        m_platform.history->keep();
}

void Form1::mnuExit_Click()
{
    m_view.close();
}

void Form1::mnuHelpContents_Click()
{
    // Help is a convenience: whatever goes wrong, the window goes on as before, unreported.
    try {
        m_platform.help.showContents();
    } catch (...) {
    }
}

void Form1::mnuAbout_Click()
{
    m_view.show(FormId::frmAbout);
}

void Form1::Text1_Change()
{
    inputChanged();
}

void Form1::Text2_Change()
{
    inputChanged();
}

void Form1::Text3_Change()
{
    inputChanged();
}

void Form1::Text4_Change()
{
    inputChanged();
}

void Form1::inputChanged()
{
    clearProblem();
    m_view.setText(form1::Label6, m_platform.catalog.text(InputChangedText));
}

void Form1::Form_Load()
{
    using namespace form1;
    const RestoredInput restored = restoreInput(m_platform.settings);
    m_view.setChecked(mnuSave, restored.isSaveChecked);
    if (m_platform.history != nullptr)
        m_platform.history->start(restored.isSaveChecked);
    if (restored.texts) {
        m_view.setText(Text1, restored.texts->formula);
        m_view.setText(Text2, restored.texts->x);
        m_view.setText(Text3, restored.texts->y);
        m_view.setText(Text4, restored.texts->z);
        m_view.setText(Label6, u"");  // the restoring fired the change handlers; open quiet
    }
}

void Form1::Form_Unload()
{
    using namespace form1;
    try {
        storeInput(m_platform.settings, m_view.isChecked(mnuSave),
                   {m_view.text(Text1), m_view.text(Text2), m_view.text(Text3),
                    m_view.text(Text4)});
    } catch (const InputNotSaved& error) {
        throw PlatformError(utf8::encode(formatMessage(
            m_platform.catalog.text(InputNotSavedText), {utf8::decode(error.cause())})));
    }
}

void Form1::mnuHistory_Click()
{
    if (m_platform.history != nullptr)
        m_view.show(FormId::frmHistory);
}

void Form1::useFormulas(const Formulas& formulas)
{
    using namespace form1;
    m_view.setText(Text1, formulas.main);
    m_view.setText(Text2, formulas.x);
    m_view.setText(Text3, formulas.y);
    m_view.setText(Text4, formulas.z);
}
