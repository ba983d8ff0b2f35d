// The shell's helpers on a real window: pointer rectangles, the banner and the shadow in
// pixels, the confirmation pictures' Yes areas, the graphics info, the blocking notice.
#include "tests/shell/display_fixture.h"

using namespace shell_test;

namespace {

using Helpers = OnDisplay;

const char* const kTahoma = "/usr/share/wine/fonts/tahoma.ttf";

// Bounds (inclusive) of the window's pixels that are not black.
struct lit_bounds {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
lit_bounds LitBounds() {
  auto p = GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight());
  lit_bounds b;
  for (int y = 0; y < p->height; ++y)
    for (int x = 0; x < p->width; ++x)
      if (ReadPixel(p, x, y) & 0xffffff) {
        b.left = std::min(b.left, x), b.right = std::max(b.right, x);
        b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
      }
  return b;
}

TEST_F(Helpers, MouseInIsInclusiveOnAllSides) {
  const struct {
    int x, y;
    bool in;
  } kCases[] = {{20, 10, true}, {21, 10, false}, {10, 20, true}, {9, 15, false}, {15, 9, false}, {15, 21, false}};
  for (const auto& c : kCases) {
    PointAt(c.x, c.y);
    EXPECT_EQ(MouseIn(10, 10, 20, 20), c.in) << c.x << "," << c.y;
  }
}

TEST_F(Helpers, BannerInnerBoxIsNavyAtAlphaOneAndCyanAtHalf) {
  SetImageFont(nullptr);
  int th = TextHeight("Hello"), tw = TextWidth("Hello");
  int left = 400 - tw / 2, top = 300 - th / 2;
  const struct {
    double alpha;
    std::vector<int> outer, inner;
  } kCases[] = {{1.0, {64, 64, 255}, {0, 0, 128}}, {0.5, {32, 32, 128}, {16, 144, 191}}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.alpha);
    SetClsColor(0, 0, 0);
    Cls();
    DrawBanner("Hello", 300, c.alpha);
    EXPECT_TRUE(Near(PixelAt(left - 11, top - 11), c.outer));
    EXPECT_TRUE(Near(PixelAt(left - 9, top - 9), c.inner));
    EXPECT_TRUE(Near(PixelAt(left - 13, top - 13), {0, 0, 0}));
    EXPECT_EQ(GetBlend(), MaskBlend);
  }
}

TEST_F(Helpers, BannerWithEmptyTextShowsTheStatusMessage) {
  game.status_message = "a much longer status message";
  SetImageFont(nullptr);
  int left = 400 - TextWidth(game.status_message) / 2, top = 300 - TextHeight("") / 2;
  SetClsColor(0, 0, 0);
  Cls();
  DrawBanner("", 0, 1.0);
  EXPECT_TRUE(Near(PixelAt(left - 9, top - 9), {0, 0, 128}));
}

TEST_F(Helpers, CentredPictureCastsAHalfShadow) {
  auto image = CreateImage(20, 10, 1, 0);
  LockImage(image)->ClearPixels(MakeARGB(255, 255, 255, 255));
  SetClsColor(200, 100, 0);
  Cls();
  DrawCentred(image, true);
  int left = (800 - 20) / 2, top = (600 - 10) / 2;
  EXPECT_TRUE(Near(PixelAt(left, top), {255, 255, 255}));
  EXPECT_TRUE(Near(PixelAt(left + 25, top + 15), {100, 50, 0}));  // shadow only
  EXPECT_TRUE(Near(PixelAt(left + 28, top + 15), {200, 100, 0}));  // beyond it
  EXPECT_EQ(GetBlend(), MaskBlend);
  EXPECT_FLOAT_EQ(GetAlpha(), 1.0f);
}

TEST_F(Helpers, ExitYesAreaIsMeasuredFromThePicturesRealPlace) {
  // An odd-sized picture: its top-left corner lies at ((800 - 377) / 2, (600 - 111) / 2).
  shell.images.exit = CreateImage(377, 111, 1, 0);
  int left = 211, top = 244;
  const struct {
    int x, y;
    bool yes;
  } kCases[] = {{left + 149, top + 29, true},  {left + 226, top + 79, true},  {left + 148, top + 29, false},
                {left + 149, top + 28, false}, {left + 227, top + 50, false}, {left + 180, top + 80, false}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    shell.pending_confirm = "X";
    game.click_pending = true;
    PointAt(c.x, c.y);
    bool ended = false;
    try {
      ConfirmClick();
    } catch (const ProgramEnded&) {
      ended = true;
    }
    EXPECT_EQ(ended, c.yes);
    EXPECT_FALSE(game.click_pending);
    if (!c.yes) {
      EXPECT_EQ(shell.pending_confirm, "");
    }
  }
}

TEST_F(Helpers, ClickWithoutConfirmationStaysPendingAndMissingPictureAnswersNo) {
  game.click_pending = true;
  ConfirmClick();
  EXPECT_TRUE(game.click_pending);

  shell.pending_confirm = "X";  // no exit picture loaded
  PointAt(400 + 149, 300 + 29);  // inside the Yes area of a 0 x 0 picture
  EXPECT_NO_THROW(ConfirmClick());
  EXPECT_EQ(shell.pending_confirm, "");
  EXPECT_FALSE(game.click_pending);
}

TEST_F(Helpers, GraphicsInfoOfThe800x600Window) {
  ShowGraphicsInfo();
  EXPECT_EQ(game.status_message, "width:800 height:600 depth:0 freq:60");
}

