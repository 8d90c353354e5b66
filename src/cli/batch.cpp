#include "cli/batch.h"

#include "cli/batch_refusal.h"
#include "cli/batch_request.h"
#include "eval/evaluation_sequence.h"
#include "eval/json_text.h"
#include "reckoner/reckoner_evaluator.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace {

using Traits = std::streambuf::traits_type;

// The bytes of a long line, in memory up to a point and then in a temporary file, for reading
// again should the line be no request. Where no temporary file can be had, in memory.
class LineStore final : public LineSource
{
public:
    void add(std::string_view bytes)
    {
        if (bytes.empty())
            return;
        if (m_file == nullptr && !m_isInMemory && m_held.size() + bytes.size() > HeldBytes) {
            m_file.reset(std::tmpfile());
            m_isInMemory = m_file == nullptr;
            if (m_file != nullptr)
                put(std::exchange(m_held, {}));
        }
        put(bytes);
        m_isCrLast = bytes.back() == '\r';
    }

    std::string take() { return m_file != nullptr ? readBack() : std::move(m_held); }

    // without the CR before the line feed, as a line held whole is read
    std::size_t size() const override { return m_fileBytes + m_held.size() - (m_isCrLast ? 1 : 0); }

    void seek(std::size_t offset) override
    {
        m_readAt = std::min(offset, size());
        if (m_file == nullptr)
            return;
        std::rewind(m_file.get());
        for (std::size_t left = m_readAt; left > 0;) {
            const std::size_t step = std::min<std::size_t>(left, LONG_MAX);
            std::fseek(m_file.get(), static_cast<long>(step), SEEK_CUR);
            left -= step;
        }
    }

    void read(std::string& bytes, std::size_t most) override
    {
        bytes.resize(std::min(most, size() - m_readAt));
        if (m_file == nullptr)
            m_held.copy(bytes.data(), bytes.size(), m_readAt);
        else
            bytes.resize(std::fread(bytes.data(), 1, bytes.size(), m_file.get()));
        m_readAt += bytes.size();
    }

private:
    static constexpr std::size_t HeldBytes = 1 << 20;

    struct Closer
    {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    void put(std::string_view bytes)
    {
        if (m_file != nullptr) {
            const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), m_file.get());
            m_fileBytes += written;
            if (written == bytes.size())
                return;
            // the file takes no more (a full disk): memory it is
            m_held = readBack();
            m_file.reset();
            m_fileBytes = 0;
            m_isInMemory = true;
            bytes.remove_prefix(written);
        }
        m_held.append(bytes);
    }

    std::string readBack()
    {
        std::string bytes(m_fileBytes, '\0');
        std::rewind(m_file.get());
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), m_file.get()));
        return bytes;
    }

    std::string m_held;
    std::unique_ptr<std::FILE, Closer> m_file;
    std::size_t m_fileBytes = 0;
    std::size_t m_readAt = 0;
    bool m_isInMemory = false;  // no file to be had, or the file failed
    bool m_isCrLast = false;
};

// A line of ChunkReader's long lines: a request, read without holding it whole, or the line
// kept aside, and why it is none.
struct LongLine
{
    Formulas formulas;
    std::optional<RequestScanner> request;  // reads into `formulas`
    LineStore store;                        // when it is no request
    std::optional<Refusal> refusal;         // answered by writing it out from the store
};

// Reads the rest of the long line that `start` begins.
std::unique_ptr<LongLine> readLongLine(ChunkReader& reader, std::string& start,
                                       const BatchLimits& limits)
{
    auto line = std::make_unique<LongLine>();
    RequestScanner& scanner = line->request.emplace(line->formulas, limits.heldUnits);
    // a CR before the line feed is whitespace to the scanner, as it would be to the parser
    bool isRequest = scanner.feed(start);
    line->store.add(start);
    std::string().swap(start);
    std::string part;
    for (bool isMore = true; isMore;) {
        isMore = reader.nextPart(part);
        isRequest = isRequest && scanner.feed(part);
        line->store.add(part);
    }
    if (isRequest && scanner.finish())
        return line;
    line->request.reset();
    return line;
}

