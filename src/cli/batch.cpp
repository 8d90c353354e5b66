#include "cli/batch.h"

#include "cli/batch_request.h"
#include "cli/json_text.h"
#include "eval/evaluation_sequence.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Traits = std::streambuf::traits_type;

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
            std::string_view line = lines.substr(0, end);
            lines.remove_prefix(std::min(end + 1, lines.size()));
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            const std::u16string problem = readRequest(line, m_formulas);
            if (!problem.empty()) {
                appendErrorJson(answers, problem);
                allSucceeded = false;
            } else {
                const Outcome outcome = runEvaluation(m_evaluator, m_formulas, m_decimalPoint);
                allSucceeded = allSucceeded && outcome.status
                               && *outcome.status == std::u16string_view(SuccessText);
                appendOutcomeJson(answers, outcome);
            }
            answers += '\n';
        }
        return allSucceeded;
    }

private:
    ReckonerEvaluator m_evaluator;
    Formulas m_formulas;
    char16_t m_decimalPoint;
};

bool write(std::streambuf& out, std::string_view bytes)
{
    return out.sputn(bytes.data(), static_cast<std::streamsize>(bytes.size()))
           == static_cast<std::streamsize>(bytes.size());
}

BatchResult runAlone(std::streambuf& in, std::streambuf& out, char16_t decimalPoint)
{
    ChunkReader reader(in);
    LineAnswerer answerer(decimalPoint);
    std::string chunk;
    std::string answers;
    bool allSucceeded = true;
    while (reader.next(chunk)) {
        answers.clear();
        const bool succeeded = answerer.answer(chunk, answers);
        allSucceeded = allSucceeded && succeeded;
        if (!write(out, answers))
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
    ParallelBatch(std::streambuf& in, std::streambuf& out, char16_t decimalPoint, unsigned jobs)
        : m_in(in), m_out(out), m_decimalPoint(decimalPoint), m_jobs(jobs), m_slots(2 * jobs + 2)
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
        ChunkReader reader(m_in);
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
            next->allSucceeded = answerer.answer(next->lines, next->answers);
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
            if (!write(m_out, next->answers))
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

bool ChunkReader::next(std::string& chunk)
{
    chunk.swap(m_carry);
    m_carry.clear();
    std::size_t lineEnd = std::string::npos;  // after the last line feed in `chunk`
    for (;;) {
        if (lineEnd != std::string::npos && (chunk.size() >= ChunkBytes || !isReady())) {
            m_carry.assign(chunk, lineEnd);
            chunk.resize(lineEnd);
            return true;
        }
        if (m_isAtEnd || Traits::eq_int_type(m_in.sgetc(), Traits::eof())) {
            m_isAtEnd = true;
            return !chunk.empty();
        }
        // in_avail() counts bytes that reading can give without waiting; sgetc() saw one
        const std::size_t ready = static_cast<std::size_t>(std::max<std::streamsize>(
            m_in.in_avail(), 1));
        const std::size_t start = chunk.size();
        chunk.resize(start + std::min(ready, ChunkBytes));
        const std::streamsize got = m_in.sgetn(chunk.data() + start,
                                               static_cast<std::streamsize>(chunk.size() - start));
        chunk.resize(start + static_cast<std::size_t>(std::max<std::streamsize>(got, 0)));
        const std::size_t lastFeed = std::string_view(chunk).substr(start).rfind('\n');
        if (lastFeed != std::string_view::npos)
            lineEnd = start + lastFeed + 1;
    }
}

BatchResult runBatch(std::streambuf& in, std::streambuf& out, char16_t decimalPoint, unsigned jobs)
{
    if (jobs <= 1)
        return runAlone(in, out, decimalPoint);
    return ParallelBatch(in, out, decimalPoint, jobs).run();
}
