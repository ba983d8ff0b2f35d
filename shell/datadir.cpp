// The launcher's half of the shell: the command-line options that need no window and the
// player's data folder, filled from the game's runtime tree before the game starts there.
// Depends on files/files.h and POSIX (stat, access, rename, utimensat, chdir).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "files/files.h"
#include "shell/shell.h"

namespace {

// The asset folders: the game's own, refreshed from the runtime tree on every start.
const char* const asset_trees[] = {"images", "fonts", "sounds"};
// Lists every asset file the game copied, so that a newer version removes only its own stale
// files and never a file the player put there.
const char* const asset_list = ".assets";
// The folder a first start copies the library into before renaming it into place.
const char* const library_part = ".jigsaws.part";

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The launcher looks at what stands in the data folder with EntryKind, links not followed: it
// never writes, creates or deletes through a link, so nothing outside the data folder changes.

// A plain file at root + "/" + relative reached through plain folders only, no link on the way.
bool IsPlainFileWithin(const std::string& root, const std::string& relative) {
  std::string path = root;
  for (size_t start = 0;;) {
    const size_t end = relative.find('/', start);
    const std::string part = relative.substr(start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    path += "/" + part;
    if (end == std::string::npos) return EntryKind(path) == entry_kind::file;
    if (EntryKind(path) != entry_kind::folder) return false;
    start = end + 1;
  }
}

bool SameStamp(const file_stamp& a, const file_stamp& b) { return a.regular && a == b; }

// Every regular file below root + "/" + tree, as paths relative to root, folders first.
void ListFiles(const std::string& root, const std::string& tree, std::vector<std::string>& folders,
               std::vector<std::string>& files_found) {
  folders.push_back(tree);
  const auto listing = ReadDir(root + "/" + tree);
  for (std::string entry = NextFile(listing); !entry.empty(); entry = NextFile(listing)) {
    if (entry == "." || entry == "..") continue;
    const std::string relative = tree + "/" + entry;
    switch (FileType(root + "/" + relative)) {
      case FILETYPE_DIR: ListFiles(root, relative, folders, files_found); break;
      case FILETYPE_FILE: files_found.push_back(relative); break;
    }
  }
  CloseDir(listing);
}

// The rest of `in` written to `out`; false when a write falls short.
bool CopyBytes(const std::shared_ptr<TStream>& in, const std::shared_ptr<TStream>& out) {
  std::vector<char> buffer(1 << 16);
  for (int64_t got; (got = in->Read(buffer.data(), int64_t(buffer.size()))) > 0;)
    if (out->Write(buffer.data(), got) != got) return false;
  return true;
}

// A plain copy, for files inside a folder that is renamed into place only when complete.
bool CopyFileInto(const std::string& from, const std::string& to) {
  const auto in = ReadFile(from);
  const auto out = in ? WriteFile(to) : nullptr;
  bool ok = in && out && CopyBytes(in, out);
  CloseStream(in);
  CloseStream(out);
  return ok && FileStamp(to).size == FileStamp(from).size;
}

// Makes to a copy of from with the source's time (from_time, taken before the copy), set last:
// an unchanged source is then recognised by its size and time alone, and a copy cut short is
// redone by the next start. Whatever stands at to (a file, or a link, which is replaced itself
// and not what it points at) is replaced whole, old or new at every moment; where nothing
// stands the copy is simply written.
bool RefreshFile(const std::string& from, int64_t from_mtime_ns, const std::string& to) {
  bool ok = false;
  if (EntryKind(to) == entry_kind::none) {
    ok = CopyFileInto(from, to);
  } else if (const auto in = ReadFile(from)) {
    ok = WriteFileAtomically(to, [&](const std::shared_ptr<TStream>& out) { return CopyBytes(in, out); });
    CloseStream(in);
  }
  const timespec from_time = {static_cast<time_t>(from_mtime_ns / 1000000000), static_cast<long>(from_mtime_ns % 1000000000)};
  const timespec times[2] = {from_time, from_time};
  return ok && utimensat(AT_FDCWD, to.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

// A folder copied whole, into a folder that does not exist yet.
bool CopyTree(const std::string& from, const std::string& to) {
  std::vector<std::string> folders, files_found;
  ListFiles(from, ".", folders, files_found);
  for (const std::string& folder : folders)
    if (!CreateDir(to + "/" + folder, true)) return false;
  for (const std::string& file : files_found)
    if (!CopyFileInto(from + "/" + file, to + "/" + file)) return false;
  return true;
}

std::set<std::string> ReadList(const std::string& path) {
  std::set<std::string> lines;
  const auto in = ReadShortLines(path);
  while (in && !in->Eof()) {
    const std::string line = in->ReadLine();
    if (!line.empty()) lines.insert(line);
  }
  CloseStream(in);
  // A line longer than any path: not a list this launcher wrote, so nothing is removed by it.
  if (in && in->overlong) return {};
  return lines;
}

bool WriteList(const std::string& path, const std::vector<std::string>& lines) {
  return WriteFileAtomically(path, [&](const std::shared_ptr<TStream>& out) {
    for (const std::string& line : lines)
      if (out->WriteLine(line) <= 0) return false;
    return true;
  });
}

// A path of the list as this launcher writes it: below an asset folder.
bool IsAssetPath(const std::string& path) {
  for (const char* tree : asset_trees)
    if (path.rfind(std::string(tree) + "/", 0) == 0) return true;
  return false;
}

std::string InTheWay(const std::string& path) {
  return "tesselka: " + path + " is not a folder, but the game keeps a folder there.\n"
         "Move it away or rename it, then start the game again.";
}

std::string CannotWrite(const std::string& data) {
  return "tesselka: the game's files cannot be written into " + data +
         " (read-only, or the disk is full).\n"
         "Make room or make it writable, or set TESSELKA_HOME to a folder you can write.";
}

// Brings images/, fonts/ and sounds/ up to the runtime tree's: changed files are copied, files of
// an older version that the runtime no longer has are removed, anything else is kept. A link
// where an asset or asset folder belongs is replaced by the asset itself.
std::string RefreshAssets(const std::string& runtime, const std::string& data) {
  std::vector<std::string> folders, sources;
  for (const char* tree : asset_trees) ListFiles(runtime, tree, folders, sources);
  for (const std::string& folder : folders) {
    const std::string target = data + "/" + folder;
    switch (EntryKind(target)) {
      case entry_kind::folder: continue;
      case entry_kind::link:
        if (!DeleteFile(target)) return CannotWrite(data);
        [[fallthrough]];
      case entry_kind::none:
        if (!CreateDir(target, false)) return CannotWrite(data);
        break;
      default: return InTheWay(target);
    }
  }
  for (const std::string& file : sources) {
    const std::string target = data + "/" + file;
    const file_stamp source = FileStamp(runtime + "/" + file);
    const entry_kind kind = EntryKind(target);
    if (kind == entry_kind::file && SameStamp(source, FileStamp(target))) continue;
    if (kind == entry_kind::folder) return InTheWay(target);
    if (!RefreshFile(runtime + "/" + file, source.mtime_ns, target)) return CannotWrite(data);
  }
  const std::set<std::string> current(sources.begin(), sources.end());
  const std::set<std::string> listed = ReadList(data + "/" + asset_list);
  if (listed == current) return "";  // the usual start: nothing to remove, the list stands
  for (const std::string& old : listed) {
    if (!current.count(old) && IsAssetPath(old) && IsPlainFileWithin(data, old))
      DeleteFile(data + "/" + old);
  }
  if (!WriteList(data + "/" + asset_list, sources)) return CannotWrite(data);
  return "";
}

// The built-in library is copied once: a jigsaw the player killed stays killed, and the player's
// own jigsaws are never touched.
std::string CopyLibraryOnce(const std::string& runtime, const std::string& data) {
  const std::string library = data + "/jigsaws", part = data + "/" + library_part;
  switch (FileType(library)) {
    case FILETYPE_DIR: return "";
    case FILETYPE_FILE: return InTheWay(library);
  }
  // A part left by a start that was cut short is this launcher's own, and incomplete; a link
  // there goes as a link.
  const entry_kind left = EntryKind(part);
  if (left != entry_kind::none && !(left == entry_kind::folder ? DeleteDir(part, true) : DeleteFile(part)))
    return CannotWrite(data);
  if (!CopyTree(runtime + "/jigsaws", part) || std::rename(part.c_str(), library.c_str()) != 0) {
    DeleteDir(part, true);
    return CannotWrite(data);
  }
  return "";
}

bool HoldsRuntime(const std::string& folder) {
  for (const char* tree : {"images", "fonts", "sounds", "jigsaws"})
    if (FileType(folder + "/" + tree) != FILETYPE_DIR) return false;
  return true;
}

const char* const usage =
    "Usage: tesselka [PLAYER]\n"
    "       tesselka --open PICTURE [PLAYER]\n"
    "       tesselka --help | --version\n"
    "Tesselka, a jigsaw puzzle game. PLAYER names whose saved progress to use\n"
    "(\"default\" when none is given); a name that begins with \"-\" follows \"--\".\n"
    "--open makes a jigsaw of PICTURE (PNG, JPEG, BMP or TGA) first, before or after\n"
    "PLAYER; without a PICTURE the game starts as usual.\n"
    "The game keeps its data in $TESSELKA_HOME, else $XDG_DATA_HOME/tesselka,\n"
    "else ~/.local/share/tesselka. It needs an X display; without a desktop run\n"
    "  xvfb-run -a -s '-screen 0 1280x1024x24' tesselka [PLAYER]\n";

}  // namespace

std::string TakeOpenOption(std::vector<std::string>& args) {
  std::string picture;
  for (size_t i = 0; i < args.size() && args[i] != "--";) {
    if (args[i] != "--open") {
      ++i;
      continue;
    }
    const size_t taken = std::min<size_t>(args.size() - i, 2);
    picture = taken == 2 ? args[i + 1] : "";
    args.erase(args.begin() + static_cast<ptrdiff_t>(i),
               args.begin() + static_cast<ptrdiff_t>(i + taken));
  }
  return picture;
}

int AnswerCommandLine(std::vector<std::string>& args) {
  if (!args.empty() && args[0] == "--version") {
    std::printf("tesselka %s\n", TESSELKA_VERSION);
    return 0;
  }
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(usage, stdout);
    return 0;
  }
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--") {
      args.erase(args.begin() + static_cast<ptrdiff_t>(i));
      break;
    }
    // Anything else that looks like an option is a mistake, never a player name.
    if (args[i].size() > 1 && args[i][0] == '-') {
      std::fprintf(stderr, "tesselka: unknown option %s\n%s", args[i].c_str(), usage);
      return 1;
    }
  }
  return -1;
}

