// Smoke test of the real binary under X: its window and caption, real key input through SDL,
// a real close request, and the message without a display.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <set>
#include <thread>
#include <vector>

#include "tests/files/fixtures.h"
#include "tests/shell/fixture.h"

// Last: Xlib defines macros (None, Bool, Status) that other headers do not expect.
#include <X11/Xlib.h>

extern char** environ;

using namespace shell_test;
using namespace std::chrono_literals;

namespace {

// The game's data folder: the built runtime tree when it exists, else a tiny one.
void MakeDataFolder() {
  const char* runtime = std::getenv("TESSELKA_RUNTIME");
  if (runtime && fs::is_directory(fs::path(runtime) / "jigsaws" / "0000vorna")) {
    for (const char* tree : {"images", "fonts", "sounds", "jigsaws"})
      fs::copy(fs::path(runtime) / tree, tree, fs::copy_options::recursive);
  } else {
    WriteMinimalAssets();
    WriteJigsaw("0000vorna", 2, 2);
  }
}

class RealProgram : public ::testing::Test {
 protected:
  // A connection to the display is held for the whole test, as a desktop always holds some:
  // the virtual X server resets whenever its last client leaves (a game ended, or the xdotool
  // that looked for its window), and a game that connects during a reset finds no display.
  void SetUp() override {
    MakeDataFolder();
    held_display_ = XOpenDisplay(nullptr);
  }
  void TearDown() override {
    for (pid_t pid : {pid_, second_}) {
      if (pid <= 0) continue;
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    if (held_display_) XCloseDisplay(held_display_);
  }
  Display* held_display_ = nullptr;

  // Starts the game with the arguments given; its standard error goes to the file "stderr.txt".
  void Start(std::vector<std::string> args = {}) { Spawn(pid_, "stderr.txt", std::move(args)); }
  void Spawn(pid_t& pid, const char* stderr_file, std::vector<std::string> args = {}) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // The launcher prepares and plays in the test's folder, not the user's.
    setenv("TESSELKA_HOME", dir_.path().c_str(), 1);
    std::vector<char*> argv = {const_cast<char*>(TESSELKA_BINARY)};
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, stderr_file, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int spawned = posix_spawn(&pid, TESSELKA_BINARY, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ASSERT_EQ(spawned, 0);
  }

  // The program's window id, once it is mapped under its caption.
  // Generous: start-up is slow on a loaded machine.
  std::string WaitForWindow() {
    auto until = std::chrono::steady_clock::now() + 30s;
    while (std::chrono::steady_clock::now() < until) {
      std::string id = CommandOutput(
          "xdotool search --onlyvisible --name '^Tesselka v6.4$' 2>/dev/null | head -n1");
      if (!id.empty()) return id;
      std::this_thread::sleep_for(50ms);
    }
    return "";
  }

  // The exit status once the program has ended, or -1 when it still runs after `limit`.
  int WaitForExit(std::chrono::milliseconds limit) { return WaitForExit(pid_, limit); }
  static int WaitForExit(pid_t& pid, std::chrono::milliseconds limit) {
    auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
      int status = 0;
      if (waitpid(pid, &status, WNOHANG) == pid) {
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(10ms);
    }
    return -1;
  }

  temp_working_folder dir_;

 public:
  pid_t pid_ = -1, second_ = -1;
};

TEST_F(RealProgram, WindowIsTitledAndSizedAndEscapeTwiceEndsIt) {
  Start();
  std::string id = WaitForWindow();
  ASSERT_FALSE(id.empty()) << "no window titled Tesselka v6.4";
  EXPECT_NE(CommandOutput("xdotool getwindowgeometry " + id).find("Geometry: 800x600"),
            std::string::npos);
  EXPECT_TRUE(fs::is_directory("players/default"));
  // The window shows before start-up has loaded everything, and Escape during the opening flight
  // ends the program: click once the flight runs (the sanitizer build starts slowest). The
  // click cuts the flight short; on the table one Escape only asks, and the second answers.
  std::this_thread::sleep_for(3s);
  CommandOutput("xdotool mousemove --window " + id +
                " 10 10 click 1; sleep 0.5; xdotool key Escape");
  EXPECT_EQ(WaitForExit(700ms), -1) << "one Escape on the table must not end the program";
  CommandOutput("xdotool key Escape");
  EXPECT_EQ(WaitForExit(5s), 0);
}

// The player's window size comes back at the next start, from its own file in the player
// folder; the table then fills the window at its own pixels.
TEST_F(RealProgram, TheWindowsSizeComesBackAtTheNextStart) {
  Start();
  std::string id = WaitForWindow();
  ASSERT_FALSE(id.empty());
  std::this_thread::sleep_for(3s);
  CommandOutput("xdotool windowsize " + id + " 1100 700; sleep 0.5; xdotool mousemove --window " + id +
                " 10 10 click 1; sleep 0.5; xdotool key Escape; sleep 0.3; xdotool key Escape");
  ASSERT_EQ(WaitForExit(5s), 0);
  std::istringstream file(ReadWholeFile("players/default/window.txt"));
  int width = 0, height = 0, maximised = -1;
  file >> width >> height >> maximised;
  EXPECT_EQ(width, 1100);
  EXPECT_EQ(height, 700);
  EXPECT_EQ(maximised, 0);

  Start();
  id = WaitForWindow();
  ASSERT_FALSE(id.empty());
  EXPECT_NE(CommandOutput("xdotool getwindowgeometry " + id).find("Geometry: 1100x700"), std::string::npos);
  CommandOutput("sleep 3; xdotool mousemove --window " + id + " 10 10 click 1; sleep 0.5; xdotool key Escape; sleep 0.3; xdotool key Escape");
  EXPECT_EQ(WaitForExit(5s), 0);
}

TEST_F(RealProgram, CloseRequestEndsItWithinASecond) {
  Start();
  std::string id = WaitForWindow();
  ASSERT_FALSE(id.empty());
  // The window shows before the resources and the opening jigsaw load; ask once the loop runs,
  // so the second measures the loop's answer, not a loaded machine's start-up.
  std::this_thread::sleep_for(2s);
  ASSERT_EQ(std::system((std::string(WM_CLOSE_HELPER) + " " + id).c_str()), 0);
  EXPECT_EQ(WaitForExit(1s), 0);
}

// Display switches as fast as a key can be pressed: each destroys the window that the timer
// thread may be waking at that moment.
TEST_F(RealProgram, RapidDisplaySwitchesKeepItRunning) {
  Start();
  ASSERT_FALSE(WaitForWindow().empty());
  std::this_thread::sleep_for(2s);
  std::string presses = "xdotool";
  for (int i = 0; i < 150; ++i) presses += " key f sleep 0.05";
  CommandOutput(presses);
  EXPECT_EQ(WaitForExit(500ms), -1) << "the program died while switching the display";
}

TEST_F(RealProgram, HoldingFSwitchesTheDisplayOnce) {
  Start();
  std::string first = WaitForWindow();
  ASSERT_FALSE(first.empty());
  std::this_thread::sleep_for(2s);
  CommandOutput("xdotool keydown f");
  std::set<std::string> windows{first};
  for (auto until = std::chrono::steady_clock::now() + 3s; std::chrono::steady_clock::now() < until;) {
    if (std::string id = WaitForWindow(); !id.empty()) windows.insert(id);
  }
  CommandOutput("xdotool keyup f");
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(windows.size(), 2u) << "each display switch opens a new window";
  EXPECT_NE(CommandOutput("xdotool getwindowgeometry " + WaitForWindow()).find("Geometry: 1024x768"),
            std::string::npos);
}

// A notice about a damaged jigsaw, then the normal way out: the program ends with status 0
// and, in the sanitizer build, without a memory error on the way.
TEST_F(RealProgram, EndsCleanlyAfterNotices) {
  fs::remove("jigsaws/0000vorna/3.png");
  Start();
  ASSERT_FALSE(WaitForWindow().empty());
  std::this_thread::sleep_for(2s);
  CommandOutput("xdotool key space sleep 0.5 key Escape sleep 0.3 key Escape");
  EXPECT_EQ(WaitForExit(5s), 0);
  const std::string errors = ReadWholeFile("stderr.txt");
  EXPECT_EQ(errors.find("Sanitizer"), std::string::npos) << errors;
}

// An X server of the test's own, so that it can die under the game.
class OwnXServer {
 public:
  OwnXServer() {
    int fds[2];
    if (pipe(fds) != 0) return;
    const std::string fd = std::to_string(fds[1]);
    const char* argv[] = {"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp", nullptr};
    if (posix_spawnp(&pid_, "Xvfb", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) pid_ = -1;
    close(fds[1]);
    char number[16] = {};
    if (pid_ > 0 && read(fds[0], number, sizeof number - 1) > 0) display_ = ":" + std::to_string(std::atoi(number));
    close(fds[0]);
  }
  ~OwnXServer() { Kill(); }
  const std::string& display() const { return display_; }  // "" when it did not start
  void Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

TEST_F(RealProgram, LosingTheDisplayEndsItWithAMessage) {
  OwnXServer server;
  ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
  const std::string outer = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
  setenv("DISPLAY", server.display().c_str(), 1);
  Start();
  std::string id = WaitForWindow();
  setenv("DISPLAY", outer.c_str(), 1);
  ASSERT_FALSE(id.empty());
  std::this_thread::sleep_for(2s);
  server.Kill();
  EXPECT_EQ(WaitForExit(10s), 1);
  const std::string errors = ReadWholeFile("stderr.txt");
  EXPECT_NE(errors.find("display was lost"), std::string::npos) << errors;
  EXPECT_EQ(errors.find("Sanitizer"), std::string::npos) << errors;
}

// Leaving a changed jigsaw in each way the player or the desktop can: the program ends with
// status 0 (or goes on with the picked jigsaw) having written the files that key S writes for
// the same state, which a second run fetches and saves with S to compare.
TEST_F(RealProgram, EachWayOfLeavingSavesAChangedJigsawAsKeySWould) {
  struct way_type {
    const char* name;
    std::function<void(RealProgram&, const std::string&)> leave;
  };
  const way_type ways[] = {
      {"Escape Escape", [](RealProgram&, const std::string&) { CommandOutput("xdotool key Escape sleep 0.3 key Escape"); }},
      {"a close request", [](RealProgram&, const std::string& id) {
         ASSERT_EQ(std::system((std::string(WM_CLOSE_HELPER) + " " + id).c_str()), 0);
       }},
      {"SIGTERM", [](RealProgram& program, const std::string&) { kill(program.pid_, SIGTERM); }},
      {"SIGHUP", [](RealProgram& program, const std::string&) { kill(program.pid_, SIGHUP); }},
      {"a library pick", [](RealProgram& program, const std::string& id) {
         // The first entry of the library page, then the program is killed outright.
         CommandOutput("xdotool key n sleep 1.5 mousemove --window " + id + " 57 103 click 1 sleep 3");
         kill(program.pid_, SIGKILL);
       }},
  };
  const fs::path player = "players/default";
  for (const way_type& way : ways) {
    SCOPED_TRACE(way.name);
    fs::remove_all(player);
    Start();
    std::string id = WaitForWindow();
    ASSERT_FALSE(id.empty()) << "exit status " << WaitForExit(0ms) << ", " << ReadWholeFile("stderr.txt");
    // Past the opening flight (a click cuts it short), then a right click turns the picture.
    CommandOutput("sleep 3; xdotool mousemove --window " + id + " 400 590 click 1 sleep 0.5 mousemove --window " + id +
                  " 400 300 click 3 sleep 0.3");
    way.leave(*this, id);
    const int status = WaitForExit(10s);
    EXPECT_EQ(status, std::string(way.name) == "a library pick" ? 128 + SIGKILL : 0);
    const std::string progress = ReadWholeFile(player / "0000vorna.txt");
    const std::string thumbnail = ReadWholeFile(player / "0000vorna.png");
    ASSERT_FALSE(progress.empty()) << "nothing saved";
    EXPECT_EQ(ReadWholeFile(player / "working_on.txt"), "0000vorna\r\n");

    // The same state fetched and saved with S gives the same files.
    Start();
    id = WaitForWindow();
    ASSERT_FALSE(id.empty()) << "exit status " << WaitForExit(0ms) << ", " << ReadWholeFile("stderr.txt");
    CommandOutput("sleep 3; xdotool mousemove --window " + id +
                  " 400 590 click 1 sleep 0.5 key equal key y sleep 2 key s sleep 1");
    ASSERT_EQ(std::system((std::string(WM_CLOSE_HELPER) + " " + id).c_str()), 0);
    EXPECT_EQ(WaitForExit(10s), 0);
    // Loading raises last_group to the highest group in use (the flight's group 1), so only
    // that last line may differ.
    const std::string by_s = ReadWholeFile(player / "0000vorna.txt");
    const auto without_last_line = [](const std::string& text) {
      return text.substr(0, text.rfind("\r\n", text.size() - 3));
    };
    EXPECT_EQ(without_last_line(by_s), without_last_line(progress));
    EXPECT_EQ(ReadWholeFile(player / "0000vorna.png"), thumbnail);
  }
}

// A real screenshot of the program's window.
std::shared_ptr<TPixmap> Screenshot(const std::string& id) {
  // import waits for ever on a window that went away meanwhile.
  CommandOutput("rm -f shot.png; timeout 20 import -window " + id + " shot.png");
  return LoadPixmap("shot.png");
}

// The colour of the program's window at (x, y).
uint32_t WindowPixel(const std::string& id, int x, int y) {
  auto shot = Screenshot(id);
  return shot ? ReadPixel(shot, x, y) & 0xFFFFFF : 0;
}

TEST_F(RealProgram, HelpOpensAndClosesAndItsLetterIOpensThePreferencesWhoseOkSaves) {
  Start();
  std::string id = WaitForWindow();
  ASSERT_FALSE(id.empty());
  const std::string xdo = "xdotool mousemove --window " + id + " ";
  // A click once the loop runs cuts the opening flight short.
  CommandOutput("sleep 2; " + xdo + "10 10 click 1; sleep 0.5");
  // A point of the finished picture that the help page covers, away from the rows; read until
  // it holds still, so that the table is surely finished.
  const int x = 100, y = 545;
  uint32_t table = WindowPixel(id, x, y);
  for (int i = 0; i < 30; ++i) {
    std::this_thread::sleep_for(300ms);
    uint32_t again = WindowPixel(id, x, y);
    if (again == table) break;
    table = again;
  }
  for (const char* key : {"h", "F1"}) {
    SCOPED_TRACE(key);
    CommandOutput(std::string("xdotool key ") + key + "; sleep 0.4");
    EXPECT_NE(WindowPixel(id, x, y), table) << "no help page";
    CommandOutput(std::string("xdotool key ") + key + "; sleep 0.4");
    EXPECT_EQ(WindowPixel(id, x, y), table) << "help did not close";
  }
  EXPECT_FALSE(fs::exists("players/default/prefer.txt"));
  // Letter I is the ninth row of the first column; OK lies at the foot of the preferences page.
  CommandOutput("xdotool key h; sleep 0.4; " + xdo + "243 303 click 1; sleep 0.4; " + xdo + "350 510 click 1; sleep 0.4");
  EXPECT_EQ(ReadWholeFile("players/default/prefer.txt"), "0\r\n0\r\n1\r\n1\r\n1\r\n1\r\n0\r\n");
}

// Pale yellow pixels (the celebration's letters, (255, 255, 128) give or take the font's
// smoothing) in the band across the middle of the window.
int CelebrationTextPixels(const std::shared_ptr<TPixmap>& shot) {
  int count = 0;
  for (int y = 250; y < 320; ++y)
    for (int x = 0; x < 800; ++x) {
      uint32_t p = ReadPixel(shot, x, y);
      if (ARGBRed(p) >= 240 && ARGBGreen(p) >= 240 && ARGBBlue(p) >= 100 && ARGBBlue(p) <= 150) ++count;
    }
  return count;
}

TEST_F(RealProgram, SolvingTheRedMixerWithSevensEndsInTheCelebration) {
  ASSERT_TRUE(fs::exists("jigsaws/4975red_mixer")) << "needs the built library (TESSELKA_RUNTIME)";
  Start();
  std::string id = WaitForWindow();
  ASSERT_FALSE(id.empty());
  const std::string xdo = "xdotool mousemove --window " + id + " ";
  // The library page lists the red mixer 13th: second row, fifth column of 98 x 74 cells.
  CommandOutput("sleep 2; " + xdo + "10 10 click 1; sleep 0.5; xdotool key n; sleep 1.5; " + xdo +
                "449 177 click 1; sleep 2; xdotool key 7 key 7 key 7");
  std::shared_ptr<TPixmap> shot;
  for (auto until = std::chrono::steady_clock::now() + 60s; std::chrono::steady_clock::now() < until;) {
    shot = Screenshot(id);
    if (shot && CelebrationTextPixels(shot) > 20) break;
  }
  ASSERT_TRUE(shot);
  EXPECT_GT(CelebrationTextPixels(shot), 20) << "no celebration text seen";
  EXPECT_EQ(ReadPixel(shot, 2, 2) & 0xFFFF00, 0u) << "the picture is not dimmed to blue";
}

// A blocking notice: the window cleared to black with a line of white text across its middle.
bool ShowsANotice(const std::shared_ptr<TPixmap>& shot) {
  if (!shot || (ReadPixel(shot, 2, 2) & 0xFFFFFF) != 0) return false;
  int white = 0;
  for (int y = 290; y < 325; ++y)
    for (int x = 0; x < 800; ++x) white += (ReadPixel(shot, x, y) & 0xFFFFFF) == 0xFFFFFF;
  return white > 20;
}

// Every file in the player's folder with its bytes (the lock file included).
std::map<std::string, std::string> PlayerFiles() {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator("players/default"))
    files[entry.path().filename()] = ReadWholeFile(entry.path());
  return files;
}

// Under a file-size limit a save fails like one on a full disk: the game lives on, says
// "Unable to save to" and leaves no temporary; the start removed the temporary a killed save left.
TEST_F(RealProgram, AFileSizeLimitFailsTheSaveAndTheGameGoesOn) {
  fs::create_directories("players/default");
  const pid_t ended = 0x7ffffff0;  // beyond any pid_max: a process that no longer runs
  const std::string left_over = ".0000vorna.png." + std::to_string(ended) + "-1.tmp";
  WriteWholeFile("players/default/" + left_over, "half");
  WriteWholeFile("players/default/.notes.tmp", "the player's own");
  Start();
  std::string id = WaitForWindow();
  ASSERT_FALSE(id.empty());
  const std::string xdo = "xdotool mousemove --window " + id + " ";
  CommandOutput("sleep 2; " + xdo + "10 10 click 1; sleep 0.5");
  EXPECT_FALSE(fs::exists("players/default/" + left_over));
  EXPECT_TRUE(fs::exists("players/default/.notes.tmp"));
  const struct rlimit limit = {200, 200};  // "working_on.txt" fits, the progress file does not
  ASSERT_EQ(prlimit(pid_, RLIMIT_FSIZE, &limit, nullptr), 0);
  CommandOutput("xdotool key s; sleep 1");
  ASSERT_EQ(WaitForExit(100ms), -1) << "the game died of the file-size limit";
  EXPECT_TRUE(ShowsANotice(Screenshot(id)));
  EXPECT_EQ(ReadWholeFile("players/default/working_on.txt"), "0000vorna\r\n");
  std::set<std::string> names;
  for (const auto& [name, bytes] : PlayerFiles()) names.insert(name);
  EXPECT_EQ(names, (std::set<std::string>{".lock", ".notes.tmp", "working_on.txt"}));
  // A key ends the notice; the game plays on and closes normally.
  CommandOutput(xdo + "20 20 key space; sleep 0.5");
  ASSERT_EQ(std::system((std::string(WM_CLOSE_HELPER) + " " + id).c_str()), 0);
  EXPECT_EQ(WaitForExit(5s), 0);
}

// Two games for one player (two clicks on the menu entry): the second says so in its window and
// ends on a key, changing nothing in the player's folder; the first plays on.
TEST_F(RealProgram, ASecondGameForThePlayerSaysSoAndEnds) {
  Start();
  std::string first = WaitForWindow();
  ASSERT_FALSE(first.empty());
  CommandOutput("sleep 2; xdotool mousemove --window " + first + " 10 10 click 1; sleep 0.3; xdotool key s; sleep 1");
  const auto before = PlayerFiles();
  ASSERT_TRUE(before.count("0000vorna.txt"));
  Spawn(second_, "stderr2.txt");
  std::string second;
  for (auto until = std::chrono::steady_clock::now() + 30s; second.empty() && std::chrono::steady_clock::now() < until;
       std::this_thread::sleep_for(100ms))
    second = CommandOutput("xdotool search --onlyvisible --pid " + std::to_string(second_) + " 2>/dev/null | head -n1");
  ASSERT_FALSE(second.empty()) << "the second game opened no window";
  std::this_thread::sleep_for(1s);
  EXPECT_TRUE(ShowsANotice(Screenshot(second)));
  EXPECT_NE(ReadWholeFile("stderr2.txt").find("Tesselka is already running for the player default"), std::string::npos);
  CommandOutput("xdotool mousemove --window " + second + " 20 20 key space");
  EXPECT_EQ(WaitForExit(second_, 5s), 1);
  EXPECT_EQ(PlayerFiles(), before);
  EXPECT_EQ(WaitForExit(100ms), -1) << "the first game ended too";
}

TEST(NoDisplay, SaysHowToRunUnderXvfbAndFails) {
  temp_working_folder dir;
  std::string out = CommandOutput("env -u DISPLAY -u WAYLAND_DISPLAY TESSELKA_HOME=" +
                                  dir.path() + " timeout -s KILL 10 " +
                                  std::string(TESSELKA_BINARY) + " 2>&1; echo \"status $?\"");
  EXPECT_NE(out.find("xvfb-run"), std::string::npos) << out;
  EXPECT_NE(out.find("status 1"), std::string::npos) << out;
}

// ---- Own pictures made into jigsaws -----------------------------------------------------------

// The piece count pieces.txt in folder declares (rows x columns), 0 while it is missing.
int PieceCount(const std::string& folder) {
  std::istringstream lines(ReadWholeFile(folder + "/pieces.txt"));
  int rows = 0, cols = 0;
  lines >> rows >> cols;
  return rows * cols;
}

// Waits up to limit for the jigsaw folder to hold its pieces.txt; its piece count, or 0.
int WaitForJigsaw(const std::string& folder, std::chrono::seconds limit) {
  auto until = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < until) {
    if (int count = PieceCount(folder)) return count;
    std::this_thread::sleep_for(100ms);
  }
  return 0;
}

// Lines of the file, 0 while it is missing.
int LineCount(const std::string& path) {
  const std::string text = ReadWholeFile(path);
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// Keys go to the window under the pointer: keep it there.
void PressInWindow(const std::string& id, const std::string& keys) {
  CommandOutput("xdotool mousemove --window " + id + " 400 300; xdotool key " + keys);
}

// A library whose thumbnails declare sizes far over their slots (photos of 4000 x 4000, a PNG
// header alone declaring 8192 x 8192, an 18-byte TGA declaring 4096 x 4096) shows its page
// within a memory cap set once the game runs: a game that decoded them would need 600 MB more.
TEST_F(RealProgram, ThumbnailsFarOverTheirSlotsStayWithinAMemoryCap) {
  const std::string photo = PhotoJpegFile(4000, 4000, false, 60);
  for (int k = 0; k < 8; ++k) WriteWholeFile("jigsaws/photo" + std::to_string(k) + "/tn.png", photo);
  WriteWholeFile("jigsaws/header/tn.png", PngHeaderOnly(8192, 8192));
  WriteWholeFile("jigsaws/tga/tn.png", TgaHeader(2, 4096, 4096, 32));
  Start();
  const std::string id = WaitForWindow();
  ASSERT_FALSE(id.empty());
  CommandOutput("sleep 2; xdotool mousemove --window " + id + " 10 10 click 1; sleep 0.5");
  long size_kib = 0;
  std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmSize:", 0) == 0) size_kib = std::stol(line.substr(7));
  ASSERT_GT(size_kib, 0);
  const rlim_t cap = (static_cast<rlim_t>(size_kib) + 300 * 1024) * 1024;
  const struct rlimit limit = {cap, cap};
  ASSERT_EQ(prlimit(pid_, RLIMIT_AS, &limit, nullptr), 0);
  PressInWindow(id, "n");
  std::this_thread::sleep_for(3s);
  ASSERT_EQ(WaitForExit(0ms), -1) << ReadWholeFile("stderr.txt");
  EXPECT_FALSE(ShowsANotice(Screenshot(id)));
  ASSERT_EQ(std::system((std::string(WM_CLOSE_HELPER) + " " + id).c_str()), 0);
  EXPECT_EQ(WaitForExit(10s), 0);
}

TEST_F(RealProgram, OpenedPhotoBecomesAJigsawWhosePiecesAreOnTheTable) {
  fs::create_directories("photos");
  WriteWholeFile("photos/Harbour at dusk.jpg", PhotoJpegFile(4000, 3000, false));
  Start({"--open", "photos/Harbour at dusk.jpg"});  // relative to where the game was started
  const std::string id = WaitForWindow();
  ASSERT_FALSE(id.empty());
  std::this_thread::sleep_for(2s);
  PressInWindow(id, "Return");
  const int count = WaitForJigsaw("jigsaws/Harbour at dusk", 60s);
  ASSERT_GE(count, 80) << ReadWholeFile("stderr.txt");
  EXPECT_LE(count, 120);
  // The new jigsaw is the one in play: saving it writes its progress, a line set per piece.
  std::this_thread::sleep_for(1s);
  PressInWindow(id, "s");
  auto until = std::chrono::steady_clock::now() + 20s;
  while (LineCount("players/default/Harbour at dusk.txt") == 0 && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(100ms);
  EXPECT_EQ(LineCount("players/default/Harbour at dusk.txt"), 7 * count + 5);
  ASSERT_EQ(std::system((std::string(WM_CLOSE_HELPER) + " " + id).c_str()), 0);
  EXPECT_EQ(WaitForExit(5s), 0);
}

// The most pieces the cutting screen offers for a 12-megapixel photo, cut, solved by three sevens
// on its big table and saved: every piece lies home, upright, in one group.
TEST_F(RealProgram, ABigCutIsSolvedBySevensAndSavedHome) {
  fs::create_directories("photos");
  WriteWholeFile("photos/big.jpg", PhotoJpegFile(4000, 3000, false));
  Start({"--open", "photos/big.jpg"});
  const std::string id = WaitForWindow();
  ASSERT_FALSE(id.empty());
  // The last count, chosen again once a slow build has surely shown the cutting screen (the
  // choice stops at the last; before the screen shows, the keys only move the table).
  for (int round = 0; round < 3; ++round) {
    std::this_thread::sleep_for(2s);
    PressInWindow(id, "Right Right Right Right Right Right Right Right");
  }
  PressInWindow(id, "Return");
  const int count = WaitForJigsaw("jigsaws/big", 120s);
  ASSERT_GT(count, 1900) << ReadWholeFile("stderr.txt");
  EXPECT_TRUE(fs::exists("jigsaws/big/table.txt"));
  // Solved and saved again until the flight home has ended (200 steps of 20 ms, more on a slow
  // build, whose table may still be loading at first); sevens on a solved table fly it home again.
  const std::string saved = "players/default/big.txt";
  int first_group = 0, misplaced = -1;
  for (auto until = std::chrono::steady_clock::now() + 90s; misplaced != 0 && std::chrono::steady_clock::now() < until;) {
    PressInWindow(id, "7 7 7");
    std::this_thread::sleep_for(6s);
    fs::remove(saved);
    PressInWindow(id, "s");
    for (auto written = std::chrono::steady_clock::now() + 20s;
         LineCount(saved) < 7 * count + 5 && std::chrono::steady_clock::now() < written;)
      std::this_thread::sleep_for(100ms);
    if (LineCount(saved) != 7 * count + 5) continue;
    std::istringstream homes(ReadWholeFile("jigsaws/big/pieces.txt"));
    std::istringstream lines(ReadWholeFile(saved));
    std::string skip;
    homes >> skip >> skip >> skip >> skip;  // rows, columns and the two unused lines
    misplaced = 0;
    for (int i = 1; i <= count; ++i) {
      int x0 = 0, y0 = 0, x = 0, y = 0, a = 0, visible = 0, gp = 0, order = 0, box = 0;
      homes >> x0 >> y0;
      lines >> x >> y >> a >> visible >> gp >> order >> box;
      if (i == 1) first_group = gp;
      misplaced += x != x0 || y != y0 || a != 0 || gp != first_group;
    }
  }
  EXPECT_GT(first_group, 0) << ReadWholeFile("stderr.txt");
  EXPECT_EQ(misplaced, 0);
  ASSERT_EQ(std::system((std::string(WM_CLOSE_HELPER) + " " + id).c_str()), 0);
  EXPECT_EQ(WaitForExit(10s), 0);
}

TEST_F(RealProgram, DroppedFilesAreCutOrRefusedWithANotice) {
  fs::create_directories("photos");
  WriteWholeFile("photos/notes.jpg", "not a picture\n");
  WriteWholeFile("photos/portrait.jpg", WithExifOrientation(PhotoJpegFile(1600, 1200, false), 6));
  const auto before = std::distance(fs::directory_iterator("jigsaws"), fs::directory_iterator());
  Start();
  const std::string id = WaitForWindow();
  ASSERT_FALSE(id.empty());
  std::this_thread::sleep_for(3s);
  const std::string drop = std::string(XDND_DROP_HELPER) + " " + id + " ";
  ASSERT_EQ(std::system((drop + (dir_ / "photos/notes.jpg")).c_str()), 0);
  std::this_thread::sleep_for(2s);
  PressInWindow(id, "space");  // the notice; nothing was written
  EXPECT_EQ(std::distance(fs::directory_iterator("jigsaws"), fs::directory_iterator()), before);
  ASSERT_EQ(std::system((drop + (dir_ / "photos/portrait.jpg")).c_str()), 0);
  std::this_thread::sleep_for(2s);
  PressInWindow(id, "Return");
  ASSERT_GT(WaitForJigsaw("jigsaws/portrait", 60s), 0) << ReadWholeFile("stderr.txt");
  std::istringstream lines(ReadWholeFile("jigsaws/portrait/pieces.txt"));
  int rows = 0, cols = 0;
  lines >> rows >> cols;
  EXPECT_GT(rows, cols) << "the portrait is cut upright";
  EXPECT_EQ(WaitForExit(200ms), -1);
}

// A web address dropped from a browser gets a notice; the Escape that answers it is used up, so
// one more Escape only asks whether to leave.
TEST_F(RealProgram, ADroppedWebAddressGetsANoticeWhoseEscapeIsUsedUp) {
  Start();
  const std::string id = WaitForWindow();
  ASSERT_FALSE(id.empty());
  CommandOutput("sleep 2; xdotool mousemove --window " + id + " 10 10 click 1; sleep 0.5");
  const std::string drop = std::string(XDND_DROP_HELPER) + " " + id + " https://example.org/photo.jpg";
  ASSERT_EQ(std::system(drop.c_str()), 0);
  std::this_thread::sleep_for(1s);
  EXPECT_TRUE(ShowsANotice(Screenshot(id)));
  PressInWindow(id, "Escape");
  std::this_thread::sleep_for(500ms);
  EXPECT_FALSE(ShowsANotice(Screenshot(id)));
  PressInWindow(id, "Escape");
  EXPECT_EQ(WaitForExit(1s), -1) << "the Escape that answered the notice asked to leave";
  PressInWindow(id, "Escape");
  EXPECT_EQ(WaitForExit(5s), 0);
}

// However the program is ended during a cut, the library holds the old jigsaws and at most the
// new one whole: a cut in progress lives in a hidden folder.
TEST_F(RealProgram, KilledAtAnyMomentOfACutLeavesNoVisibleHalfFolder) {
  fs::create_directories("photos");
  WriteWholeFile("photos/big.jpg", PhotoJpegFile(6000, 4000, true));
  std::mt19937 random(std::random_device{}());
  for (int round = 0; round < 3; ++round) {
    Start({"--open", "photos/big.jpg"});
    const std::string id = WaitForWindow();
    ASSERT_FALSE(id.empty());
    std::this_thread::sleep_for(3s);
    PressInWindow(id, "Right Right Right Return");  // 200 pieces or so
    std::this_thread::sleep_for(std::chrono::milliseconds(random() % 2500));
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
    for (const auto& entry : fs::directory_iterator("jigsaws")) {
      const std::string name = entry.path().filename().string();
      if (name[0] == '.') continue;  // hidden: what a cut writes into, never listed
      EXPECT_GT(PieceCount(entry.path().string()), 0) << name << " is not whole";
      if (name.rfind("big", 0) == 0) {
        const int count = PieceCount(entry.path().string());
        EXPECT_TRUE(fs::exists(entry.path() / (std::to_string(count) + ".png"))) << name;
        EXPECT_TRUE(fs::exists(entry.path() / "tn.png")) << name;
      }
    }
  }
}

}  // namespace