// Events, their texts and ids, the hook chains and the event queue.
#include <gtest/gtest.h>

#include "platform/platform.h"

namespace {

class EventsTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetPlatform(); }
  void TearDown() override { ResetPlatform(); }
};

TEST_F(EventsTest, ToStringTexts) {
  auto timer = std::make_shared<TObject>();
  const struct {
    std::shared_ptr<TEvent> event;
    const char* text;
  } cases[] = {
      {TEvent::Create(EVENT_KEYDOWN, nullptr, 27), "KeyDown: data=27, mods=0, x=0, y=0, extra=\"\""},
      {TEvent::Create(EVENT_MOUSEDOWN, nullptr, 2, MODIFIER_SHIFT | MODIFIER_CONTROL, 379, -4),
       "MouseDown: data=2, mods=3, x=379, y=-4, extra=\"\""},
      {TEvent::Create(EVENT_TIMERTICK, timer, 7, 0, 0, 0, std::make_shared<TStringObject>("tick")),
       "TimerTick: data=7, mods=0, x=0, y=0, extra=\"tick\""},
      {TEvent::Create(EVENT_APPTERMINATE, nullptr, 0, 0, 0, 0, std::make_shared<TObject>()),
       "AppTerminate: data=0, mods=0, x=0, y=0, extra=\"\""},
      {TEvent::Create(0x777), "Unknown Event, id=1911: data=0, mods=0, x=0, y=0, extra=\"\""},
      {TEvent::Create(EVENT_USEREVENTMASK + 5), "UserEvent5: data=0, mods=0, x=0, y=0, extra=\"\""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.event->ToString(), c.text);
}

TEST_F(EventsTest, IdNamesAndUserIds) {
  const std::pair<int, const char*> names[] = {
      {0x101, "AppSuspend"},  {0x102, "AppResume"},   {0x103, "AppTerminate"}, {0x201, "KeyDown"},
      {0x202, "KeyUp"},       {0x203, "KeyChar"},     {0x204, "KeyRepeat"},    {0x401, "MouseDown"},
      {0x405, "MouseEnter"},  {0x406, "MouseLeave"},  {0x801, "TimerTick"},    {0x2009, "GadgetShape"},
      {0x4002, "WindowSize"}, {0x8001, "MenuAction"}, {0x20001, "ProcessExit"}};
  for (auto [id, name] : names) EXPECT_EQ(DescriptionForId(id), name) << id;
  EXPECT_EQ(DescriptionForId(0x106), "");

  const int first = AllocUserId();
  EXPECT_EQ(first, EVENT_USEREVENTMASK);
  EXPECT_EQ(AllocUserId(), first + 1);
  RegisterId(first, "PieceDropped");
  EXPECT_EQ(TEvent::Create(first)->ToString(), "PieceDropped: data=0, mods=0, x=0, y=0, extra=\"\"");
}

// Hook functions append their context's tag to a trace kept in the data object.
struct Trace : TObject {
  std::string order;
};
struct Tag : TObject {
  explicit Tag(char c) : tag(c) {}
  char tag;
};

std::shared_ptr<TObject> Record(int, std::shared_ptr<TObject> data, std::shared_ptr<TObject> context) {
  std::static_pointer_cast<Trace>(data)->order += std::static_pointer_cast<Tag>(context)->tag;
  return data;
}

TEST_F(EventsTest, HooksRunByDescendingPriorityThenInsertionOrder) {
  const int id = AllocHookId();
  auto a = std::make_shared<Tag>('a'), b = std::make_shared<Tag>('b'), c = std::make_shared<Tag>('c'),
       d = std::make_shared<Tag>('d');
  AddHook(id, Record, a, 0);
  AddHook(id, Record, b, 5);
  AddHook(id, Record, c, 0);
  AddHook(id, Record, d, -3);
  AddHook(id, Record, a, 5);  // same function and context again, higher up

  auto trace = std::make_shared<Trace>();
  EXPECT_EQ(RunHooks(id, trace), trace);
  EXPECT_EQ(trace->order, "baacd");

  RemoveHook(id, Record, a);  // the first entry with that function and context
  trace->order.clear();
  RunHooks(id, trace);
  EXPECT_EQ(trace->order, "bacd");
}

std::shared_ptr<TObject> RecordOnce(int id, std::shared_ptr<TObject> data, std::shared_ptr<TObject> context) {
  RemoveHook(id, RecordOnce, context);
  return Record(id, std::move(data), std::move(context));
}

TEST_F(EventsTest, AHookMayRemoveItselfWhileItsChainRuns) {
  const int id = AllocHookId();
  AddHook(id, RecordOnce, std::make_shared<Tag>('x'), 5);
  AddHook(id, Record, std::make_shared<Tag>('b'), 0);
  AddHook(id, Record, std::make_shared<Tag>('c'), 0);
  auto trace = std::make_shared<Trace>();
  RunHooks(id, trace);
  RunHooks(id, trace);
  EXPECT_EQ(trace->order, "xbcbc");
}

TEST_F(EventsTest, HookIdsRunOutAt256) {
  int last = 0;
  for (int i = 0; i < 255; ++i) last = AllocHookId();
  EXPECT_EQ(last, 255);
  try {
    AllocHookId();
    FAIL() << "expected an error";
  } catch (const TRuntimeException& error) {
    EXPECT_EQ(error.ToString(), "Too many hook ids");
  }
}

TEST_F(EventsTest, QueueKeepsTheFirst256) {
  for (int i = 1; i <= 300; ++i) TEvent::Create(EVENT_KEYCHAR, nullptr, i)->Emit();
  int taken = 0;
  while (PollEvent()) {
    ++taken;
    EXPECT_EQ(EventData(), taken);
  }
  EXPECT_EQ(taken, 256);
  EXPECT_EQ(EventID(), 0);  // the null event is current after an empty poll
  EXPECT_EQ(PeekEvent(), nullptr);
}

TEST_F(EventsTest, TimerTicksMergePerSource) {
  auto timer1 = std::make_shared<TObject>(), timer2 = std::make_shared<TObject>();
  TEvent::Create(EVENT_TIMERTICK, timer1, 1)->Emit();
  TEvent::Create(EVENT_KEYDOWN, nullptr, 65)->Emit();
  TEvent::Create(EVENT_TIMERTICK, timer2, 1)->Emit();
  TEvent::Create(EVENT_TIMERTICK, timer1, 2, 0, 4, 5)->Emit();
  TEvent::Create(EVENT_TIMERTICK, timer1, 3)->Emit();
  TEvent::Create(EVENT_KEYDOWN, nullptr, 65)->Emit();  // other ids never merge

  const struct {
    int id, data;
    std::shared_ptr<TObject> source;
  } expected[] = {{EVENT_TIMERTICK, 3, timer1},
                  {EVENT_KEYDOWN, 65, nullptr},
                  {EVENT_TIMERTICK, 1, timer2},
                  {EVENT_KEYDOWN, 65, nullptr}};
  for (const auto& e : expected) {
    ASSERT_EQ(PollEvent(), e.id);
    EXPECT_EQ(EventData(), e.data);
    EXPECT_EQ(EventSource(), e.source);
  }
  EXPECT_EQ(PollEvent(), 0);
}

TEST_F(EventsTest, MergingStillWorksOnAFullQueue) {
  auto timer = std::make_shared<TObject>();
  TEvent::Create(EVENT_TIMERTICK, timer, 1)->Emit();
  for (int i = 0; i < 255; ++i) TEvent::Create(EVENT_MOUSEWHEEL)->Emit();
  TEvent::Create(EVENT_TIMERTICK, timer, 9)->Emit();
  ASSERT_EQ(PollEvent(), EVENT_TIMERTICK);
  EXPECT_EQ(EventData(), 9);
}

TEST_F(EventsTest, WaitingPointerMovesMergeIntoTheLatestButNeverAcrossKeysOrButtons) {
  auto move = [](int x) { TEvent::Create(EVENT_MOUSEMOVE, nullptr, 0, 0, x, x + 1)->Emit(); };
  for (int x = 1; x <= 1000; ++x) move(x);
  TEvent::Create(EVENT_MOUSEDOWN, nullptr, 1, 0, 1000, 1001)->Emit();
  move(2000);
  move(2001);
  TEvent::Create(EVENT_KEYDOWN, nullptr, KEY_ESCAPE)->Emit();
  move(3000);
  const struct {
    int id, x;
  } expected[] = {{EVENT_MOUSEMOVE, 1000}, {EVENT_MOUSEDOWN, 1000}, {EVENT_MOUSEMOVE, 2001},
                  {EVENT_KEYDOWN, 0},      {EVENT_MOUSEMOVE, 3000}};
  for (const auto& e : expected) {
    ASSERT_EQ(PollEvent(), e.id);
    EXPECT_EQ(EventX(), e.x);
  }
  EXPECT_EQ(PollEvent(), 0);
}

TEST_F(EventsTest, KeysAndButtonsTakeThePlaceOfPointerMovesInAFullQueue) {
  for (int i = 0; i < 128; ++i) {
    TEvent::Create(EVENT_MOUSEMOVE, nullptr, 0, 0, i)->Emit();
    TEvent::Create(EVENT_MOUSEWHEEL, nullptr, 1)->Emit();
  }
  TEvent::Create(EVENT_MOUSEDOWN, nullptr, 1)->Emit();
  TEvent::Create(EVENT_KEYDOWN, nullptr, KEY_ESCAPE)->Emit();
  TEvent::Create(EVENT_KEYUP, nullptr, KEY_ESCAPE)->Emit();
  TEvent::Create(EVENT_MOUSEMOVE, nullptr, 0, 0, 999)->Emit();  // no room left for it
  std::vector<int> last;
  while (PollEvent()) last.push_back(EventID());
  ASSERT_EQ(last.size(), 256u);
  EXPECT_EQ(std::vector<int>(last.end() - 3, last.end()),
            (std::vector<int>{EVENT_MOUSEDOWN, EVENT_KEYDOWN, EVENT_KEYUP}));
}

TEST_F(EventsTest, PeekLeavesTheEventAndWaitTakesIt) {
  auto event = TEvent::Create(EVENT_MOUSEWHEEL, nullptr, -2, 0, 10, 20);
  PostEvent(event);
  EXPECT_EQ(PeekEvent(), event);
  EXPECT_EQ(PeekEvent(), event);
  EXPECT_EQ(WaitEvent(), EVENT_MOUSEWHEEL);
  EXPECT_EQ(CurrentEvent(), event);
  EXPECT_EQ(EventData(), -2);
  EXPECT_EQ(EventX(), 10);
  EXPECT_EQ(EventY(), 20);
}

}  // namespace
