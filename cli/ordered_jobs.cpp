#include "cli/ordered_jobs.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace ambersel::cli {

struct JobQueue::State {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::function<void()>> jobs;
    bool stopping = false;
    std::vector<std::jthread> threads;

    // A thread's part: runs jobs until the queue ends.
    void work() {
        std::unique_lock lock(mutex);
        while (true) {
            changed.wait(lock, [this] { return stopping || !jobs.empty(); });
            if (stopping) {
                return;
            }
            std::function<void()> job = std::move(jobs.front());
            jobs.pop_front();
            lock.unlock();
            job();
            lock.lock();
        }
    }
};

JobQueue::JobQueue(std::size_t threads) : m_state(std::make_shared<State>()) {
    for (std::size_t thread = 0; thread < threads; ++thread) {
        m_state->threads.emplace_back([state = m_state.get()] { state->work(); });
    }
}

JobQueue::~JobQueue() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard lock(m_state->mutex);
        m_state->stopping = true;
        dropped.swap(m_state->jobs);
    }
    m_state->changed.notify_all();
    // Dropping a job breaks its promise, which wakes a job in turn that waits for it.
    dropped.clear();
    m_state->threads.clear();
}

void JobQueue::push(std::function<void()> job) {
    bool someoneWaits = false;
    {
        std::lock_guard lock(m_state->mutex);
        m_state->jobs.push_back(std::move(job));
        someoneWaits = !m_state->threads.empty();
    }
    if (someoneWaits) {
        m_state->changed.notify_one();
    }
}

bool JobQueue::runOne() {
    std::function<void()> job;
    {
        std::lock_guard lock(m_state->mutex);
        if (m_state->jobs.empty()) {
            return false;
        }
        job = std::move(m_state->jobs.front());
        m_state->jobs.pop_front();
    }
    job();
    return true;
}

bool JobQueue::stopping() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->stopping;
}

}  // namespace ambersel::cli
