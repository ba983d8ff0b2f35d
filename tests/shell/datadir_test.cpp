// The launcher's data folder: where it is, where the runtime tree is found, and how a start
// fills, refreshes and keeps the folder (first start, next start, a newer version, the
// player's own files, folders that cannot be written).
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "tests/shell/fixture.h"

using namespace shell_test;

namespace {

// Every file below root with its bytes.
std::map<std::string, std::string> Tree(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_regular_file())
      files[fs::relative(entry.path(), root).string()] = ReadWholeFile(entry.path());
  return files;
}

ino_t Inode(const fs::path& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

class DataFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* file : {"images/pointer.bmp", "images/flash/1/1.png", "fonts/Tahoma.ttf",
                             "sounds/click.wav", "jigsaws/0000vorna/pieces.txt",
                             "jigsaws/1000lake/pieces.txt"})
      runtime_.Write(file, std::string("v1 ") + file);
  }
  std::string Prepare() { return PrepareDataFolder(runtime_.path(), data()); }
  std::string data() const { return dir_ / "data"; }
  std::string at(const std::string& name) const { return data() + "/" + name; }

  temp_folder runtime_, dir_;
};

TEST_F(DataFolder, FirstStartCopiesEverythingAndLeavesTheRuntimeAlone) {
  const auto before = Tree(runtime_.path());
  ASSERT_EQ(Prepare(), "");
  EXPECT_TRUE(fs::is_directory(at("players")));
  auto copied = Tree(data());
  EXPECT_EQ(copied.erase(".assets"), 1u);
  EXPECT_EQ(copied, before);
  EXPECT_EQ(Tree(runtime_.path()), before);
  EXPECT_FALSE(fs::exists(at(".jigsaws.part")));
}

TEST_F(DataFolder, NextStartRewritesNothingAndKeepsKilledJigsawsKilled) {
  ASSERT_EQ(Prepare(), "");
  const ino_t pointer = Inode(at("images/pointer.bmp"));
  fs::remove_all(at("jigsaws/1000lake"));
  ASSERT_EQ(Prepare(), "");
  EXPECT_EQ(Inode(at("images/pointer.bmp")), pointer);
  EXPECT_FALSE(fs::exists(at("jigsaws/1000lake")));
}

TEST_F(DataFolder, NewerVersionRefreshesAssetsAndKeepsWhatThePlayerMade) {
  runtime_.Write("images/old.png", "v1 old");
  ASSERT_EQ(Prepare(), "");
  WriteWholeFile(at("players/ann/prefer.txt"), "1\r\n");
  WriteWholeFile(at("jigsaws/5000mine/pieces.txt"), "mine");
  WriteWholeFile(at("images/mine.png"), "mine");
  WriteWholeFile(at("sounds/click.wav"), "edited by hand");

  // The newer version: changed, added and dropped assets, and another library jigsaw.
  runtime_.Write("images/pointer.bmp", "v2 pointer, longer");
  runtime_.Write("fonts/courbi.ttf", "v2 courbi");
  fs::remove(runtime_ / "images/old.png");
  runtime_.Write("jigsaws/2000new/pieces.txt", "v2");
  ASSERT_EQ(Prepare(), "");

  EXPECT_EQ(ReadWholeFile(at("images/pointer.bmp")), "v2 pointer, longer");
  EXPECT_EQ(ReadWholeFile(at("fonts/courbi.ttf")), "v2 courbi");
  EXPECT_EQ(ReadWholeFile(at("sounds/click.wav")), "v1 sounds/click.wav");
  EXPECT_FALSE(fs::exists(at("images/old.png")));
  EXPECT_EQ(ReadWholeFile(at("images/mine.png")), "mine");
  EXPECT_EQ(ReadWholeFile(at("players/ann/prefer.txt")), "1\r\n");
  EXPECT_EQ(ReadWholeFile(at("jigsaws/5000mine/pieces.txt")), "mine");
  EXPECT_FALSE(fs::exists(at("jigsaws/2000new"))) << "the library is copied once only";
}

TEST_F(DataFolder, LibraryCopyCutShortIsRedoneWhole) {
  WriteWholeFile(at(".jigsaws.part/0000vorna/pieces.txt"), "half");
  ASSERT_EQ(Prepare(), "");
  EXPECT_EQ(ReadWholeFile(at("jigsaws/0000vorna/pieces.txt")), "v1 jigsaws/0000vorna/pieces.txt");
  EXPECT_TRUE(fs::exists(at("jigsaws/1000lake/pieces.txt")));
  EXPECT_FALSE(fs::exists(at(".jigsaws.part")));
}

