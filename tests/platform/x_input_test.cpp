// Real X input sent with xdotool to a real window, and a file dropped on it by X drag and drop,
// arrive as the right events.
#include <algorithm>

#include "tests/platform/display_fixture.h"

namespace {

class XInputTest : public RealDisplayTest {
 protected:
  void SetUp() override {
    RealDisplayTest::SetUp();
    ASSERT_TRUE(Graphics(800, 600, 0, 60, 0));
    Flip(0);
    CollectUntil([](const TEvent&) { return false; }, 300);  // settle: map, focus, enter
    window = WindowId();
    ASSERT_FALSE(window.empty());
  }

  // Sends the xdotool command and returns the first event with that id.
  std::shared_ptr<TEvent> SendAndTake(const std::string& xdotool_args, int id) {
    CommandOutput("xdotool " + xdotool_args);
    auto events = CollectUntil([id](const TEvent& e) { return e.id == id; });
    return !events.empty() && events.back()->id == id ? events.back() : nullptr;
  }

  std::string window;
};

TEST_F(XInputTest, KeysArriveWithTheirVirtualKeyCodes) {
  const struct {
    const char* xdotool_key;
    int code;
  } cases[] = {
      {"a", 'A'},          {"7", '7'},          {"Escape", KEY_ESCAPE},
      {"F2", 113},         {"Left", KEY_LEFT}, {"equal", KEY_EQUALS},
      {"Shift_L", KEY_LSHIFT}, {"Control_L", KEY_LCONTROL},
      {"62", KEY_RSHIFT},  {"105", KEY_RCONTROL},  // raw keycodes: Xvfb maps Shift_R and Control_R to the left keys
  };
  for (const auto& c : cases) {
    auto down = SendAndTake(std::string("key ") + c.xdotool_key, EVENT_KEYDOWN);
    ASSERT_TRUE(down) << c.xdotool_key;
    EXPECT_EQ(down->data, c.code) << c.xdotool_key;
    auto up = CollectUntil([](const TEvent& e) { return e.id == EVENT_KEYUP; });
    ASSERT_FALSE(up.empty());
    EXPECT_EQ(up.back()->data, c.code) << c.xdotool_key;
  }
}

// A drop arrives as one "WindowAccept" carrying its local files' paths, however they are spelt,
// the first as its text; a web address brings no file.
TEST_F(XInputTest, ADropArrivesWithItsFilesPaths) {
  const struct {
    std::vector<std::string> items;
    std::vector<std::string> files;
  } cases[] = {
      {{"/tmp/photo.jpg"}, {"/tmp/photo.jpg"}},
      {{"/home/me/Bilder/Łódź at 5%.JPEG"}, {"/home/me/Bilder/Łódź at 5%.JPEG"}},
      {{"/tmp/a.jpg", "/tmp/b.png", "/tmp/c.bmp"}, {"/tmp/a.jpg", "/tmp/b.png", "/tmp/c.bmp"}},
      {{"https://example.org/photo.jpg"}, {}},
  };
  for (const auto& c : cases) {
    std::string command = std::string(XDND_DROP_HELPER) + " " + window;
    for (const std::string& item : c.items) command += " '" + item + "'";
    SCOPED_TRACE(command);
    FILE* drop = popen(command.c_str(), "r");
    ASSERT_TRUE(drop);
    auto events = CollectUntil([](const TEvent& e) { return e.id == EVENT_WINDOWACCEPT; }, 5000);
    EXPECT_EQ(pclose(drop), 0) << "the drop was not taken";
    ASSERT_FALSE(events.empty());
    ASSERT_EQ(events.back()->id, EVENT_WINDOWACCEPT);
    auto dropped = std::dynamic_pointer_cast<TDropObject>(events.back()->extra);
    ASSERT_TRUE(dropped);
    EXPECT_EQ(dropped->files, c.files);
    EXPECT_EQ(dropped->value, c.files.empty() ? "" : c.files.front());
    const auto after = CollectUntil([](const TEvent&) { return false; }, 300);
    EXPECT_TRUE(std::none_of(after.begin(), after.end(), [](const auto& e) {
      return e->id == EVENT_WINDOWACCEPT;
    })) << "one event for the whole drop";
  }
}

TEST_F(XInputTest, ModifiersAndTypedCharacters) {
  CommandOutput("xdotool key shift+b");
  auto down = CollectUntil([](const TEvent& e) { return e.id == EVENT_KEYDOWN && e.data == 'B'; });
  ASSERT_FALSE(down.empty());
  EXPECT_EQ(down.back()->data, 'B');  // the letter's code whatever Shift says
  EXPECT_EQ(down.back()->mods, MODIFIER_SHIFT);
  auto typed = CollectUntil([](const TEvent& e) { return e.id == EVENT_KEYCHAR; });
  ASSERT_FALSE(typed.empty());
  EXPECT_EQ(typed.back()->data, 'B');
  auto up = CollectUntil([](const TEvent& e) { return e.id == EVENT_KEYUP && e.data == KEY_LSHIFT; });
  ASSERT_FALSE(up.empty());
  EXPECT_EQ(up.back()->data, KEY_LSHIFT);
  EXPECT_EQ(KeyIsDown(KEY_LSHIFT), 0);
}

TEST_F(XInputTest, ButtonsArriveWithThePointerPosition) {
  const struct {
    int x_button, button;
  } cases[] = {{1, 1}, {3, 2}, {2, 3}};
  for (const auto& c : cases) {
    auto down = SendAndTake("mousemove --window " + window + " 100 120 click " + std::to_string(c.x_button),
                            EVENT_MOUSEDOWN);
    ASSERT_TRUE(down) << c.x_button;
    EXPECT_EQ(down->data, c.button);
    EXPECT_EQ(down->x, 100);
    EXPECT_EQ(down->y, 120);
    auto up = CollectUntil([](const TEvent& e) { return e.id == EVENT_MOUSEUP; });
    ASSERT_FALSE(up.empty());
    EXPECT_EQ(up.back()->data, c.button);
  }
  EXPECT_EQ(MouseX(), 100);
  EXPECT_EQ(MouseY(), 120);
  EXPECT_EQ(MouseHit(1), 1);
}

TEST_F(XInputTest, WheelAndPointerMove) {
  CommandOutput("xdotool mousemove --window " + window + " 300 200");
  auto moves = CollectUntil([](const TEvent& e) { return e.id == EVENT_MOUSEMOVE && e.x == 300 && e.y == 200; });
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(moves.back()->y, 200);
  auto wheel = SendAndTake("click 4", EVENT_MOUSEWHEEL);  // X button 4 turns the wheel away
  ASSERT_TRUE(wheel);
  EXPECT_EQ(wheel->data, 1);
  EXPECT_EQ(wheel->x, 300);
  EXPECT_EQ(wheel->y, 200);
}

TEST_F(XInputTest, MoveMouseWarpsInsideTheWindow) {
  MoveMouse(379, 279);
  auto moved = CollectUntil([](const TEvent& e) { return e.id == EVENT_MOUSEMOVE && e.x == 379 && e.y == 279; });
  ASSERT_FALSE(moved.empty());
  EXPECT_EQ(moved.back()->x, 379);
  EXPECT_EQ(MouseY(), 279);
}

// The window goes and a new one comes while a key is held down: the keyboard's repeats in the
// new window are repeats, not new presses, and the real release still arrives.
TEST_F(XInputTest, AKeyHeldThroughDisplaySwitchesIsPressedOnce) {
  CommandOutput("xdotool keydown f");
  auto events = CollectUntil([](const TEvent& e) { return e.id == EVENT_KEYDOWN; });
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(Graphics(i % 2 ? 800 : 1024, i % 2 ? 600 : 768, 0, 60, 0));
    Flip(0);
    auto more = CollectUntil([](const TEvent&) { return false; }, 900);
    events.insert(events.end(), more.begin(), more.end());
  }
  CommandOutput("xdotool keyup f");
  auto released = CollectUntil([](const TEvent& e) { return e.id == EVENT_KEYUP; });
  events.insert(events.end(), released.begin(), released.end());
  int presses = 0, repeats = 0, releases = 0;
  for (const auto& e : events) {
    if (e->data != 'F') continue;
    presses += e->id == EVENT_KEYDOWN;
    repeats += e->id == EVENT_KEYREPEAT;
    releases += e->id == EVENT_KEYUP;
  }
  EXPECT_EQ(presses, 1);
  EXPECT_GT(repeats, 0) << "the keyboard repeats the held key";
  EXPECT_EQ(releases, 1);
  EXPECT_EQ(KeyIsDown('F'), 0);
}

}  // namespace
