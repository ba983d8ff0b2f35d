// The one worker thread for background work, its queue of jobs and the finished steps waiting
// for the main thread. Depends on platform/platform.h, platform/system.h and the C++ threads.
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <pthread.h>
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
  bool given_up = false;  // a StopWorker ran out of time: the thread is stuck in a job
  std::thread thread;
};

// Never destroyed: StopWorker (run by atexit) ends the thread before static destruction.
worker_state* worker_now = new worker_state;

// A child made by fork has no worker thread, and the parent's lock may be held: it starts
// afresh (the parent's state is left as it was, unreachable).
[[maybe_unused]] const bool fork_handled = pthread_atfork(nullptr, nullptr, [] { worker_now = new worker_state; }) == 0;

void WorkerLoop() {
  std::unique_lock lock(worker_now->mutex);
  for (;;) {
    worker_now->changed.wait(lock, [] { return !worker_now->queued.empty() || worker_now->stop; });
    if (worker_now->queued.empty()) return;  // stopping, and everything given has run
    TWorkJob job = std::move(worker_now->queued.front());
    worker_now->queued.pop_front();
    lock.unlock();
    TWorkDone done = job(worker_now->stop);
    job = nullptr;  // what the job captured goes on this thread, not under the lock
    lock.lock();
    worker_now->finished.push_back(std::move(done));
    --worker_now->unfinished;
    worker_now->changed.notify_all();
    WakeForWorkDone();
  }
}

}  // namespace

void RunInBackground(TWorkJob job) {
  std::lock_guard lock(worker_now->mutex);
  if (!worker_now->thread.joinable()) {
    static const bool stop_registered = std::atexit([] { StopWorker(); }) == 0;
    (void)stop_registered;
    worker_now->stop = false;
    worker_now->thread = std::thread(WorkerLoop);
  }
  worker_now->queued.push_back(std::move(job));
  ++worker_now->outstanding;
  ++worker_now->unfinished;
  worker_now->changed.notify_all();
}

int TakeFinishedWork() {
  std::deque<TWorkDone> finished;
  {
    std::lock_guard lock(worker_now->mutex);
    finished.swap(worker_now->finished);
    worker_now->outstanding -= static_cast<int>(finished.size());
  }
  for (auto& done : finished)
    if (done) done();
  return static_cast<int>(finished.size());
}

int WorkOutstanding() {
  std::lock_guard lock(worker_now->mutex);
  return worker_now->outstanding;
}

void WaitForWork() {
  std::unique_lock lock(worker_now->mutex);
  worker_now->changed.wait(lock, [] { return worker_now->unfinished == 0; });
}

bool StopWorker(int wait_ms) {
  {
    std::unique_lock lock(worker_now->mutex);
    if (!worker_now->thread.joinable()) return true;
    worker_now->stop = true;
    worker_now->changed.notify_all();
    // A job stuck in the system (a hung network folder) must not keep the program from
    // ending: once one wait has run out, later ones do not wait again.
    const auto wait = std::chrono::milliseconds(worker_now->given_up ? 0 : wait_ms);
    if (!worker_now->changed.wait_for(lock, wait, [] { return worker_now->unfinished == 0; })) {
      worker_now->given_up = true;
      return false;
    }
  }
  worker_now->thread.join();
  std::lock_guard lock(worker_now->mutex);
  worker_now->thread = std::thread();
  worker_now->finished.clear();
  worker_now->outstanding = worker_now->unfinished = 0;
  worker_now->given_up = false;
  return true;
}
