// The worker thread: jobs run off the main thread in order, their steps run only when the main
// thread takes them back, and stopping ends a long job early and leaves nothing running.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/platform.h"

namespace {

class WorkerTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetPlatform(); }
  void TearDown() override { ResetPlatform(); }
};

TEST_F(WorkerTest, JobsRunInOrderOffTheMainThreadAndStepsRunWhenTaken) {
  const auto main_thread = std::this_thread::get_id();
  std::vector<int> ran, taken;  // ran: written on the worker only, read after WaitForWork
  bool off_main = true;
  for (int k = 1; k <= 5; ++k) {
    RunInBackground([&, k](const std::atomic<bool>&) -> TWorkDone {
      off_main = off_main && std::this_thread::get_id() != main_thread;
      ran.push_back(k);
      return [&taken, k] { taken.push_back(k); };
    });
  }
  EXPECT_EQ(WorkOutstanding(), 5);
  WaitForWork();
  EXPECT_EQ(ran, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_TRUE(off_main);
  EXPECT_TRUE(taken.empty()) << "steps wait for the main thread";
  EXPECT_EQ(WorkOutstanding(), 5);

  EXPECT_EQ(TakeFinishedWork(), 5);
  EXPECT_EQ(taken, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(WorkOutstanding(), 0);
  EXPECT_EQ(TakeFinishedWork(), 0);

  // A job without a step is taken back all the same.
  RunInBackground([](const std::atomic<bool>&) -> TWorkDone { return nullptr; });
  WaitForWork();
  EXPECT_EQ(TakeFinishedWork(), 1);
}

TEST_F(WorkerTest, StoppingEndsAWatchfulJobEarlyButLetsQueuedWorkFinish) {
  std::atomic<bool> started{false}, saw_stop{false}, queued_ran{false};
  RunInBackground([&](const std::atomic<bool>& stop) -> TWorkDone {
    started = true;
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!stop && std::chrono::steady_clock::now() < give_up)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    saw_stop = stop.load();
    return [] { ADD_FAILURE() << "a stopped worker's steps are dropped"; };
  });
  // A job that must finish (a save) ignores the flag and still runs.
  RunInBackground([&](const std::atomic<bool>&) -> TWorkDone {
    queued_ran = true;
    return nullptr;
  });
  while (!started) std::this_thread::yield();
  const auto before = std::chrono::steady_clock::now();
  StopWorker();
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(10));
  EXPECT_TRUE(saw_stop);
  EXPECT_TRUE(queued_ran);
  EXPECT_EQ(WorkOutstanding(), 0);
  EXPECT_EQ(TakeFinishedWork(), 0);

  // A fresh worker starts with the flag clear.
  bool stop_seen = true;
  RunInBackground([&](const std::atomic<bool>& stop) -> TWorkDone {
    stop_seen = stop;
    return nullptr;
  });
  WaitForWork();
  EXPECT_FALSE(stop_seen);
  EXPECT_EQ(TakeFinishedWork(), 1);
}

}  // namespace
