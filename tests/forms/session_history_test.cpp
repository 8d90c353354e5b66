#include "forms/session_history.h"

#include "fakes/fake_clock.h"
#include "fakes/fake_history_store.h"
#include "fakes/fake_message_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct HistoryFixture
{
    FakeHistoryStore store;
    FakeClock clock;
    FakeMessageBox messageBox;
    SessionHistory history{store, clock, messageBox};

    void record(std::u16string_view main, bool isKept)
    {
        history.record({std::u16string(main), u"", u"", u""}, Outcome{}, isKept);
    }
    std::vector<std::string> mains()
    {
        std::vector<std::string> names;
        for (const HistoryEntry& entry : history.entries())
            names.emplace_back(entry.input.main.begin(), entry.input.main.end());
        return names;
    }
    static HistoryEntry stored(std::u16string_view main, std::int64_t time)
    {
        return {time, {std::u16string(main), u"", u"", u""}, {}};
    }
};

TEST(SessionHistory, KeepsInTheStoreOnlyWhileSaveInputOnExitIsChecked)
{
    struct Row
    {
        const char* name;
        bool isStoredKept;  // at start
        std::vector<bool> isKeptAtEach;  // the check mark at each of the evaluations a, b, a
        int checksBefore;                // the evaluation before which the user checks it
        std::vector<std::string> mains;
        std::vector<std::string> calls;
    };
    const Row rows[] = {
        {"unchecked throughout", false, {false, false, false}, -1, {"a", "b", "a"}, {}},
        {"checked throughout", false, {true, true, true}, -1, {"a", "b", "a"},
         {"append a", "append b", "append a"}},
        {"checked later: the run so far is kept then", false, {false, false, true}, 2,
         {"a", "b", "a"}, {"append a", "append b", "append a"}},
        {"stored entries come first, read once", true, {true, false, true}, 2,
         {"old", "a", "b", "a"}, {"append a", "load", "append b", "append a"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HistoryFixture f;
        f.store.kept = {HistoryFixture::stored(u"old", 1)};
        f.history.start(row.isStoredKept);
        const std::u16string mains[] = {u"a", u"b", u"a"};
        for (std::size_t i = 0; i < 3; ++i) {
            if (static_cast<int>(i) == row.checksBefore)
                f.history.keep();
            f.record(mains[i], row.isKeptAtEach[i]);
            if (i == 0)
                f.mains();  // the window shows the history: the stored part is read now
        }
        EXPECT_EQ(f.mains(), row.mains);
        EXPECT_EQ(f.store.calls, row.calls);
        EXPECT_TRUE(f.messageBox.shown.empty());
    }
}

TEST(SessionHistory, TheSameFormulasAgainOnlyMoveTheNewestEntrysTime)
{
    HistoryFixture f;
    f.history.start(false);
    f.record(u"a", true);
    f.record(u"a", true);
    ASSERT_EQ(f.mains(), std::vector<std::string>{"a"});
    EXPECT_EQ(f.history.entries().back().time, f.clock.time - 1);
    EXPECT_EQ(f.store.kept.size(), 1u);

    f.record(u"b", false);
    f.record(u"a", false);  // not the newest: a new entry
    EXPECT_EQ(f.mains(), (std::vector<std::string>{"a", "b", "a"}));
}

TEST(SessionHistory, DeletesFromTheStoreWhatItHoldsAndClearsItWhateverTheCheckMark)
{
    HistoryFixture f;
    f.store.kept = {HistoryFixture::stored(u"old", 1)};
    f.history.start(true);
    f.record(u"a", false);
    f.record(u"b", true);
    ASSERT_EQ(f.mains(), (std::vector<std::string>{"old", "b", "a"}));
    f.store.calls.clear();

    f.history.remove(2);  // this run's, never stored
    f.history.remove(0);  // an earlier run's
    EXPECT_EQ(f.mains(), std::vector<std::string>{"b"});
    EXPECT_EQ(f.store.calls, std::vector<std::string>{"remove old"});

    f.history.clear();
    EXPECT_TRUE(f.mains().empty());
    EXPECT_EQ(f.store.calls, (std::vector<std::string>{"remove old", "clear"}));
    EXPECT_TRUE(f.store.kept.empty());
}

TEST(SessionHistory, AStoreThatRefusesIsReportedOnceAndTheRunGoesOn)
{
    HistoryFixture f;
    f.store.refuses = true;
    f.history.start(true);
    f.record(u"a", true);
    f.record(u"b", true);
    f.history.keep();
    EXPECT_EQ(f.mains(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(f.store.calls, std::vector<std::string>{"append a"});
    EXPECT_EQ(f.messageBox.shown,
              std::vector<std::u16string>{u"The history could not be written: disk full.\n\n"
                                          u"Sumwright keeps the history of this session only."});
}

}  // namespace