std::string DataFolderPath(std::string& problem) {
  problem.clear();
  if (const std::string home = Env("TESSELKA_HOME"); !home.empty()) return home;
  // Relative values are invalid in the XDG rules and are ignored.
  if (const std::string xdg = Env("XDG_DATA_HOME"); !xdg.empty() && xdg[0] == '/')
    return xdg + "/tesselka";
  if (const std::string home = Env("HOME"); !home.empty()) return home + "/.local/share/tesselka";
  problem =
      "tesselka: HOME is not set, so there is no folder for the game's data.\n"
      "Set TESSELKA_HOME to a folder you can write, for example:\n"
      "  TESSELKA_HOME=/tmp/tesselka tesselka";
  return "";
}

std::string RuntimeFolder(const std::string& program) {
  const std::filesystem::path bin = std::filesystem::path(program).parent_path();
  for (const auto& candidate : {bin / TESSELKA_RUNTIME_FROM_BIN, bin / ".." / "runtime"}) {
    if (HoldsRuntime(candidate.string())) return candidate.lexically_normal().string();
  }
  return "";
}

std::string PrepareDataFolder(const std::string& runtime, const std::string& data) {
  switch (FileType(data)) {
    case FILETYPE_FILE:
      return "tesselka: the data folder " + data + " is a file, not a folder.\n"
             "Move the file away, or set TESSELKA_HOME to a folder (or unset it).";
    case FILETYPE_NONE:
      if (!CreateDir(data, true))
        return "tesselka: the data folder " + data + " cannot be created.\n"
               "Check that its parent folder exists and can be written, or set TESSELKA_HOME\n"
               "to a folder you can write.";
  }
  if (access(data.c_str(), W_OK | X_OK) != 0) return CannotWrite(data);
  // A data folder that is the runtime tree itself is already complete.
  std::error_code ignored;
  if (std::filesystem::equivalent(runtime, data, ignored)) return "";
  if (std::string problem = RefreshAssets(runtime, data); !problem.empty()) return problem;
  if (std::string problem = CopyLibraryOnce(runtime, data); !problem.empty()) return problem;
  const std::string players = data + "/players";
  if (FileType(players) == FILETYPE_FILE) return InTheWay(players);
  if (!CreateDir(players, false)) return CannotWrite(data);
  return "";
}

std::string EnterDataFolder() {
  std::error_code error;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::string runtime = error ? "" : RuntimeFolder(program.string());
  if (runtime.empty())
    return "tesselka: the game's files (images, fonts, sounds, jigsaws) are missing beside the\n"
           "program " + program.string() + ": reinstall the game, or build it again.";
  std::string problem;
  const std::string data = DataFolderPath(problem);
  if (data.empty()) return problem;
  problem = PrepareDataFolder(runtime, data);
  if (problem.empty() && chdir(data.c_str()) != 0) problem = CannotWrite(data);
  return problem;
}
