#include "cli/batch.h"

#include "cli/cli.h"
#include "fakes/fake_locales.h"

#include "support/trickling_input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using namespace std::string_literals;

namespace {

std::string fileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file) << path;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// `count` copies of `line`, made as they are read, 4096 bytes at a time; counts what was read.
class EndlessInput final : public std::streambuf
{
public:
    EndlessInput(std::string line, std::size_t count) : m_line(std::move(line)), m_left(count)
    {
        setg(m_block.data(), m_block.data(), m_block.data());
    }

    std::size_t size() const { return m_line.size() * m_total; }
    std::atomic<std::size_t> bytesRead = 0;  // handed out, whole blocks

protected:
    int_type underflow() override
    {
        m_block.clear();
        for (; m_left > 0 && m_block.size() < 4096; --m_left)
            m_block += m_line;
        if (m_block.empty())
            return traits_type::eof();
        bytesRead += m_block.size();
        setg(m_block.data(), m_block.data(), m_block.data() + m_block.size());
        return traits_type::to_int_type(*gptr());
    }

private:
    std::string m_line;
    std::size_t m_left;
    std::size_t m_total = m_left;
    std::string m_block;
};

}  // namespace

TEST(ChunkReader, CutsOnlyAfterALineFeedAndKeepsEveryByte)
{
    struct Row
    {
        const char* name;
        std::string input;
        std::vector<std::size_t> pieces;
        std::vector<std::string> chunks;
    };
    const std::string longLine(ChunkReader::ChunkBytes + 10, 'a');
    const Row rows[] = {
        {"nothing", "", {5}, {}},
        {"one blank line", "\n", {5}, {"\n"}},
        {"no line feed at the end", "ab\ncd", {100}, {"ab\n", "cd"}},
        {"CR LF and a lone CR are bytes like any other", "a\r\nb\rc\n", {100}, {"a\r\nb\rc\n"}},
        {"what is ready, in whole lines", "ab\ncd\nef\n", {4, 1, 100}, {"ab\n", "cd\nef\n"}},
        {"a line across pieces", "abcdef\ng\n", {1, 2, 3, 2}, {"abcdef\n", "g\n"}},
        {"a line longer than a chunk is whole", longLine + "\nb\n",
         {ChunkReader::ChunkBytes, 11, 100}, {longLine + "\n", "b\n"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TricklingInput input(row.input, row.pieces);
        ChunkReader reader(input);
        std::vector<std::string> chunks;
        for (std::string chunk; reader.next(chunk);)
            chunks.push_back(chunk);
        EXPECT_TRUE(chunks == row.chunks) << chunks.size() << " chunks";
    }
}

TEST(Batch, AnswersInInputOrderWithAnyNumberOfJobs)
{
    // mixed lines: successes, failures, lines that are no request or no JSON, raw control
    // characters, lone surrogates and formulas over the length limit
    const std::string lines = fileBytes(SUMWRIGHT_CLI_TEST_DATA "/batch_mixed.jsonl");
    const std::string answers = fileBytes(SUMWRIGHT_CLI_TEST_DATA "/batch_mixed.answers");
    struct Row { unsigned jobs; BatchLimits limits; };
    // Small limits read most lines in parts and hold few units of a formula, the way a line
    // of a hundred megabytes is read.
    const BatchLimits small{64, 40};
    const Row rows[] = {{1, {}}, {2, {}}, {4, {}}, {1, small}, {3, small}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.jobs << " jobs, lines in parts from "
                                        << row.limits.longLineBytes << " bytes");
        // pieces small enough for many chunks, so that their answers come back out of order
        TricklingInput input(lines, {1, 700, 30, 5000, 3, 100000});
        std::stringbuf output;
        const BatchResult result = runBatch(input, output, u'.', row.jobs, row.limits);
        EXPECT_FALSE(result.allSucceeded);
        EXPECT_FALSE(result.isOutputBroken);
        EXPECT_TRUE(output.str() == answers);  // not printed: hundreds of kilobytes
    }
}

TEST(Batch, AnswersALineThatIsNoRequestReadInPartsAsWhenHeldWhole)
{
    // long enough to cross the blocks in which the line is read back
    const std::string text(70000, 'a');
    const std::string utf8 = "\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80";
    const std::string deep(1001, '[');
    struct Row { const char* name; std::string line; };
    const Row rows[] = {
        {"no JSON at all", "hello " + text},
        {"an unknown key, escapes and a lone surrogate in it",
         R"({"main":"1","k\u0065y\ud800)" + text + utf8 + R"(":"2"})"},
        {"a value that is no string", R"({"x":")" + text + R"(","main":[1,2]})"},
        {"a truncated object", R"({"main":")" + text + R"(")"},
        {"a truncated string, the last read quoted",
         R"({"main":")" + text + utf8 + "\xe2\x82"},
        {"a control character, shown as the parser shows it",
         R"({"z":")" + text + "\x01\x7f" + R"("})"},
        {"an escape that is cut short", R"({"y":")" + text + R"(\ud800\u12x"})"},
        {"ill-formed UTF-8", R"({"main":")" + text + "\xed\xa0\x80" + R"("})"},
        {"spaces and brackets since the last token", R"({"main":"1",)" + text + "   ]"},
        {"a number too large for a double", R"({"main":1)" + std::string(400, '0') + "}"},
        {"a number just within a double", R"({"main":17976931348623157)" +
                                              std::string(292, '0') + "}"},
        {"nested too deep", deep},
        {"an array, not an object", R"([")" + text + R"("])"},
        {"a byte order mark cut short", "\xef\xbb" + text},
        {"something after the object", R"({"main":")" + text + R"("} {})"},
        {"a CR before the line feed", R"({"main":")" + text + "\r"},
        {"no key after a comma", R"({"main":")" + text + R"(", 12})"},
        {"no colon after a key", R"({"x":")" + text + R"(", "y" "1"})"},
        {"a literal cut short", R"({"main":")" + text + R"(", "x":tru})"},
        {"a number cut short", R"({"main":")" + text + R"(", "x":[-, 1., 1e+]})"},
        {"a NUL where a token should be", R"({"main":")" + text + "\",\0}"s},
        {"a key after a byte order mark, spelled with escapes",
         "\xef\xbb\xbf" R"({"\u006dain\n":")" + text + R"("})"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::stringbuf whole(row.line + "\n");
        std::stringbuf held;
        runBatch(whole, held, u'.', 1);
        ASSERT_TRUE(held.str().starts_with(R"({"error":)"));
        for (const unsigned jobs : {1u, 3u}) {
            TricklingInput input(row.line + "\n", {1000, 7});
            std::stringbuf parts;
            EXPECT_FALSE(runBatch(input, parts, u'.', jobs, {64, 40}).allSucceeded);
            EXPECT_TRUE(parts.str() == held.str()) << parts.str().substr(0, 300);
        }
    }
}

TEST(Batch, ReadsNoFurtherAheadThanABoundedNumberOfChunksForASlowReader)
{
    // The first write waits until the reading stops, as a reader that takes its time makes it
    // do, notes how far the reading got ahead of it, and ends the run.
    class SlowOutput final : public std::streambuf
    {
    public:
        explicit SlowOutput(const EndlessInput& input) : m_input(input) {}
        std::size_t mostAhead = 0;  // bytes read, none of them answered yet

    protected:
        std::streamsize xsputn(const char*, std::streamsize) override
        {
            waitUntilReadingStops();
            mostAhead = m_input.bytesRead;
            return 0;
        }

    private:
        void waitUntilReadingStops() const
        {
            std::size_t before = 0;
            do {
                before = m_input.bytesRead;
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            } while (m_input.bytesRead != before && m_input.bytesRead < m_input.size());
        }

        const EndlessInput& m_input;
    };

    const std::string line = R"({"main":"1+1"})" "\n";
    for (const unsigned jobs : {1u, 3u}) {
        SCOPED_TRACE(jobs);
        EndlessInput input(line, 1'000'000);
        SlowOutput output(input);
        EXPECT_TRUE(runBatch(input, output, u'.', jobs).isOutputBroken);
        // the ring of chunks, the chunk being read and a block read ahead
        const std::size_t limit = (2 * jobs + 4) * (ChunkReader::ChunkBytes + 4096);
        EXPECT_LE(output.mostAhead, limit);
        EXPECT_GT(input.size(), 4 * limit);  // or the reading could never have outrun the bound
    }
}

TEST(Batch, StopsQuietlyWhenTheOutputIsGone)
{
    // takes a first block, as a pipe does until its reader goes away
    class ClosedOutput final : public std::streambuf
    {
    protected:
        std::streamsize xsputn(const char*, std::streamsize count) override
        {
            return std::exchange(m_isOpen, false) ? count : 0;
        }
        int sync() override { return m_isOpen ? 0 : -1; }

    private:
        bool m_isOpen = true;
    };
    for (const char16_t* jobs : {u"1", u"3"}) {
        SCOPED_TRACE(std::string(jobs, jobs + 1));
        EndlessInput input(R"({"main":"1+1"})" "\n", 3'000'000);
        ClosedOutput output;
        std::istream in(&input);
        std::ostream out(&output);
        std::ostringstream err;
        EXPECT_EQ(runCli({u"--batch", u"--jobs", jobs}, in, out, err, FakeLocales()),
                  ExitNotSuccessful);
        EXPECT_EQ(err.str(), "");
        EXPECT_LT(input.bytesRead, input.size() / 4);  // the rest is never read
    }
}
