#pragma once

// Many jobs run on every core while their results are delivered exactly as one after the other
// would deliver them: in order, each whole. A bounded ring of futures: the calling thread hands
// the next jobs to a queue as the ring has room, delivers the oldest result when it is ready, and
// runs queued jobs itself while it is not, so that it sleeps only when there is nothing to do.

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <stdexcept>

namespace ambersel::cli {

// Jobs made ahead of the one being delivered, per thread: enough that a slow list does not leave
// a thread idle, few enough that the lists held stay a handful.
inline constexpr std::size_t kJobsAheadPerThread = 4;

// What a job in turn (turnTaken()) throws when the run stopped before its turn came.
class RunStopped : public std::runtime_error {
  public:
    RunStopped() : std::runtime_error("the run stopped") {}
};

// First in, first out, run by threads of its own and by whoever calls runOne(). Ends, on every
// way out, by dropping what has not started and joining its threads once they finish what has.
class JobQueue {
  public:
    explicit JobQueue(std::size_t threads);
    JobQueue(const JobQueue&) = delete;
    JobQueue& operator=(const JobQueue&) = delete;
    ~JobQueue();

    void push(std::function<void()> job);
    // Runs the oldest job not yet started on the calling thread; false when there is none.
    bool runOne();
    // True once the queue is ending: jobs in turn check it before they take their turn.
    bool stopping() const;

  private:
    struct State;
    std::shared_ptr<State> m_state;
};

// Runs make(i) for i from 0 to count - 1 on `threads` threads, the calling thread one of them, and
// deliver(result) on the calling thread in the order of i. At most kJobsAheadPerThread × threads
// results are made and not yet delivered. Jobs for which inTurn(i) holds run one after the other in
// the order of i, each only once the one before it has ended, and not at all once the run stops
// (they read one stream, standard input, say). What make or deliver throws ends the run at that
// job's turn and is rethrown here, after every thread has ended.
template <typename Result>
void deliverInOrder(std::size_t count, unsigned threads,
                    const std::function<bool(std::size_t)>& inTurn,
                    const std::function<Result(std::size_t)>& make,
                    const std::function<void(Result&)>& deliver) {
    threads = threads == 0 ? 1 : threads;
    JobQueue queue(threads - 1);
    std::deque<std::future<Result>> ring;
    std::shared_future<void> lastTurn;
    std::size_t next = 0;
    while (next < count || !ring.empty()) {
        for (; next < count && ring.size() < kJobsAheadPerThread * threads; ++next) {
            std::function<Result()> job = [&make, next] { return make(next); };
            if (inTurn(next)) {
                auto turnEnded = std::make_shared<std::promise<void>>();
                job = [&make, &queue, next, before = lastTurn, turnEnded] {
                    if (before.valid()) {
                        before.wait();
                    }
                    if (queue.stopping()) {
                        throw RunStopped();
                    }
                    Result result = make(next);
                    turnEnded->set_value();
                    return result;
                };
                lastTurn = turnEnded->get_future().share();
            }
            auto task = std::make_shared<std::packaged_task<Result()>>(std::move(job));
            ring.push_back(task->get_future());
            queue.push([task] { (*task)(); });
        }
        std::future<Result>& oldest = ring.front();
        while (oldest.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
            if (!queue.runOne()) {
                oldest.wait();
            }
        }
        Result result = oldest.get();
        ring.pop_front();
        deliver(result);
    }
}

}  // namespace ambersel::cli
