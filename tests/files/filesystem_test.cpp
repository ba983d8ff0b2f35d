// Tests of the file-system functions on real folders below a temporary folder.
// Depends on files/files.h, POSIX and the test fixtures.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>

#include "files/files.h"
#include "tests/files/fixtures.h"
#include "tests/support/support.h"

namespace {

mode_t ModeOf(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(FileSystem, FixPath) {
  struct {
    const char* path;
    bool dirflag;
    const char* fixed;
  } cases[] = {
      {"a\\b\\c.txt", false, "a/b/c.txt"},
      {"//server", false, "//server/"},
      {"\\\\server", false, "//server/"},
      {"//server/share", false, "//server/share"},
      {"X:", false, "X:/"},
      {"X:name", false, "X:/name"},
      {"X:/name", false, "X:/name"},
      {"X::y", false, "X::y"},
      {"dir/a:b", false, "dir/a:b"},
      {"dir/", false, "dir/"},
      {"dir/", true, "dir"},
      {"a\\b\\", true, "a/b"},
      {"/", true, "/"},
      {"X:/", true, "X:/"},
      {"X:", true, "X:/"},
      {"//server/", true, "//server/"},
      {"//server/share/", true, "//server/share"},
      {"", true, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FixPath(c.path, c.dirflag), c.fixed) << '"' << c.path << "\" " << c.dirflag;
  }
}

TEST(FileSystem, FileTypes) {
  temp_folder dir;
  dir.Write("file", "x");
  dir.Write("a<b", "x");
  dir.Write("a>b", "x");
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  EXPECT_EQ(FileType(dir / "file"), 1);
  EXPECT_EQ(FileType(dir.path()), 2);
  EXPECT_EQ(FileType(dir.path() + "/"), 2);
  EXPECT_EQ(FileType(dir / "missing"), 0);
  EXPECT_EQ(FileType(dir / "a<b"), 0);
  EXPECT_EQ(FileType(dir / "a>b"), 0);
  EXPECT_EQ(FileType(dir / "fifo"), 0);
  EXPECT_EQ(FileType(""), 0);
}

TEST(FileSystem, EntryKindsAndFileFaultsTellMissingFromUnusable) {
  temp_folder dir;
  dir.Write("file", "x");
  dir.Write("empty", "");
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  ASSERT_EQ(symlink((dir / "file").c_str(), (dir / "link").c_str()), 0);
  ASSERT_EQ(symlink((dir / "gone").c_str(), (dir / "dangling").c_str()), 0);
  const struct {
    std::string path;
    entry_kind kind;
    std::string fault;  // after the path, or the whole message when it starts with "can't"
  } cases[] = {
      {dir / "missing", entry_kind::none, "can't find " + dir / "missing"},
      {dir / "missing/x", entry_kind::none, "can't find " + dir / "missing/x"},
      {dir / "file/x", entry_kind::none, "can't find " + dir / "file/x"},
      {dir / "file", entry_kind::file, " is damaged"},
      {dir / "link", entry_kind::link, " is damaged"},
      {dir / "empty", entry_kind::file, " is empty"},
      {dir.path(), entry_kind::folder, " is a folder, not a file"},
      {dir / "fifo", entry_kind::other, " is a named pipe, not a file"},
      {"/dev/null", entry_kind::other, " is not a plain file"},
      {dir / "dangling", entry_kind::link, " is a link to a missing file"},
      {dir / std::string(300, 'n'), entry_kind::none, " cannot be read (File name too long)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EntryKind(c.path), c.kind) << c.path;
    EXPECT_EQ(FileFault(c.path), c.fault.rfind("can't", 0) == 0 ? c.fault : c.path + c.fault);
  }
}

TEST(FileSystem, SetFileMode) {
  temp_folder dir;
  dir.Write("f", "x");
  SetFileMode(dir / "f", 0640);
  EXPECT_EQ(ModeOf(dir / "f"), 0640u);
  SetFileMode(dir / "missing", 0640);  // ignored
}

TEST(FileSystem, CreateDir) {
  temp_folder dir;
  dir.Write("file", "x");
  EXPECT_TRUE(CreateDir(dir / "new", false));
  EXPECT_EQ(FileType(dir / "new"), 2);
  EXPECT_TRUE(CreateDir(dir / "new/", false));  // already there
  EXPECT_FALSE(CreateDir(dir / "missing/child", false));
  EXPECT_EQ(SystemReason(), " (No such file or directory)");
  EXPECT_EQ(FileType(dir / "missing"), 0);
  EXPECT_TRUE(CreateDir(dir / "deep\\er/still/", true));
  EXPECT_EQ(FileType(dir / "deep/er/still"), 2);
  EXPECT_FALSE(CreateDir(dir / "file/below", true));
  EXPECT_EQ(SystemReason(), " (Not a directory)");
  EXPECT_FALSE(CreateDir(dir / "file", false));
  EXPECT_EQ(SystemReason(), " (File exists)");

  // A relative path is taken from the working directory.
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(chdir(dir.path().c_str()), 0);
  const bool made = CreateDir("rel/a/b", true);
  ASSERT_EQ(chdir(cwd), 0);
  EXPECT_TRUE(made);
  EXPECT_EQ(FileType(dir / "rel/a/b"), 2);
}

TEST(FileSystem, DeleteFile) {
  temp_folder dir;
  EXPECT_TRUE(DeleteFile(dir / "never-there"));
  dir.Write("locked", "x");
  chmod((dir / "locked").c_str(), 0444);
  EXPECT_TRUE(DeleteFile(dir / "locked"));
  EXPECT_EQ(FileType(dir / "locked"), 0);

  // Unlinking needs no permission on the file: another name of the same file (a hard link, as
  // a player's file or a piece may be) keeps its mode, private or read-only.
  for (mode_t mode : {0600u, 0444u}) {
    dir.Write("private", "x");
    chmod((dir / "private").c_str(), mode);
    ASSERT_EQ(link((dir / "private").c_str(), (dir / "other-name").c_str()), 0);
    EXPECT_TRUE(DeleteFile(dir / "other-name"));
    EXPECT_EQ(ModeOf(dir / "private"), mode);
    ASSERT_EQ(unlink((dir / "private").c_str()), 0);
  }

  // A folder is not a file: it stays, with its mode untouched.
  ASSERT_TRUE(CreateDir(dir / "folder", false));
  SetFileMode(dir / "folder", 0755);
  EXPECT_FALSE(DeleteFile(dir / "folder"));
  EXPECT_EQ(ModeOf(dir / "folder"), 0755u);

  // A NUL ends the host's reading of a name; such a path must not act on the shorter name.
  dir.Write("keep", "x");
  EXPECT_FALSE(DeleteFile(dir / "keep" + std::string(1, '\0') + ".txt"));
  EXPECT_EQ(FileType(dir / "keep"), 1);
}

TEST(FileSystem, LockFolder) {
  temp_folder dir, outside;
  bool busy = true;
  auto lock = LockFolder(dir.path(), busy);
  ASSERT_TRUE(lock);
  EXPECT_FALSE(busy);
  EXPECT_FALSE(LockFolder(dir.path() + "/", busy));  // another holder, even in this process
  EXPECT_TRUE(busy);
  lock.reset();
  EXPECT_TRUE(LockFolder(dir.path(), busy));
  // No lock where the lock file cannot be made: a missing folder, a link or a pipe at ".lock"
  // (the link's target is not made).
  EXPECT_FALSE(LockFolder(dir / "missing", busy));
  EXPECT_FALSE(busy);
  ASSERT_TRUE(CreateDir(dir / "linked", false));
  ASSERT_EQ(symlink((outside / "made").c_str(), (dir / "linked/.lock").c_str()), 0);
  EXPECT_FALSE(LockFolder(dir / "linked", busy));
  EXPECT_FALSE(busy);
  EXPECT_EQ(FileType(outside / "made"), 0);
  ASSERT_TRUE(CreateDir(dir / "piped", false));
  ASSERT_EQ(mkfifo((dir / "piped/.lock").c_str(), 0600), 0);
  EXPECT_FALSE(LockFolder(dir / "piped", busy));
  EXPECT_FALSE(busy);
}

TEST(FileSystem, DeleteDir) {
  temp_folder dir;
  ASSERT_TRUE(CreateDir(dir / "full/sub/subsub", true));
  dir.Write("full/a.txt", "x");
  dir.Write("full/sub/b<c>.txt", "x");
  dir.Write("full/sub/subsub/d", "x");
  chmod((dir / "full/a.txt").c_str(), 0400);

  EXPECT_FALSE(DeleteDir(dir / "full", false));
  EXPECT_EQ(dir.Read("full/a.txt"), "x");
  EXPECT_TRUE(DeleteDir(dir / "full/", true));
  EXPECT_EQ(FileType(dir / "full"), 0);

  ASSERT_TRUE(CreateDir(dir / "empty", false));
  EXPECT_TRUE(DeleteDir(dir / "empty", false));
  EXPECT_TRUE(DeleteDir(dir / "empty", false));  // nothing there afterwards
  EXPECT_FALSE(DeleteDir(dir / "empty", true));  // but there is nothing to list
}

TEST(FileSystem, DeleteDirRemovesLinksWithoutFollowing) {
  temp_folder dir;
  ASSERT_TRUE(CreateDir(dir / "elsewhere", false));
  dir.Write("elsewhere/precious", "keep me");
  ASSERT_TRUE(CreateDir(dir / "doomed", false));
  ASSERT_EQ(symlink((dir / "elsewhere").c_str(), (dir / "doomed/folder-link").c_str()), 0);
  ASSERT_EQ(symlink((dir / "elsewhere/precious").c_str(), (dir / "doomed/file-link").c_str()), 0);
  ASSERT_EQ(symlink((dir / "elsewhere").c_str(), (dir / "top-link").c_str()), 0);
  SetFileMode(dir / "elsewhere/precious", 0400);

  EXPECT_TRUE(DeleteDir(dir / "doomed", true));
  EXPECT_TRUE(DeleteDir(dir / "top-link", true));
  EXPECT_EQ(FileType(dir / "doomed"), 0);
  EXPECT_EQ(dir.Read("elsewhere/precious"), "keep me");
  EXPECT_EQ(ModeOf(dir / "elsewhere/precious"), 0400u);
}

TEST(FileSystem, ListingAFolder) {
  temp_folder dir;
  dir.Write("a", "x");
  ASSERT_TRUE(CreateDir(dir / "b", false));
  auto listing = ReadDir(dir.path() + "/");
  ASSERT_NE(listing, nullptr);
  std::set<std::string> names;
  for (std::string name = NextFile(listing); !name.empty(); name = NextFile(listing)) {
    names.insert(name);
  }
  EXPECT_EQ(names, (std::set<std::string>{".", "..", "a", "b"}));
  EXPECT_EQ(NextFile(listing), "");
  CloseDir(listing);
  EXPECT_EQ(NextFile(listing), "");

  EXPECT_EQ(ReadDir(dir / "a"), nullptr);
  EXPECT_EQ(ReadDir(dir / "missing"), nullptr);
  EXPECT_EQ(NextFile(nullptr), "");
  CloseDir(nullptr);
}

}  // namespace
