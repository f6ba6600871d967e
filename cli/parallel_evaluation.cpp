#include "cli/parallel_evaluation.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace ambersel::cli {
namespace {

// Files evaluated ahead of the one being delivered, per job: enough that a slow file does not
// leave a worker idle, few enough that the points held stay a handful of lists.
constexpr std::size_t kFilesAheadPerJob = 2;

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

    void work() {
        while (true) {
            std::size_t index = 0;
            std::size_t turn = 0;
            {
                std::unique_lock lock(m_mutex);
                m_roomChanged.wait(lock, [this] {
                    return m_stopping || m_claimed == m_files.size() ||
                           m_claimed < m_delivered + m_slots.size();
                });
                if (m_stopping || m_claimed == m_files.size()) {
                    return;
                }
                index = m_claimed++;
                if (m_files[index] == "-") {
                    turn = m_inputTurnsClaimed++;
                }
            }
            const std::size_t slot = index % m_slots.size();
            if (m_files[index] == "-") {
                evaluateInTurn(index, slot, turn);
            } else {
                evaluate(index, slot);
            }
            std::lock_guard lock(m_mutex);
            m_ready[slot] = true;
            m_readyChanged.notify_all();
        }
    }

    // Waits for the file at `index`, the one after the last delivered, and hands it over; rethrows
    // what its evaluation threw.
    PreparedFile& awaitNext(std::size_t index) {
        const std::size_t slot = index % m_slots.size();
        std::unique_lock lock(m_mutex);
        m_readyChanged.wait(lock, [&] { return m_ready[slot]; });
        if (m_failures[slot]) {
            std::rethrow_exception(m_failures[slot]);
        }
        return m_slots[slot];
    }

    void delivered(std::size_t index) {
        const std::size_t slot = index % m_slots.size();
        m_slots[slot] = PreparedFile();
        std::lock_guard lock(m_mutex);
        m_ready[slot] = false;
        ++m_delivered;
        m_roomChanged.notify_all();
    }

    void stop() {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_roomChanged.notify_all();
        m_inputTurnChanged.notify_all();
    }

  private:
    void evaluate(std::size_t index, std::size_t slot) {
        try {
            m_slots[slot].evaluation = evaluateListFile(m_files[index], m_facts);
            m_prepare(m_slots[slot]);
        } catch (...) {
            m_failures[slot] = std::current_exception();
        }
    }

    // Standard input is one stream: its readers take it in the order of the files, as they would
    // one after the other.
    void evaluateInTurn(std::size_t index, std::size_t slot, std::size_t turn) {
        {
            std::unique_lock lock(m_mutex);
            m_inputTurnChanged.wait(lock, [&] { return m_stopping || m_inputTurnsDone == turn; });
        }
        evaluate(index, slot);
        std::lock_guard lock(m_mutex);
        ++m_inputTurnsDone;
        m_inputTurnChanged.notify_all();
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
    if (jobs <= 1) {
        for (const std::string& file : files) {
            PreparedFile prepared;
            prepared.evaluation = evaluateListFile(file, facts);
            prepare(prepared);
            deliver(prepared);
        }
        return;
    }
    OrderedEvaluation evaluation(files, kFilesAheadPerJob * jobs, facts, prepare);
    std::vector<std::jthread> workers;
    // Declared after the workers, so it stops them before they are joined.
    const StopOnExit stopOnExit(evaluation);
    const std::size_t threads = std::min<std::size_t>(jobs, files.size());
    for (std::size_t job = 0; job < threads; ++job) {
        workers.emplace_back([&evaluation] { evaluation.work(); });
    }
    for (std::size_t index = 0; index < files.size(); ++index) {
        deliver(evaluation.awaitNext(index));
        evaluation.delivered(index);
    }
}

}  // namespace ambersel::cli
