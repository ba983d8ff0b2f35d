// Resuming a saved jigsaw (from the saved page or by fetch). The progress file is read and
// checked before the jigsaw's folder replaces the one in play, so a failure changes nothing.
// Depends on files/, play/ and game/.
#include "files/files.h"
#include "game/game.h"
#include "library/internal.h"
#include "play/play.h"

namespace {

constexpr int64_t kLongestWorkingOn = 4096;

// The piece count that "jigsaws/" + name + "/pieces.txt" declares, or 0 when it cannot be read
// or is out of range (LoadJigsawFolder then reports the folder).
int DeclaredPieceCount(const std::string& name) {
  const std::shared_ptr<TShortLineStream> stream = ReadShortLines("jigsaws/" + name + "/pieces.txt");
  if (!stream) return 0;
  const int64_t rows = TextToInt(stream->ReadLine()), cols = TextToInt(stream->ReadLine());
  CloseStream(stream);
  if (stream->overlong || rows < 1 || cols < 1 || rows * cols > kMaxPieces) return 0;
  return static_cast<int>(rows * cols);
}

}  // namespace

bool ResumeJigsaw(const std::string& name) {
  ShowBusy("please wait");
  // Going back to the saved state of the jigsaw in play leaves nothing behind to save.
  if (name != play.jigsaw_name) SaveBeforeLeaving();
  if (!IsPlainJigsawName(name)) {
    ShowErrorAndWait("\"" + name + "\" is not the name of a jigsaw in jigsaws/");
    return false;
  }
  const int declared = DeclaredPieceCount(name);
  std::optional<progress_type> progress;
  if (declared > 0) {
    progress = ReadProgress(library.player_folder + name + ".txt", declared);
    if (!progress) return false;
  }
  if (!LoadJigsawFolder(name)) return false;
  // The folder may have changed between the two reads.
  if (!progress || play.piece_count != declared) {
    progress = ReadProgress(library.player_folder + name + ".txt", play.piece_count);
    if (!progress) return false;
  }
  ResetPlayState();
  LoadProgress(*progress);
  // After LoadProgress, which may switch the display size the view is fitted to.
  SetViewValues(ReadViewFile(library.player_folder + name + ".view"));
  NoteJigsawStarted();
  game.screen = "jigsaw";
  game.click_pending = false;
  return true;
}

int64_t ReadWorkingOn(std::string& name) {
  const std::string path = library.player_folder + "working_on.txt";
  // The game writes this file itself: a link there is never followed.
  if (EntryKind(path) == entry_kind::link) return -1;
  // A folder name is at most a few hundred bytes; a longer file is not read into memory.
  int64_t size = 0;
  const std::shared_ptr<TMemoryStream> stream = TMemoryStream::ReadFile(path, kLongestWorkingOn, size);
  if (stream) name = stream->ReadLine();
  return size < 0 ? -1 : stream ? size : kLongestWorkingOn + 1;
}

void FetchWorkingOn() {
  const std::string path = library.player_folder + "working_on.txt";
  const entry_kind kind = EntryKind(path);
  if (kind == entry_kind::link) {
    ShowErrorAndWait(path + " is a link, not a file");
    return;
  }
  std::string name;
  const int64_t size = ReadWorkingOn(name);
  if (size < 0) {
    if (kind == entry_kind::none) {
      game.status_message = "I can't find any saved jigsaws to fetch";
    } else {
      ShowErrorAndWait(FileFault(path));
    }
    return;
  }
  if (size > kLongestWorkingOn) {
    ShowErrorAndWait(path + " is too long to name a jigsaw");
    return;
  }
  ResumeJigsaw(name);
}
