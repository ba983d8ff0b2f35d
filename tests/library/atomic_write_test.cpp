// Replacing files whole: success, every kind of failure leaving the old file, a writer killed
// with SIGKILL at random moments, two writers of one file at once, and which temporaries count
// as left over. Depends on files/ and the shared test helpers.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>
#include <set>

#include "files/files.h"
#include "tests/support/support.h"

namespace {

bool WriteText(const std::string& path, const std::string& text) {
  return WriteFileAtomically(path, [&](const std::shared_ptr<TStream>& stream) {
    stream->WriteString(text);
    return true;
  });
}

// The names in folder.
std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

// The id of a process that has ended: one beyond any pid_max, since on a busy machine the id of a
// child that just ended may already be taken again.
pid_t EndedProcess() { return 0x7ffffff0; }

std::string Temporary(const std::string& name, pid_t pid, int serial = 1) {
  return "." + name + "." + std::to_string(pid) + "-" + std::to_string(serial) + ".tmp";
}

TEST(WriteFileAtomically, ReplacesTheFileAndLeavesNoTemporary) {
  temp_folder dir;
  dir.Write("a.txt", "old");
  ASSERT_TRUE(WriteText(dir / "a.txt", "new text"));
  EXPECT_EQ(dir.Read("a.txt"), "new text");
  ASSERT_TRUE(WriteText(dir / "b.txt", "fresh"));
  EXPECT_EQ(dir.Read("b.txt"), "fresh");
  EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"a.txt", "b.txt"}));
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

// What a killed writer left is removed by the next write into the folder, or by
// RemoveStaleTemporaries; what a running writer holds, and every name it did not make, stays.
TEST(WriteFileAtomically, RemovesOnlyTheTemporariesThatKilledWritersLeft) {
  temp_folder dir, outside;
  const pid_t ended = EndedProcess();
  const std::set<std::string> stale = {Temporary("a.txt", ended), Temporary("b.png", getpid(), 7),
                                       Temporary("x.y.z", ended, 12), ".a.txt.tmp"};  // earlier versions'
  for (const std::string& name : stale) dir.Write(name, "half");
  // A running writer's temporary: its process runs and holds it locked.
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t writer = fork();
  if (writer == 0) {
    const int fd = open((dir / Temporary("c.txt", getpid())).c_str(), O_WRONLY | O_CREAT, 0666);
    flock(fd, LOCK_EX);
    (void)!write(ready[1], "x", 1);
    pause();
  }
  char byte;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  // One whose writer in this process holds it locked.
  dir.Write(Temporary("d.txt", getpid(), 3), "writing");
  const int held = open((dir / Temporary("d.txt", getpid(), 3)).c_str(), O_RDONLY);
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  // Names of other forms, a link, a folder.
  const std::set<std::string> others = {".notes.tmp", Temporary("a.txt", ended).substr(1), ".a.txt." + std::to_string(ended) + "-x.tmp",
                                        "." + std::to_string(ended) + "-1.tmp", ".a.txt.0-1.tmp", ".a.txt.99999999999-1.tmp"};
  for (const std::string& name : others) dir.Write(name, "someone else's");
  outside.Write("target", "someone else's");
  std::filesystem::create_symlink(outside / "target", dir / Temporary("link", ended));
  std::filesystem::create_directory(dir / Temporary("folder", ended));

  std::set<std::string> kept = others;
  kept.insert({Temporary("c.txt", writer), Temporary("d.txt", getpid(), 3), Temporary("link", ended),
               Temporary("folder", ended), "a.txt"});
  ASSERT_TRUE(WriteText(dir / "a.txt", "whole"));
  EXPECT_EQ(Names(dir.path()), kept);
  EXPECT_EQ(outside.Read("target"), "someone else's");

  // Once its writers have ended and let go, RemoveStaleTemporaries takes it.
  kill(writer, SIGKILL);
  waitpid(writer, nullptr, 0);
  close(held);
  kept.erase(Temporary("c.txt", writer));
  kept.erase(Temporary("d.txt", getpid(), 3));
  RemoveStaleTemporaries(dir.path());
  EXPECT_EQ(Names(dir.path()), kept);
  close(ready[0]);
  close(ready[1]);
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
  EXPECT_EQ(Names(dir.path()), std::set<std::string>{"a.txt"});
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
  EXPECT_EQ(Names(dir.path()), std::set<std::string>{"a.txt"});
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
  // The killed writers' temporaries go with the next write.
  ASSERT_TRUE(WriteText(dir / "a.txt", first));
  EXPECT_EQ(Names(dir.path()), std::set<std::string>{"a.txt"});
}

// Two processes rewrite one file at once (two games for one player): every read finds one of
// their contents whole, and neither's write fails for the other's.
TEST(WriteFileAtomically, TwoWritersAtOnceNeverTearTheFile) {
  temp_folder dir;
  const std::string contents[2] = {std::string(300000, 'a'), std::string(200000, 'b')};
  ASSERT_TRUE(WriteText(dir / "a.txt", contents[0]));
  pid_t writers[2];
  for (int w = 0; w < 2; ++w) {
    writers[w] = fork();
    ASSERT_NE(writers[w], -1);
    if (writers[w] == 0) {
      int failed = 0;
      for (int i = 0; i < 150; ++i) failed += WriteText(dir / "a.txt", contents[w]) ? 0 : 1;
      _exit(failed);
    }
  }
  int torn = 0, reads = 0, ended = 0, failed_writes = 0;
  for (; ended < 2; ++reads) {
    const std::string now = dir.Read("a.txt");
    if (now != contents[0] && now != contents[1]) ++torn;
    int status = 0;
    for (pid_t& writer : writers) {
      if (writer <= 0 || waitpid(writer, &status, WNOHANG) != writer) continue;
      failed_writes += WIFEXITED(status) ? WEXITSTATUS(status) : 1000;
      writer = -1;
      ++ended;
    }
  }
  EXPECT_EQ(torn, 0) << "of " << reads << " reads";
  EXPECT_EQ(failed_writes, 0);
  EXPECT_EQ(Names(dir.path()), std::set<std::string>{"a.txt"});
}

}  // namespace
