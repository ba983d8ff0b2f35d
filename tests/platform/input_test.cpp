// Polled input: the state kept from emitted events, its queries and the blocking waits.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "tests/platform/fakes.h"

namespace {

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPlatform();
    SetSystemDriver(driver);
    EnablePolledInput();
  }
  void TearDown() override {
    ResetPlatform();
    SetSystemDriver(nullptr);
  }
  static void Send(int id, int data = 0, int x = 0, int y = 0) { TEvent::Create(id, nullptr, data, 0, x, y)->Emit(); }

  std::shared_ptr<ScriptedSystemDriver> driver = std::make_shared<ScriptedSystemDriver>();
};

TEST_F(InputTest, KeyHitsCountPressesNotRepeats) {
  Send(EVENT_KEYDOWN, 'K');
  Send(EVENT_KEYREPEAT, 'K');
  Send(EVENT_KEYREPEAT, 'K');
  EXPECT_EQ(KeyIsDown('K'), 1);
  Send(EVENT_KEYUP, 'K');
  EXPECT_EQ(KeyIsDown('K'), 0);
  Send(EVENT_KEYDOWN, 'K');
  Send(EVENT_KEYDOWN, 'K');  // a second down without an up is the same press
  Send(EVENT_KEYUP, 'K');
  EXPECT_EQ(KeyHit('K'), 2);
  EXPECT_EQ(KeyHit('K'), 0);  // reading resets
  EXPECT_GT(driver->polls, 0);  // every query polls first
}

TEST_F(InputTest, ButtonsPointerAndWheel) {
  Send(EVENT_MOUSEDOWN, 2, 5, 6);
  Send(EVENT_MOUSEUP, 2);
  Send(EVENT_MOUSEDOWN, 1);
  Send(EVENT_MOUSEMOVE, 0, 379, 279);
  Send(EVENT_MOUSEWHEEL, 3);
  Send(EVENT_MOUSEWHEEL, -1);
  EXPECT_EQ(MouseHit(2), 1);
  EXPECT_EQ(MouseButtonDown(2), 0);
  EXPECT_EQ(MouseButtonDown(1), 1);
  EXPECT_EQ(MouseX(), 379);
  EXPECT_EQ(MouseY(), 279);
  EXPECT_EQ(MouseZ(), 2);
  FlushMouse();
  EXPECT_EQ(MouseButtonDown(1), 0);
  EXPECT_EQ(MouseHit(1), 0);
  EXPECT_EQ(MouseZ(), 0);
  EXPECT_EQ(MouseX(), 379);  // the position survives a flush
}

TEST_F(InputTest, CodesOutsideTheTablesAreIgnored) {
  for (int code : {-1, 256, 100000}) {
    Send(EVENT_KEYDOWN, code);
    Send(EVENT_MOUSEDOWN, code);
  }
  EXPECT_EQ(KeyHit(-1), 0);
  EXPECT_EQ(MouseHit(256), 0);
}

TEST_F(InputTest, CharacterQueueDropsBeyond256) {
  for (int i = 1; i <= 300; ++i) Send(EVENT_KEYCHAR, 0x100 + i);
  for (int i = 1; i <= 256; ++i) ASSERT_EQ(GetChar(), 0x100 + i);
  EXPECT_EQ(GetChar(), 0);
}

TEST_F(InputTest, SuspendAndResumeForgetKeysAndButtons) {
  Send(EVENT_KEYDOWN, KEY_LCONTROL);
  Send(EVENT_MOUSEDOWN, 1);
  Send(EVENT_KEYCHAR, 'x');
  Send(EVENT_APPSUSPEND);
  EXPECT_EQ(AppSuspended(), 1);
  EXPECT_EQ(KeyIsDown(KEY_LCONTROL), 0);
  EXPECT_EQ(MouseHit(1), 0);
  EXPECT_EQ(GetChar(), 0);
  Send(EVENT_APPRESUME);
  EXPECT_EQ(AppSuspended(), 0);
}

TEST_F(InputTest, CloseRequestsAreCountedOnce) {
  Send(EVENT_APPTERMINATE);
  Send(EVENT_APPTERMINATE);
  EXPECT_EQ(AppTerminate(), 1);
  EXPECT_EQ(AppTerminate(), 0);
}

TEST_F(InputTest, WithoutTheHookNothingIsPolled) {
  DisablePolledInput();
  Send(EVENT_KEYDOWN, 'A');
  EXPECT_EQ(KeyHit('A'), 0);
  EXPECT_EQ(PollEvent(), EVENT_KEYDOWN);  // the queue still gets it
}

TEST_F(InputTest, WaitKeyReturnsTheLowestCodeAndLeavesTheEventsQueued) {
  Send(EVENT_KEYDOWN, 'Q');  // flushed by WaitKey, but queued
  driver->batches.push_back({});
  driver->batches.push_back({TEvent::Create(EVENT_KEYDOWN, nullptr, 'Z'), TEvent::Create(EVENT_KEYDOWN, nullptr, 'B')});
  EXPECT_EQ(WaitKey(), 'B');
  EXPECT_EQ(driver->waits, 2);
  EXPECT_EQ(KeyHit('Z'), 1);  // the other key keeps its hit
  EXPECT_EQ(KeyHit('Q'), 0);
  const int queued[] = {'Q', 'Z', 'B'};
  for (int code : queued) {
    ASSERT_EQ(PollEvent(), EVENT_KEYDOWN);
    EXPECT_EQ(EventData(), code);
  }
}

TEST_F(InputTest, WaitMouseAndWaitChar) {
  driver->batches.push_back({TEvent::Create(EVENT_MOUSEDOWN, nullptr, 3), TEvent::Create(EVENT_MOUSEDOWN, nullptr, 2)});
  EXPECT_EQ(WaitMouse(), 2);
  driver->batches.push_back({TEvent::Create(EVENT_KEYDOWN, nullptr, 'A')});
  driver->batches.push_back({TEvent::Create(EVENT_KEYCHAR, nullptr, 0x20AC)});
  EXPECT_EQ(WaitChar(), 0x20AC);
}

// A hook that polls and waits while the driver is delivering must not re-enter it.
std::shared_ptr<TObject> PollingHook(int, std::shared_ptr<TObject> data, std::shared_ptr<TObject>) {
  PollSystem();
  WaitSystem();
  return data;
}

TEST_F(InputTest, SystemCallsFromHooksDoNothing) {
  AddHook(EmitEventHook, PollingHook, nullptr, 100);
  driver->batches.push_back({TEvent::Create(EVENT_KEYDOWN, nullptr, 'A')});
  driver->batches.push_back({TEvent::Create(EVENT_KEYDOWN, nullptr, 'B')});
  const int polls = driver->polls;
  WaitSystem();
  EXPECT_EQ(driver->waits, 1);
  EXPECT_EQ(driver->polls, polls);
  WaitSystem();  // the guard is released after the delivery
  EXPECT_EQ(driver->waits, 2);
}

}  // namespace
