// Replacing files whole: success, every kind of failure leaving the old file, and a writer
// killed with SIGKILL at random moments. Depends on files/ and the shared test helpers.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>

#include "files/files.h"
#include "tests/support/support.h"

namespace {

bool WriteText(const std::string& path, const std::string& text) {
  return WriteFileAtomically(path, [&](const std::shared_ptr<TStream>& stream) {
    stream->WriteString(text);
    return true;
  });
}

TEST(WriteFileAtomically, ReplacesTheFileAndLeavesNoTemporary) {
  temp_folder dir;
  dir.Write("a.txt", "old");
  ASSERT_TRUE(WriteText(dir / "a.txt", "new text"));
  EXPECT_EQ(dir.Read("a.txt"), "new text");
  ASSERT_TRUE(WriteText(dir / "b.txt", "fresh"));
  EXPECT_EQ(dir.Read("b.txt"), "fresh");
  EXPECT_FALSE(std::filesystem::exists(dir / ".a.txt.tmp"));
  EXPECT_FALSE(std::filesystem::exists(dir / ".b.txt.tmp"));
}

TEST(WriteFileAtomically, NewFilesTakeTheirModeFromTheUmask) {
  temp_folder dir;
  const mode_t old_mask = umask(027);
  ASSERT_TRUE(WriteText(dir / "a.txt", "x"));
  umask(old_mask);
  struct stat info;
  ASSERT_EQ(stat((dir / "a.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(WriteFileAtomically, ReplacesATemporaryLeftByAKilledRun) {
  temp_folder dir;
  dir.Write(".a.txt.tmp", "half");
  ASSERT_TRUE(WriteText(dir / "a.txt", "whole"));
  EXPECT_EQ(dir.Read("a.txt"), "whole");
  EXPECT_FALSE(std::filesystem::exists(dir / ".a.txt.tmp"));
}

TEST(WriteFileAtomically, FailuresKeepTheOldFile) {
  temp_folder dir;
  dir.Write("a.txt", "old");
  // The writer gives up half-way.
  EXPECT_FALSE(WriteFileAtomically(dir / "a.txt", [](const std::shared_ptr<TStream>& stream) {
    stream->WriteString("half");
    return false;
  }));
  EXPECT_EQ(errno, 0) << "the writer gave up without a system reason";
  EXPECT_EQ(dir.Read("a.txt"), "old");
  EXPECT_FALSE(std::filesystem::exists(dir / ".a.txt.tmp"));
  // A folder stands where the file should go; a folder that does not exist. errno tells which.
  std::filesystem::create_directory(dir / "folder");
  EXPECT_FALSE(WriteText(dir / "folder", "x"));
  EXPECT_EQ(SystemReason(), " (Is a directory)");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "folder"));
  EXPECT_FALSE(WriteText(dir / "missing/a.txt", "x"));
  EXPECT_EQ(SystemReason(), " (No such file or directory)");
  EXPECT_FALSE(WriteText(dir / std::string("a\0b", 3), "x"));
}

// A write the file system refuses (as on a full disk): the child may write only 1000 bytes.
TEST(WriteFileAtomically, AWriteThatFailsKeepsTheOldFile) {
  temp_folder dir;
  dir.Write("a.txt", "old");
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {1000, 1000};
    setrlimit(RLIMIT_FSIZE, &limit);
    if (WriteText(dir / "a.txt", std::string(100000, 'n'))) _exit(1);
    _exit(errno == EFBIG ? 0 : 2);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_NE(WEXITSTATUS(status), 1) << "the failed write was reported as success";
  EXPECT_NE(WEXITSTATUS(status), 2) << "errno does not give the reason";
  EXPECT_EQ(dir.Read("a.txt"), "old");
  EXPECT_FALSE(std::filesystem::exists(dir / ".a.txt.tmp"));
}

// A child rewrites the file again and again, alternating two contents, until it is killed at a
// random moment; the file is always one of them whole.
TEST(WriteFileAtomically, KilledAtRandomMomentsLeavesOldOrNewWhole) {
  temp_folder dir;
  const std::string first(200000, 'a'), second(150000, 'b');
  ASSERT_TRUE(WriteText(dir / "a.txt", first));
  std::mt19937 random(12345);
  for (int run = 0; run < 60; ++run) {
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      for (int i = 0;; ++i) WriteText(dir / "a.txt", i % 2 ? first : second);
    }
    usleep(std::uniform_int_distribution<int>(0, 20000)(random));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    const std::string now = dir.Read("a.txt");
    ASSERT_TRUE(now == first || now == second) << "run " << run << ": " << now.size() << " bytes";
  }
}

}  // namespace
