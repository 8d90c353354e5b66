#include "eval/evaluation_sequence.h"

#include "eval/limits.h"
#include "eval/messages.h"
#include "reckoner/reckoner_evaluator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Text = std::optional<std::u16string>;
const Text Untouched = std::nullopt;
const std::u16string Ok = SuccessText;
const std::u16string Err = ErrorText;

struct Row
{
    const char* name;
    Formulas in;
    Text main, x, y, z, status;
};

std::u16string message(Stage stage, int code)
{
    return std::u16string(codeMessage(stage, code));
}

std::u16string nested(std::size_t depth, std::u16string_view inner)
{
    return std::u16string(depth, u'(') + std::u16string(inner) + std::u16string(depth, u')');
}

void expectRows(const std::vector<Row>& rows)
{
    ReckonerEvaluator evaluator;  // one for every row, as the window has
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome got = runEvaluation(evaluator, row.in, u'.');
        EXPECT_EQ(got.z, row.z) << "Z box";
        EXPECT_EQ(got.y, row.y) << "Y box";
        EXPECT_EQ(got.x, row.x) << "X box";
        EXPECT_EQ(got.main, row.main) << "main result box";
        EXPECT_EQ(got.status, row.status) << "status";
    }
}

}  // namespace

TEST(EvaluationSequenceHostile, ReportsHugeAndDeepFormulas)
{
    const std::u16string xs(MaxFormulaLength, u'x');
    const std::u16string megabyte(1 << 20, u'1');
    const std::u16string tooLong = u"The formula for Z is too long: a formula may have at most "
                                   u"32767 characters.";
    expectRows({
        // the limit allows 16,383 levels around one letter; its value goes in bracketed
        {"deepest nesting the limit allows", {nested(16383, u"x"), u"2", u"", u""},
         u"2", u"2", u"", u"", Ok},
        {"100,000 nested parentheses", {u"1", u"", u"", nested(100000, u"1")},
         Err, Untouched, Untouched, Untouched, tooLong},
        {"a megabyte", {u"1", u"", u"", megabyte}, Err, Untouched, Untouched, Untouched, tooLong},
        // each x becomes a bracketed value, and values side by side are no formula
        {"32767 x's in the main formula", {xs, u"1", u"", u""},
         Err, u"1", u"", u"", message(Stage::Main, 2)},
        {"32767 x's in X's own formula", {u"x", xs, u"", u""},
         Err, Untouched, u"", u"", message(Stage::X, 1)},
    });
}

TEST(EvaluationSequenceHostile, ReportsForeignCharactersInTheirFormula)
{
    std::vector<Row> rows = {
        {"NUL in Z", {u"z", u"", u"", std::u16string(u"1\0", 2)},
         Err, Untouched, Untouched, Untouched, message(Stage::Z, 1)},
        {"NUL alone in the main formula", {std::u16string(u" \0 ", 3), u"", u"", u""},
         Err, u"", u"", u"", message(Stage::Main, 1)},
        {"lone surrogate next to a variable", {u"1", u"", u"\xD800y", u"2"},
         Err, Untouched, Untouched, u"2", message(Stage::Y, 1)},
        {"lone low surrogate in X", {u"x", u"\xDC00", u"", u""},
         Err, Untouched, u"", u"", message(Stage::X, 1)},
        {"right-to-left mark in the main formula", {u"\u200Fx+1", u"2", u"", u""},
         Err, u"2", u"", u"", message(Stage::Main, 1)},
        {"right-to-left embedding around Y", {u"y", u"", u"\u202B" u"3\u202C", u""},
         Err, Untouched, Untouched, u"", message(Stage::Y, 1)},
    };
    // Only spaces are trimmed: any other control character belongs to the formula, where only
    // tab, line feed and carriage return are allowed.
    for (char16_t c = 0; c < 0x20; ++c) {
        const std::u16string around = std::u16string(1, c) + u"z" + std::u16string(1, c);
        const bool isSpace = c == u'\t' || c == u'\n' || c == u'\r';
        rows.push_back({"a control character around a variable", {around, u"", u"", u"5"},
                        isSpace ? u"5" : Err, u"", u"", u"5",
                        isSpace ? Ok : message(Stage::Main, 1)});
    }
    expectRows(rows);
}
