// Resuming a saved jigsaw (from the saved page or by fetch). The progress file is read and
// checked before the jigsaw's folder replaces the one in play, so a failure changes nothing.
// Depends on files/, play/ and game/.
#include "files/files.h"
#include "game/game.h"
#include "library/library.h"
#include "play/play.h"

namespace {

constexpr int64_t kLongestWorkingOn = 4096;

// The piece count that "jigsaws/" + name + "/pieces.txt" declares, or 0 when it cannot be read
// or is out of range (LoadJigsawFolder then reports the folder).
int DeclaredPieceCount(const std::string& name) {
  const std::shared_ptr<TStream> stream = ReadFile("jigsaws/" + name + "/pieces.txt");
  if (!stream) return 0;
  const int64_t rows = TextToInt(stream->ReadLine()), cols = TextToInt(stream->ReadLine());
  CloseStream(stream);
  if (rows < 1 || cols < 1 || rows * cols > kMaxPieces) return 0;
  return static_cast<int>(rows * cols);
}

}  // namespace

bool ResumeJigsaw(const std::string& name) {
  ShowBusy("please wait");
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
  game.screen = "jigsaw";
  game.click_pending = false;
  return true;
}

void FetchWorkingOn() {
  const std::string path = library.player_folder + "working_on.txt";
  // A folder name is at most a few hundred bytes; a longer file is not read into memory.
  int64_t size = 0;
  const std::shared_ptr<TMemoryStream> stream = TMemoryStream::ReadFile(path, kLongestWorkingOn, size);
  if (size < 0) {
    game.status_message = "I can't find any saved jigsaws to fetch";
    return;
  }
  if (!stream) {
    ShowErrorAndWait(path + " is too long to name a jigsaw");
    return;
  }
  ResumeJigsaw(stream->ReadLine());
}