TEST_F(DataFolder, LinksWhereAssetsBelongAreReplacedAndWhatTheyPointAtIsLeftAlone) {
  ASSERT_EQ(Prepare(), "");
  const std::string outside = dir_ / "outside";
  fs::create_directories(outside + "/flash");
  // A link to a file that matches the runtime's in size and time is still a link.
  fs::copy_file(runtime_ / "sounds/click.wav", outside + "/click.wav");
  fs::last_write_time(outside + "/click.wav", fs::last_write_time(runtime_ / "sounds/click.wav"));
  const std::pair<std::string, std::string> links[] = {
      {"images/pointer.bmp", outside + "/made.bmp"},  // dangling: its target must not be made
      {"sounds/click.wav", outside + "/click.wav"},
      {"images/flash", outside + "/flash"},          // a folder of assets
      {".jigsaws.part", outside + "/part"},
  };
  fs::remove_all(at("jigsaws"));
  for (const auto& [link, target] : links) {
    fs::remove_all(at(link));
    fs::create_symlink(target, at(link));
  }
  ASSERT_EQ(Prepare(), "");
  for (const auto& [link, target] : links) EXPECT_FALSE(fs::is_symlink(at(link))) << link;
  EXPECT_EQ(ReadWholeFile(at("images/pointer.bmp")), "v1 images/pointer.bmp");
  EXPECT_EQ(ReadWholeFile(at("images/flash/1/1.png")), "v1 images/flash/1/1.png");
  EXPECT_EQ(ReadWholeFile(at("jigsaws/0000vorna/pieces.txt")), "v1 jigsaws/0000vorna/pieces.txt");
  EXPECT_FALSE(fs::exists(at(".jigsaws.part")));
  EXPECT_EQ(Tree(outside), (std::map<std::string, std::string>{{"click.wav", "v1 sounds/click.wav"}}));
  EXPECT_TRUE(fs::is_directory(outside + "/flash"));
}

TEST_F(DataFolder, OnlyPlainFilesInsideTheAssetFoldersAreRemoved) {
  ASSERT_EQ(Prepare(), "");
  const std::string outside = dir_ / "outside";
  WriteWholeFile(outside + "/victim", "someone else's");
  WriteWholeFile(outside + "/linked", "someone else's");
  WriteWholeFile(at("images/old.png"), "v0 old");
  fs::create_directory_symlink(outside, at("images/link"));
  fs::create_symlink(outside + "/linked", at("images/linked.png"));
  // As an older version would have listed them, and entries this launcher never writes.
  std::string list;
  for (const char* stale : {"images/old.png", "images/link/victim", "images/linked.png",
                            "images/../../outside/victim", "players/../images/pointer.bmp"})
    list += std::string(stale) + "\r\n";
  WriteWholeFile(at(".assets"), list);
  ASSERT_EQ(Prepare(), "");
  EXPECT_FALSE(fs::exists(at("images/old.png")));
  EXPECT_EQ(Tree(outside), (std::map<std::string, std::string>{{"victim", "someone else's"},
                                                                {"linked", "someone else's"}}));
  EXPECT_TRUE(fs::is_symlink(at("images/linked.png"))) << "not the game's: left alone";
  EXPECT_TRUE(fs::exists(at("images/pointer.bmp")));
}

TEST_F(DataFolder, DataFolderThatIsTheRuntimeIsUsedAsItIs) {
  const auto before = Tree(runtime_.path());
  EXPECT_EQ(PrepareDataFolder(runtime_.path(), runtime_.path()), "");
  EXPECT_EQ(Tree(runtime_.path()), before);
}

TEST_F(DataFolder, SomethingInTheWayIsNamedAndLeftAlone) {
  for (const char* blocker : {"", "/images", "/jigsaws", "/players"}) {
    fs::remove_all(data());
    if (*blocker) fs::create_directories(data());
    WriteWholeFile(data() + blocker, "the player's");
    const std::string problem = Prepare();
    EXPECT_NE(problem.find(data() + blocker), std::string::npos) << blocker << ": " << problem;
    EXPECT_EQ(ReadWholeFile(data() + blocker), "the player's") << blocker;
  }
}

// A folder the launcher may not write, seen by a user who is not its owner: root writes
// anywhere, so a root test runs the launcher as nobody.
TEST_F(DataFolder, ReadOnlyDataFolderIsRefusedWithAMessage) {
  for (const std::string& folder : {dir_.path(), runtime_.path()}) chmod(folder.c_str(), 0755);
  fs::create_directories(data());
  chmod(data().c_str(), 0555);
  int pipe_ends[2];
  ASSERT_EQ(pipe(pipe_ends), 0);
  const pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
    const std::string problem = Prepare();
    if (write(pipe_ends[1], problem.data(), problem.size()) < 0) _exit(2);
    _exit(problem.empty() ? 0 : 1);
  }
  close(pipe_ends[1]);
  std::string problem;
  char buffer[512];
  for (ssize_t got; (got = read(pipe_ends[0], buffer, sizeof buffer)) > 0;) problem.append(buffer, got);
  close(pipe_ends[0]);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(problem.find("cannot be written into " + data()), std::string::npos) << problem;
  EXPECT_NE(problem.find("TESSELKA_HOME"), std::string::npos) << problem;
  EXPECT_TRUE(fs::is_empty(data()));
}

