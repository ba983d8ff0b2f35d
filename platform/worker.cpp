// The one worker thread for background work, its queue of jobs and the finished steps waiting
// for the main thread. Depends on platform/platform.h, platform/system.h and the C++ threads.
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/platform.h"
#include "platform/system.h"

namespace {

struct worker_state {
  std::mutex mutex;
  std::condition_variable changed;  // a job was queued or finished, or stop was set
  std::deque<TWorkJob> queued;
  std::deque<TWorkDone> finished;
  int outstanding = 0;  // given and not yet taken back
  int unfinished = 0;   // given and not yet finished
  std::atomic<bool> stop{false};
  std::thread thread;
};

// Never destroyed: StopWorker (run by atexit) ends the thread before static destruction.
worker_state& worker = *new worker_state;

void WorkerLoop() {
  std::unique_lock lock(worker.mutex);
  for (;;) {
    worker.changed.wait(lock, [] { return !worker.queued.empty() || worker.stop; });
    if (worker.queued.empty()) return;  // stopping, and everything given has run
    TWorkJob job = std::move(worker.queued.front());
    worker.queued.pop_front();
    lock.unlock();
    TWorkDone done = job(worker.stop);
    job = nullptr;  // what the job captured goes on this thread, not under the lock
    lock.lock();
    worker.finished.push_back(std::move(done));
    --worker.unfinished;
    worker.changed.notify_all();
    WakeForWorkDone();
  }
}

}  // namespace

void RunInBackground(TWorkJob job) {
  std::lock_guard lock(worker.mutex);
  if (!worker.thread.joinable()) {
    static const bool stop_registered = std::atexit(StopWorker) == 0;
    (void)stop_registered;
    worker.stop = false;
    worker.thread = std::thread(WorkerLoop);
  }
  worker.queued.push_back(std::move(job));
  ++worker.outstanding;
  ++worker.unfinished;
  worker.changed.notify_all();
}

int TakeFinishedWork() {
  std::deque<TWorkDone> finished;
  {
    std::lock_guard lock(worker.mutex);
    finished.swap(worker.finished);
    worker.outstanding -= static_cast<int>(finished.size());
  }
  for (auto& done : finished)
    if (done) done();
  return static_cast<int>(finished.size());
}

int WorkOutstanding() {
  std::lock_guard lock(worker.mutex);
  return worker.outstanding;
}

void WaitForWork() {
  std::unique_lock lock(worker.mutex);
  worker.changed.wait(lock, [] { return worker.unfinished == 0; });
}

void StopWorker() {
  {
    std::lock_guard lock(worker.mutex);
    if (!worker.thread.joinable()) return;
    worker.stop = true;
    worker.changed.notify_all();
  }
  worker.thread.join();
  std::lock_guard lock(worker.mutex);
  worker.thread = std::thread();
  worker.finished.clear();
  worker.outstanding = worker.unfinished = 0;
}
