// Start-up: the platform, the player, the preferences, the display and the shared resources,
// then the frame loop; the "title" screen and the opening jigsaw.
// Depends on platform/, draw/, files/, platform/audio.h, library/ and play/.
#include <cstdio>
#include <filesystem>
#include <utility>

#include "box/box.h"
#include "draw/draw.h"
#include "files/files.h"
#include "library/library.h"
#include "platform/audio.h"
#include "platform/platform.h"
#include "play/play.h"
#include "shell/internal.h"

namespace {

void SayDisplayNeeded() {
  std::fprintf(stderr,
               "tesselka: no display could be opened. Tesselka needs an X display;\n"
               "without a desktop run it under a virtual X server:\n"
               "  xvfb-run -a -s '-screen 0 1280x1024x24' tesselka [player]\n");
}

// Opens the display the preferences ask for. A full screen that cannot be had falls back to a
// window, for the large display too.
bool OpenStartDisplay() {
  auto& display = game.display;
  display.windowed = game.prefs.pref_windowed != 0;
  display.display_large = game.prefs.pref_large != 0;
  int width = display.display_large ? 1024 : 800, height = display.display_large ? 768 : 600;
  if (ChooseMode(width, height)) return true;
  display.windowed = true;
  return ChooseMode(width, height);
}

// A picture the game cannot be played without (no pointer to see, no piece to pick up) is
// named in a start-up notice when it cannot be loaded.
std::shared_ptr<TImage> LoadNeededImage(const std::string& path, int flags) {
  auto image = LoadImage(path, flags);
  if (!image) game.startup_notices.push_back(FileFault(path));
  return image;
}

void LoadSharedImages() {
  auto& images = shell.images;
  images.pointer = LoadNeededImage("images/pointer.bmp", -1);
  images.help_pages = {};
  play.probe = LoadNeededImage("images/white.bmp", 0);
  images.exit = LoadImage("images/exit.png", 0);
  box.box_picture = LoadImage("images/box.png", -1);
  box.box_picture_large = LoadImage("images/boxf.png", -1);
  images.reload = LoadImage("images/reload.png", 0);
  box.table_button = LoadImage("images/jigsaw.png", 0);
  images.quick_pick = LoadImage("images/quick_pick.png", 0);
  images.fetch = LoadImage("images/fetch.png", 0);
  images.do_new = LoadImage("images/do_new.png", 0);
}

void LoadFontsAndArrows() {
  game.fonts.large = LoadImageFont("fonts/Tahoma.ttf", 22, SmoothFont);
  game.fonts.small = LoadImageFont("fonts/Tahoma.ttf", 14, SmoothFont);
  for (int i = 1; i <= 4; ++i) library.arrows[i] = LoadImage("images/arrow" + std::to_string(i) + ".png", -1);
}

void LoadSwatch() {
  // One decode serves both: the image (unmasked, so it keeps the very pixels) and the pixmap
  // whose pixels become table colours.
  play.swatch_pixmap = LoadPixmap("images/swatch.bmp");
  play.swatch = TImage::Load(play.swatch_pixmap, 0, 0, 0, 0);
  play.swatch_shown = 0;
  shell.pending_confirm = "";
}

}  // namespace

bool StartUp(const std::vector<std::string>& args) {
  if (!StartPlatform()) {
    SayDisplayNeeded();
    return false;
  }
  InitDrawing();
  ConnectBoxHooks();
  ConnectShellHooks();
  game.display.refresh_rate = DesktopHertz();
  shell.app_version = TESSELKA_VERSION;
  shell.app_title = "Tesselka v" + shell.app_version;
  SetAppTitle(shell.app_title);
  if (!args.empty()) library.player_name = args[0];
  OpenPlayerFolder();
  LoadPreferences();
  LoadWindowPlacement();
  if (!OpenStartDisplay()) {
    SayDisplayNeeded();
    return false;
  }
  NoteStartWindow();
  HideMouse();
  MoveMouse(379, 279);
  if (game.display.display_large) MoveMouse(494, 368);
  ShowBusy(shell.app_title);
  SeedRnd(Millisecs());
  LoadSharedImages();
  shell.frame_timer = CreateTimer(50);
  LoadFontsAndArrows();
  if (library.player_folder_busy) {  // another game plays for this player: say so and end
    ShowStartUpNotices();
    return false;
  }
  PlayMusic();
  LoadSwatch();
  ShowStartUpNotices();
  game.screen = "title";
  return true;
}

int RunApplication(int argc, char** argv) {
  IgnoreFileSizeSignal();
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  // --open PICTURE: named from the folder the game was started in, which it is about to leave.
  std::string picture = TakeOpenOption(args);
  if (!picture.empty()) picture = std::filesystem::absolute(picture).string();
  if (const int status = AnswerCommandLine(args); status >= 0) return status;
  if (const std::string problem = EnterDataFolder(); !problem.empty()) {
    std::fprintf(stderr, "%s\n", problem.c_str());
    return 1;
  }
  if (!StartUp(args)) return 1;
  shell.picture_to_open = picture;
  for (;;) LoopTurn();
}

void TitleFrame() {
  if (play.jigsaw_name.empty()) ShowOpeningJigsaw();
  if (!shell.picture_to_open.empty()) {
    // Started to make a jigsaw of a picture: the cutting screen first, over the table.
    const std::string picture = std::exchange(shell.picture_to_open, "");
    shell.opening_flight = false;
    shell.pointer_visible = true;
    game.screen = "jigsaw";
    OpenPictureToCut(picture, "jigsaw");
    return;
  }
  StartFlight();
  game.hint_visible = true;
}

