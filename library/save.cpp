// Saving: the save command, the progress file, "working_on.txt". Every file is replaced whole,
// so a save that is killed or meets a full disk leaves the previous save intact.
// Depends on files/ (atomic writes, numbers), draw/, play/ and game/ (messages, sounds).
#include "draw/draw.h"
#include "files/files.h"
#include "game/game.h"
#include "library/internal.h"
#include "play/play.h"

namespace {

bool WriteNumber(TStream& stream, int value) { return stream.WriteLine(IntToText(value)) == 1; }

bool WriteProgressLines(TStream& stream) {
  bool ok = true;
  for (int i = 1; i <= play.piece_count; ++i) {
    const piece_type& piece = play.pieces[i];
    for (int value : {piece.x, piece.y, piece.a, piece.visible, piece.gp, play.draw_order[i], piece.box})
      ok = WriteNumber(stream, value) && ok;
  }
  for (int value : {play.table_colour.r, play.table_colour.g, play.table_colour.b,
                    game.display.display_large ? 1 : 0, play.last_group})
    ok = WriteNumber(stream, value) && ok;
  return ok;
}

// The finished picture, written again as it is in the jigsaw folder; false when it cannot be
// decoded or written.
bool CopyFolderThumbnail(const std::string& path) {
  const std::shared_ptr<TPixmap> pixmap = LoadPixmap(play.jigsaw_folder + "/tn.png");
  return pixmap && WriteThumbnail(path, pixmap);
}

}  // namespace

void SaveJigsaw() {
  if (play.jigsaw_name.empty()) return;
  WriteWorkingOn();
  DrawTable();
  DrawThumbnailIfShown();
  SaveProgress();
  if (game.prefs.pref_save_message) game.status_message = "jigsaw saved";
  PlayMagic();
}

void SaveProgress() {
  const std::string base = library.player_folder + play.jigsaw_name;
  const std::string path = base + ".txt";
  if (!WriteFileAtomically(path, [](const std::shared_ptr<TStream>& stream) { return WriteProgressLines(*stream); })) {
    ShowErrorAndWait("Unable to save to " + path);
    return;
  }
  // A complete jigsaw whose tn.png cannot be read is pictured from the table instead.
  const std::string thumbnail = base + ".png";
  if (!IsComplete() || !CopyFolderThumbnail(thumbnail)) MakeThumbnail(thumbnail, 0.33, 800, 600);
  library.saved_list.page = 0;
}

void WriteWorkingOn() {
  const std::string path = library.player_folder + "working_on.txt";
  if (!WriteFileAtomically(path, [](const std::shared_ptr<TStream>& stream) {
        return stream->WriteLine(play.jigsaw_name) == 1;
      }))
    ShowErrorAndWait("Unable to save to " + path);
}