// The key that answers a notice is used up: its press, its repeats and its release never reach
// the queue, while input before and around it stays queued and the key's next press acts again.
TEST_F(Helpers, TheKeyThatAnswersANoticeIsUsedUp) {
  Emit(EVENT_KEYDOWN, 'A');  // before the notice: queued, and it does not answer it
  EXPECT_TRUE(AnsweringANotice(KEY_ESCAPE, [] { ShowErrorAndWait("photo.txt is not a picture"); }));
  const std::pair<int, int> after[] = {{EVENT_KEYREPEAT, KEY_ESCAPE},
                                       {EVENT_MOUSEDOWN, 1},
                                       {EVENT_KEYUP, 'A'},
                                       {EVENT_KEYUP, KEY_ESCAPE},
                                       {EVENT_KEYDOWN, KEY_ESCAPE}};
  for (auto [id, data] : after) Emit(id, data);
  std::vector<std::pair<int, int>> queued;
  while (PollEvent())
    if (EventID() == EVENT_KEYDOWN || EventID() == EVENT_KEYUP || EventID() == EVENT_KEYREPEAT ||
        EventID() == EVENT_MOUSEDOWN)
      queued.push_back({EventID(), EventData()});
  EXPECT_EQ(queued, (std::vector<std::pair<int, int>>{{EVENT_KEYDOWN, 'A'},
                                                      {EVENT_MOUSEDOWN, 1},
                                                      {EVENT_KEYUP, 'A'},
                                                      {EVENT_KEYDOWN, KEY_ESCAPE}}));
}

TEST_F(Helpers, CloseRequestDuringANoticeEndsTheProgram) {
  auto timer = CreateTimer(20, TEvent::Create(EVENT_APPTERMINATE));
  EXPECT_THROW(ShowErrorAndWait("Unable to access players"), ProgramEnded);
  timer->Stop();
}

TEST_F(Helpers, FrameOutlineHasTheGivenThickness) {
  SetClsColor(0, 0, 0);
  Cls();
  SetColor(0, 255, 0);
  DrawFrame(100, 100, 50, 30, 3);
  SetColor(255, 255, 255);
  EXPECT_TRUE(Near(PixelAt(100, 100), {0, 255, 0}));
  EXPECT_TRUE(Near(PixelAt(102, 115), {0, 255, 0}));
  EXPECT_TRUE(Near(PixelAt(103, 115), {0, 0, 0}));
  EXPECT_TRUE(Near(PixelAt(149, 129), {0, 255, 0}));
  EXPECT_TRUE(Near(PixelAt(146, 126), {0, 0, 0}));
}

}  // namespace

namespace {

// A data folder of 80 characters outside the home folder, so shown in full.
std::string LongDataFolder() {
  std::string folder = "/srv/games/" + std::string(80, 'd');
  folder.resize(80);
  return folder + "/players/default/";
}

TEST_F(Helpers, LongBannersAndNoticesStayWhollyInsideTheWindowAtBothSizes) {
  game.fonts.large = LoadImageFont(kTahoma, 22, SmoothFont);
  game.fonts.small = LoadImageFont(kTahoma, 14, SmoothFont);
  const std::string long_name = std::string(100, 'W');
  const std::string notices[] = {
      "players/default/0000vorna.txt is damaged or was saved for a different jigsaw of that "
      "name; it is not used",
      "jigsaws/" + long_name + "/pieces.txt gives piece 12 the home position (-2147483648, "
      "2147483647); a home position lies between -10000 and 10000 on each axis",
      "can't find jigsaws/" + long_name + "/tn.png"};
  const std::string banners[] = {"Tesselka v6.4 - progress is kept in " + LongDataFolder(),
                                 "Unable to save to players/default/" + long_name + ".txt"};
  for (auto [w, h] : {std::pair{800, 600}, std::pair{1024, 768}}) {
    ASSERT_NE(Graphics(w, h, 0, 60, 0), nullptr);
    for (const std::string& text : banners) {
      SCOPED_TRACE(testing::Message() << w << " x " << h << ": " << text);
      SetClsColor(0, 0, 0);
      Cls();
      DrawBanner(text, 0, 0.5);
      // The whole frame lies inside: its outer colour on every side of what is drawn.
      const lit_bounds b = LitBounds();
      const int mid_x = (b.left + b.right) / 2, mid_y = (b.top + b.bottom) / 2;
      for (auto [x, y] : {std::pair{b.left, mid_y}, {b.right, mid_y}, {mid_x, b.top}, {mid_x, b.bottom}})
        EXPECT_TRUE(Near(PixelAt(x, y), {32, 32, 128})) << x << "," << y;
      EXPECT_GT(b.bottom - b.top, 2 * TextHeight(text)) << "stacked lines";
    }
    // A banner that fits keeps its one-line frame exactly.
    SetClsColor(0, 0, 0);
    Cls();
    DrawBanner("jigsaw saved", 30, 1);
    const int tw = TextWidth("jigsaw saved"), th = TextHeight("");
    const lit_bounds one = LitBounds();
    EXPECT_EQ(std::make_tuple(one.left, one.top, one.right, one.bottom),
              std::make_tuple(w / 2 - tw / 2 - 12, 30 - th / 2 - 12, w / 2 - tw / 2 + tw + 11,
                              30 - th / 2 + th + 11));
    for (const std::string& text : notices) {
      SCOPED_TRACE(testing::Message() << w << " x " << h << ": " << text);
      auto key = TEvent::Create(EVENT_KEYDOWN, nullptr, 'N');
      auto timer = CreateTimer(20, key);
      ShowErrorAndWait(text);
      timer->Stop();
      const lit_bounds b = LitBounds();
      EXPECT_GE(b.left, 12);
      EXPECT_LE(b.right, w - 13);
      if (TextWidth(text + " - press any key") > w) {  // the notice's font stays selected
        EXPECT_GT(b.bottom - b.top, TextHeight(text)) << "more than one line";
      }
    }
  }
}

}  // namespace
