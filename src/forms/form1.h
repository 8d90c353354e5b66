#pragma once

#include "eval/evaluation_sequence.h"
#include "forms/form_events.h"
#include "forms/form_view.h"
#include "forms/session_history.h"
#include "l10n/catalog.h"
#include "platform/help_viewer.h"
#include "platform/settings_store.h"

#include <optional>
#include <string>

// What the main window reaches outside itself through.
struct Form1Platform
{
    SettingsStore& settings;
    HelpViewer& help;
    Evaluator& Reckoner1;   // the one evaluator of the window, for the whole run
    char16_t decimalPoint;  // the user's, for the result boxes
    SessionHistory* history = nullptr;  // where each evaluation is recorded, when given
    const Catalog& catalog = englishCatalog();  // the user's language
};

inline constexpr char16_t InputChangedText[] = N_(u"Input has changed since the last evaluation.");

// The main window's behaviour over whatever toolkit draws it.
class Form1 final : public FormEvents
{
public:
    Form1(FormView& view, Form1Platform platform);

    void click(ControlId control) override;
    void change(ControlId control) override;
    void choose(MenuId item) override;
    void Form_Load() override;
    // Stores the input when "Save Input on Exit" is checked; throws PlatformError, saying what
    // was lost, when the store refuses.
    void Form_Unload() override;

    void Command1_Click();
    void mnuEvaluate_Click();
    void mnuClearVariables_Click();
    void mnuClearAll_Click();
    void mnuSave_Click();
    void mnuExit_Click();
    void mnuHelpContents_Click();
    void mnuAbout_Click();
    void mnuHistory_Click();
    void Text1_Change();
    void Text2_Change();
    void Text3_Change();
    void Text4_Change();

    // Puts `formulas` into the four boxes, as if the user typed them.
    void useFormulas(const Formulas& formulas);

private:
    void inputChanged();  // what each formula box's Change does
    void showProblem(const Problem& problem, const std::u16string& status);
    void clearProblem();

    FormView& m_view;
    Form1Platform m_platform;
    std::optional<ControlId> m_problemBox;  // whose description tells the last run's problem
};