bool write(std::streambuf& out, std::string_view bytes)
{
    return out.sputn(bytes.data(), static_cast<std::streamsize>(bytes.size()))
           == static_cast<std::streamsize>(bytes.size());
}

// The answers of a chunk, and the answer of its long line when that is too long to be held.
bool writeAnswers(std::streambuf& out, std::string_view answers, LongLine* line)
{
    if (!write(out, answers))
        return false;
    return line == nullptr || !line->refusal || writeRefusal(*line->refusal, line->store, out);
}

// One evaluator for the lines of a thread; its buffers and the formulas' keep their size.
class LineAnswerer
{
public:
    explicit LineAnswerer(char16_t decimalPoint) : m_decimalPoint(decimalPoint) {}

    // Appends one answer line to `answers` for each line of `lines`; false when one failed.
    bool answer(std::string_view lines, std::string& answers)
    {
        bool allSucceeded = true;
        while (!lines.empty()) {
            const std::size_t end = std::min(lines.find('\n'), lines.size());
            const bool succeeded = answerLine(lines.substr(0, end), answers);
            allSucceeded = allSucceeded && succeeded;
            lines.remove_prefix(std::min(end + 1, lines.size()));
        }
        return allSucceeded;
    }

    // A line that is no request gets its refusal, for writeAnswers to write.
    bool answer(LongLine& line, std::string& answers)
    {
        if (!line.request) {
            line.refusal = findRefusal(line.store);
            // not expected, the scanner reads every request; should it miss one, the parser
            // answers it
            return line.refusal ? false : answerLine(line.store.take(), answers);
        }
        Outcome outcome = runEvaluation(m_evaluator, line.formulas, m_decimalPoint);
        line.request->placeProblem(outcome);
        return answerOutcome(outcome, answers);
    }

private:
    bool answerLine(std::string_view line, std::string& answers)
    {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::u16string problem = readRequest(line, m_formulas);
        if (problem.empty())
            return answerOutcome(runEvaluation(m_evaluator, m_formulas, m_decimalPoint), answers);
        appendErrorJson(answers, problem);
        answers += '\n';
        return false;
    }

    static bool answerOutcome(const Outcome& outcome, std::string& answers)
    {
        appendOutcomeJson(answers, outcome);
        answers += '\n';
        return outcome.status && *outcome.status == std::u16string_view(SuccessText);
    }


    ReckonerEvaluator m_evaluator;
    Formulas m_formulas;
    char16_t m_decimalPoint;
};

BatchResult runAlone(std::streambuf& in, std::streambuf& out, char16_t decimalPoint,
                     const BatchLimits& limits)
{
    ChunkReader reader(in, limits.longLineBytes);
    LineAnswerer answerer(decimalPoint);
    std::string chunk;
    std::string answers;
    bool allSucceeded = true;
    while (reader.next(chunk)) {
        answers.clear();
        std::unique_ptr<LongLine> line;
        if (reader.isLongLine())
            line = readLongLine(reader, chunk, limits);
        const bool succeeded =
            line ? answerer.answer(*line, answers) : answerer.answer(chunk, answers);
        allSucceeded = allSucceeded && succeeded;
        if (!writeAnswers(out, answers, line.get()))
            return {allSucceeded, true};
        if (!reader.isReady() && out.pubsync() != 0)
            return {allSucceeded, true};
    }
    return {allSucceeded, out.pubsync() != 0};
}