TEST(CommandLine, OptionsAreAnsweredOrRefusedAndNeverTakenForPlayers) {
  const struct {
    std::vector<std::string> args;
    int status;
    std::vector<std::string> left;  // what the game then starts with
    std::string out, err;           // found in what was printed
  } cases[] = {
      {{}, -1, {}, "", ""},
      {{"bob", "more"}, -1, {"bob", "more"}, "", ""},
      {{"-"}, -1, {"-"}, "", ""},
      {{"--", "-bob"}, -1, {"-bob"}, "", ""},
      {{"bob", "--", "--help"}, -1, {"bob", "--help"}, "", ""},
      {{"--help"}, 0, {"--help"}, "Usage: tesselka [PLAYER]", ""},
      {{"-h", "bob"}, 0, {"-h", "bob"}, "Usage: tesselka [PLAYER]", ""},
      {{"--version"}, 0, {"--version"}, "tesselka ", ""},
      {{"--bogus"}, 1, {"--bogus"}, "", "tesselka: unknown option --bogus\nUsage: tesselka"},
      {{"bob", "--help"}, 1, {"bob", "--help"}, "", "tesselka: unknown option --help\nUsage: tesselka"},
      {{"bob", "-x"}, 1, {"bob", "-x"}, "", "unknown option -x"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = AnswerCommandLine(args);
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    const std::string what = c.args.empty() ? "(none)" : c.args[0] + " ...";
    EXPECT_EQ(status, c.status) << what;
    EXPECT_EQ(args, c.left) << what;
    EXPECT_EQ(out.empty(), c.out.empty()) << what << ": " << out;
    EXPECT_NE(out.find(c.out), std::string::npos) << what << ": " << out;
    EXPECT_EQ(err.empty(), c.err.empty()) << what << ": " << err;
    EXPECT_NE(err.find(c.err), std::string::npos) << what << ": " << err;
  }
}

// "--open PICTURE" before or after the player name; after "--" everything is a player name.
TEST(CommandLine, OpenTakesItsPictureBeforeOrAfterThePlayer) {
  const struct {
    std::vector<std::string> args;
    std::string picture;
    std::vector<std::string> left;
  } cases[] = {
      {{"--open", "photo.jpg"}, "photo.jpg", {}},
      {{"--open", "photo.jpg", "alice"}, "photo.jpg", {"alice"}},
      {{"alice", "--open", "photo.jpg"}, "photo.jpg", {"alice"}},
      {{"alice", "--open", "-dash.jpg"}, "-dash.jpg", {"alice"}},
      {{"alice", "--open"}, "", {"alice"}},
      {{"--open", "a.jpg", "alice", "--open", "b.jpg"}, "b.jpg", {"alice"}},
      {{"--", "--open", "x.jpg"}, "", {"--", "--open", "x.jpg"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    const std::string what = testing::PrintToString(c.args);
    EXPECT_EQ(TakeOpenOption(args), c.picture) << what;
    EXPECT_EQ(args, c.left) << what;
    testing::internal::CaptureStderr();
    EXPECT_EQ(AnswerCommandLine(args), -1) << what;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << what;
  }
}

struct env_case {
  const char *tesselka_home, *xdg_data_home, *home, *expected;
};

TEST(DataFolderPath, FollowsTheEnvironment) {
  const env_case cases[] = {
      {"/t", "/x", "/h", "/t"},
      {nullptr, "/x", "/h", "/x/tesselka"},
      {"", "/x", "/h", "/x/tesselka"},
      {nullptr, "relative", "/h", "/h/.local/share/tesselka"},
      {nullptr, nullptr, "/h", "/h/.local/share/tesselka"},
      {nullptr, nullptr, nullptr, ""},
  };
  std::map<std::string, std::string> saved;
  for (const char* name : {"TESSELKA_HOME", "XDG_DATA_HOME", "HOME"})
    if (const char* value = std::getenv(name)) saved[name] = value;
  for (const env_case& c : cases) {
    const std::pair<const char*, const char*> vars[] = {
        {"TESSELKA_HOME", c.tesselka_home}, {"XDG_DATA_HOME", c.xdg_data_home}, {"HOME", c.home}};
    for (const auto& [name, value] : vars) value ? setenv(name, value, 1) : unsetenv(name);
    std::string problem;
    EXPECT_EQ(DataFolderPath(problem), c.expected);
    EXPECT_EQ(problem.empty(), *c.expected != '\0') << problem;
  }
  for (const char* name : {"TESSELKA_HOME", "XDG_DATA_HOME", "HOME"})
    saved.count(name) ? setenv(name, saved[name].c_str(), 1) : unsetenv(name);
}

TEST(RuntimeFolder, IsFoundBesideTheInstalledOrTheBuiltProgram) {
  temp_folder prefix, build;
  fs::create_directories(prefix / "bin");
  fs::create_directories(build / "shell");
  for (const char* tree : {"images", "fonts", "sounds", "jigsaws"}) {
    fs::create_directories(prefix / ("share/tesselka/" + std::string(tree)));
    fs::create_directories(build / ("runtime/" + std::string(tree)));
  }
  EXPECT_EQ(RuntimeFolder(prefix / "bin/tesselka"), prefix / "share/tesselka");
  EXPECT_EQ(RuntimeFolder(build / "shell/tesselka"), build / "runtime");
  fs::remove_all(build / "runtime/jigsaws");
  EXPECT_EQ(RuntimeFolder(build / "shell/tesselka"), "");
}

}  // namespace
