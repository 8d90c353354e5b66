#include "history/file_history_store.h"

#include "history/history_lines.h"
#include "platform/platform_error.h"
#include "support/history_file_at.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

HistoryEntry entry(std::int64_t time, std::u16string main)
{
    return {time, {std::move(main), u"", u"", u""}, {u"1", u"", u"", u"", {}, {}}};
}

std::string line(const HistoryEntry& e) { return historyLine(e) + '\n'; }

std::string contentOf(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write(const fs::path& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

struct StoreFixture
{
    HistoryScratch scratch;
    FileHistoryStore store{makeHistoryFileAt(scratch.file())};
    FileHistoryStore other{makeHistoryFileAt(scratch.file())};  // as another process holds it
};

}  // namespace

TEST(FileHistoryStore, LoadSkipsDamagedLinesAndWritesNothingWithinTheBounds)
{
    StoreFixture f;
    EXPECT_TRUE(f.store.load().empty());
    EXPECT_FALSE(fs::exists(f.scratch.file()));

    const std::string content = line(entry(1, u"a")) + "junk\n" + line(entry(2, u"b"));
    write(f.scratch.file(), content);
    EXPECT_EQ(f.store.load(), (std::vector{entry(1, u"a"), entry(2, u"b")}));
    EXPECT_EQ(contentOf(f.scratch.file()), content);
    EXPECT_FALSE(fs::exists(f.scratch.path() / "history.jsonl.damaged"));
}

TEST(FileHistoryStore, TrimsPastTheBoundsAndMovesDamagedLinesAside)
{
    StoreFixture f;
    for (const char* damaged : {"junk one", "junk two"}) {
        std::string content = std::string(damaged) + '\n';
        std::string kept;
        for (std::size_t i = 0; i <= MaxHistoryEntries; ++i) {
            const std::string digits = std::to_string(i);
            const std::string next
                = line(entry(std::int64_t(i), std::u16string(digits.begin(), digits.end())));
            content += next;
            if (i > 0)
                kept += next;
        }
        write(f.scratch.file(), content);
        EXPECT_EQ(f.store.load().size(), MaxHistoryEntries);
        EXPECT_EQ(contentOf(f.scratch.file()), kept);
    }
    EXPECT_EQ(contentOf(f.scratch.path() / "history.jsonl.damaged"), "junk one\n");
    EXPECT_EQ(contentOf(f.scratch.path() / "history.jsonl.damaged.1"), "junk two\n");
}

TEST(FileHistoryStore, RemoveAndClearKeepWhatOthersAppended)
{
    StoreFixture f;
    f.store.append(entry(1, u"a"));
    f.store.append(entry(2, u"b"));
    f.other.append(entry(3, u"c"));
    f.store.append(entry(4, u"b"));
    EXPECT_EQ(f.store.load(), (std::vector{entry(1, u"a"), entry(2, u"b"), entry(3, u"c"),
                                           entry(4, u"b")}));

    f.other.append(entry(5, u"d"));
    f.store.remove(entry(2, u"b"));
    EXPECT_EQ(contentOf(f.scratch.file()),
              line(entry(1, u"a")) + line(entry(3, u"c")) + line(entry(4, u"b"))
                  + line(entry(5, u"d")));

    write(f.scratch.file(), contentOf(f.scratch.file()) + "cut sho");
    f.store.clear();
    EXPECT_EQ(contentOf(f.scratch.file()), "");
    EXPECT_EQ(contentOf(f.scratch.path() / "history.jsonl.damaged"), "cut sho\n");
    EXPECT_TRUE(f.other.load().empty());
}

TEST(FileHistoryStore, AppendCreatesTheFoldersAndAddsOneLine)
{
    HistoryScratch scratch;
    const fs::path file = scratch.path() / "a" / "b" / "history.jsonl";
    FileHistoryStore store(makeHistoryFileAt(file));
    store.append(entry(7, u"x^2+y"));
    EXPECT_EQ(contentOf(file), line(entry(7, u"x^2+y")));
}

TEST(FileHistoryStore, SaysWhyAFileCannotBeReadAndNeverReadsTooMuch)
{
    struct Row
    {
        const char* name;
        void (*prepare)(const fs::path& file);
        const char* loadMessage;
        const char* appendMessage;  // null: append does not fail
    };
    const Row rows[] = {
        {"a folder in its place", [](const fs::path& file) { fs::create_directory(file); },
         "The history could not be read: ", "The history could not be saved: "},
        {"larger than the read limit",
         [](const fs::path& file) {
             write(file, "");
             fs::resize_file(file, HistoryReadLimit + 1);  // sparse: costs no disk
         },
         "The history could not be read: ", "The history could not be read: "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        StoreFixture f;
        row.prepare(f.scratch.file());
        try {
            f.store.load();
            ADD_FAILURE() << "load succeeded";
        } catch (const PlatformError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(row.loadMessage, 0), 0u) << e.what();
        }
        try {
            f.store.append(entry(1, u"a"));
            ADD_FAILURE() << "append succeeded";
        } catch (const PlatformError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(row.appendMessage, 0), 0u) << e.what();
        }
    }
}