// The reader (the calling thread) fills a ring of chunks, the workers answer them in any order,
// and the writer writes them in the order read. A chunk goes back to the reader only once
// written, so the ring bounds the memory whatever the speeds of either end.
class ParallelBatch
{
public:
    ParallelBatch(std::streambuf& in, std::streambuf& out, char16_t decimalPoint, unsigned jobs,
                  const BatchLimits& limits)
        : m_in(in), m_out(out), m_decimalPoint(decimalPoint), m_jobs(jobs), m_limits(limits),
          m_slots(2 * jobs + 2)
    {
    }

    BatchResult run()
    {
        std::vector<std::thread> threads;
        guarded([&] {
            threads.emplace_back([this] { guarded([this] { writeAll(); }); });
            for (unsigned i = 0; i < m_jobs; ++i)
                threads.emplace_back([this] { guarded([this] { work(); }); });
            readAll();
        });
        {
            const std::lock_guard lock(m_mutex);
            m_isInputDone = true;
        }
        m_changed.notify_all();
        for (std::thread& thread : threads)
            thread.join();
        if (m_error)
            std::rethrow_exception(m_error);
        return {m_allSucceeded, m_isOutputBroken};
    }

private:
    struct Slot
    {
        std::string lines;
        std::unique_ptr<LongLine> longLine;  // instead of the lines
        std::string answers;
        bool allSucceeded = true;
        bool isAnswered = false;
    };

    Slot& slot(std::size_t sequence) { return m_slots[sequence % m_slots.size()]; }

    // An exception on any thread stops them all, and run() throws it again.
    template <typename Body>
    void guarded(Body body)
    {
        try {
            body();
        } catch (...) {
            {
                const std::lock_guard lock(m_mutex);
                if (!m_error)
                    m_error = std::current_exception();
                m_isStopped = true;
            }
            m_changed.notify_all();
        }
    }

    void readAll()
    {
        ChunkReader reader(m_in, m_limits.longLineBytes);
        for (;;) {
            Slot* free = nullptr;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [&] {
                    return m_isStopped || m_read - m_written < m_slots.size();
                });
                if (m_isStopped)
                    return;
                free = &slot(m_read);
            }
            // no other thread touches a slot between its writing and its reading
            if (!reader.next(free->lines))
                return;
            free->longLine.reset();
            if (reader.isLongLine())
                free->longLine = readLongLine(reader, free->lines, m_limits);
            {
                const std::lock_guard lock(m_mutex);
                free->isAnswered = false;
                ++m_read;
            }
            m_changed.notify_all();
        }
    }

    void work()
    {
        LineAnswerer answerer(m_decimalPoint);
        for (;;) {
            Slot* next = nullptr;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [&] {
                    return m_isStopped || m_isInputDone || m_taken < m_read;
                });
                if (m_isStopped || m_taken == m_read)
                    return;
                next = &slot(m_taken++);
            }
            next->answers.clear();
            next->allSucceeded = next->longLine ? answerer.answer(*next->longLine, next->answers)
                                                : answerer.answer(next->lines, next->answers);
            {
                const std::lock_guard lock(m_mutex);
                next->isAnswered = true;
            }
            m_changed.notify_all();
        }
    }

    void writeAll()
    {
        for (;;) {
            Slot* next = nullptr;
            {
                std::unique_lock lock(m_mutex);
                const auto isNextReady = [&] {
                    return m_written < m_read && slot(m_written).isAnswered;
                };
                if (!isNextReady()) {
                    // the reader of our output gets what there is while the rest is computed
                    lock.unlock();
                    if (m_out.pubsync() != 0)
                        return stopOnBrokenOutput();
                    lock.lock();
                }
                m_changed.wait(lock, [&] {
                    return m_isStopped || isNextReady() || (m_isInputDone && m_written == m_read);
                });
                if (m_isStopped || !isNextReady())
                    break;
                next = &slot(m_written);
            }
            m_allSucceeded = m_allSucceeded && next->allSucceeded;
            const bool isWritten = writeAnswers(m_out, next->answers, next->longLine.get());
            next->longLine.reset();
            if (!isWritten)
                return stopOnBrokenOutput();
            {
                const std::lock_guard lock(m_mutex);
                ++m_written;
            }
            m_changed.notify_all();
        }
        if (m_out.pubsync() != 0)
            stopOnBrokenOutput();
    }

    void stopOnBrokenOutput()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_isOutputBroken = true;
            m_isStopped = true;
        }
        m_changed.notify_all();
    }

    std::streambuf& m_in;
    std::streambuf& m_out;
    const char16_t m_decimalPoint;
    const unsigned m_jobs;
    const BatchLimits m_limits;
    std::vector<Slot> m_slots;

    std::mutex m_mutex;  // guards what follows, and each slot's isAnswered
    std::condition_variable m_changed;
    std::size_t m_read = 0;     // chunks the reader has filled
    std::size_t m_taken = 0;    // chunks a worker has taken
    std::size_t m_written = 0;  // chunks written out, in order
    bool m_isInputDone = false;
    bool m_isStopped = false;
    bool m_isOutputBroken = false;
    bool m_allSucceeded = true;  // the writer's alone
    std::exception_ptr m_error;
};

}  // namespace

