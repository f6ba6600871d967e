#include "cli/parallel_evaluation.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>

namespace ambersel::cli {
namespace {

// The calling thread is one of the jobs: it delivers whatever is next and ready, and evaluates
// files itself while that is not. A thread sleeps only when the window is full or the next file is
// the last ones still being evaluated, so on a virtual machine, where a sleep and a wake cost as
// much as reading a small list, handing files over costs next to nothing.
class OrderedEvaluation {
  public:
    OrderedEvaluation(const std::vector<std::string>& files, std::size_t window,
                      FileFactsWanted facts, const PrepareFile& prepare)
        : m_files(files),
          m_facts(facts),
          m_prepare(prepare),
          m_slots(window),
          m_ready(window, false),
          m_failures(window) {}

    // A worker thread's part: evaluates files while there are files and room for them.
    void work() {
        std::unique_lock lock(m_mutex);
        while (true) {
            if (!m_stopping && !canClaim() && m_claimed < m_files.size()) {
                ++m_workersWaiting;
                m_roomChanged.wait(lock, [this] {
                    return m_stopping || canClaim() || m_claimed == m_files.size();
                });
                --m_workersWaiting;
            }
            if (m_stopping || m_claimed == m_files.size()) {
                return;
            }
            evaluateNext(lock);
        }
    }

    // The calling thread's part: delivers every file in order, evaluating files while the next one
    // is not ready. Rethrows what a file's evaluation threw, at that file's turn.
    void deliverAll(const DeliverFile& deliver) {
        std::unique_lock lock(m_mutex);
        for (std::size_t index = 0; index < m_files.size();) {
            const std::size_t slot = index % m_slots.size();
            if (m_ready[slot]) {
                lock.unlock();
                if (m_failures[slot]) {
                    std::rethrow_exception(m_failures[slot]);
                }
                deliver(m_slots[slot]);
                m_slots[slot] = PreparedFile();
                lock.lock();
                m_ready[slot] = false;
                m_delivered = ++index;
                if (m_workersWaiting > 0) {
                    m_roomChanged.notify_one();
                }
            } else if (canClaim()) {
                evaluateNext(lock);
            } else {
                m_awaited = index;
                m_readyChanged.wait(lock, [&] { return m_ready[slot]; });
                m_awaited = kNoneAwaited;
            }
        }
    }

    void stop() {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_roomChanged.notify_all();
        m_inputTurnChanged.notify_all();
    }

  private:
    static constexpr std::size_t kNoneAwaited = SIZE_MAX;

    bool canClaim() const {
        return m_claimed < m_files.size() && m_claimed < m_delivered + m_slots.size();
    }

    // Claims the next file and evaluates it with `lock` released; returns with it held again.
    void evaluateNext(std::unique_lock<std::mutex>& lock) {
        const std::size_t index = m_claimed++;
        const std::size_t slot = index % m_slots.size();
        const bool standardInput = m_files[index] == "-";
        if (standardInput) {
            // Standard input is one stream: its readers take it in the order of the files, as
            // they would one after the other.
            const std::size_t turn = m_inputTurnsClaimed++;
            m_inputTurnChanged.wait(lock, [&] { return m_stopping || m_inputTurnsDone == turn; });
        }
        lock.unlock();
        try {
            m_slots[slot].evaluation = evaluateListFile(m_files[index], m_facts);
            m_prepare(m_slots[slot]);
        } catch (...) {
            m_failures[slot] = std::current_exception();
        }
        lock.lock();
        m_ready[slot] = true;
        if (standardInput) {
            ++m_inputTurnsDone;
            m_inputTurnChanged.notify_all();
        }
        if (m_awaited == index) {
            m_readyChanged.notify_one();
        }
    }

    const std::vector<std::string>& m_files;
    FileFactsWanted m_facts;
    const PrepareFile& m_prepare;
    std::vector<PreparedFile> m_slots;
    std::vector<bool> m_ready;
    std::vector<std::exception_ptr> m_failures;

    std::mutex m_mutex;
    std::condition_variable m_roomChanged;
    std::condition_variable m_readyChanged;
    std::condition_variable m_inputTurnChanged;
    std::size_t m_claimed = 0;
    std::size_t m_delivered = 0;
    std::size_t m_awaited = kNoneAwaited;
    std::size_t m_workersWaiting = 0;
    std::size_t m_inputTurnsClaimed = 0;
    std::size_t m_inputTurnsDone = 0;
    bool m_stopping = false;
};

// Stops the workers on every way out, so that the threads end before what they use is gone.
class StopOnExit {
  public:
    explicit StopOnExit(OrderedEvaluation& evaluation) : m_evaluation(evaluation) {}
    StopOnExit(const StopOnExit&) = delete;
    StopOnExit& operator=(const StopOnExit&) = delete;
    ~StopOnExit() { m_evaluation.stop(); }

  private:
    OrderedEvaluation& m_evaluation;
};

}  // namespace

void evaluateInOrder(const std::vector<std::string>& files, unsigned jobs, FileFactsWanted facts,
                     const PrepareFile& prepare, const DeliverFile& deliver) {
    jobs = std::max(jobs, 1U);
    OrderedEvaluation evaluation(files, kFilesAheadPerJob * jobs, facts, prepare);
    std::vector<std::jthread> workers;
    // Declared after the workers, so it stops them before they are joined.
    const StopOnExit stopOnExit(evaluation);
    const std::size_t helpers = std::min<std::size_t>(jobs, files.size()) - (files.empty() ? 0 : 1);
    for (std::size_t job = 0; job < helpers; ++job) {
        workers.emplace_back([&evaluation] { evaluation.work(); });
    }
    evaluation.deliverAll(deliver);
}

}  // namespace ambersel::cli