bool ChunkReader::isReady()
{
    return !m_isAtEnd && m_in.in_avail() > 0;
}

// Appends what can be read without waiting, at least one byte unless at the end; returns how
// many bytes came.
std::size_t ChunkReader::readReady(std::string& bytes)
{
    if (m_isAtEnd || Traits::eq_int_type(m_in.sgetc(), Traits::eof())) {
        m_isAtEnd = true;
        return 0;
    }
    // in_avail() counts bytes that reading can give without waiting; sgetc() saw one
    const std::size_t ready =
        static_cast<std::size_t>(std::max<std::streamsize>(m_in.in_avail(), 1));
    const std::size_t start = bytes.size();
    bytes.resize(start + std::min(ready, ChunkBytes));
    const std::streamsize got =
        m_in.sgetn(bytes.data() + start, static_cast<std::streamsize>(bytes.size() - start));
    bytes.resize(start + static_cast<std::size_t>(std::max<std::streamsize>(got, 0)));
    return bytes.size() - start;
}

bool ChunkReader::next(std::string& chunk)
{
    assert(!m_isLongLine);
    chunk.swap(m_carry);
    m_carry.clear();
    // after the last line feed in `chunk`; the rest of a long line may leave whole lines
    std::size_t lineEnd = chunk.rfind('\n');
    if (lineEnd != std::string::npos)
        ++lineEnd;
    for (;;) {
        if (lineEnd != std::string::npos && (chunk.size() >= ChunkBytes || !isReady())) {
            m_carry.assign(chunk, lineEnd);
            chunk.resize(lineEnd);
            return true;
        }
        if (lineEnd == std::string::npos && chunk.size() >= m_longLineBytes) {
            m_isLongLine = true;
            return true;
        }
        const std::size_t start = chunk.size();
        if (readReady(chunk) == 0)
            return !chunk.empty();
        const std::size_t lastFeed = std::string_view(chunk).substr(start).rfind('\n');
        if (lastFeed != std::string_view::npos)
            lineEnd = start + lastFeed + 1;
    }
}

bool ChunkReader::nextPart(std::string& part)
{
    assert(m_isLongLine);
    part.clear();
    if (readReady(part) == 0) {
        m_isLongLine = false;
        return false;
    }
    const std::size_t feed = part.find('\n');
    if (feed == std::string::npos)
        return true;
    m_carry.assign(part, feed + 1);
    part.resize(feed);
    m_isLongLine = false;
    return false;
}

BatchResult runBatch(std::streambuf& in, std::streambuf& out, char16_t decimalPoint, unsigned jobs,
                     const BatchLimits& limits)
{
    if (jobs <= 1)
        return runAlone(in, out, decimalPoint, limits);
    return ParallelBatch(in, out, decimalPoint, jobs, limits).run();
}
