// When the game saves by itself: before another jigsaw replaces the one in play, when the
// program ends, and after two minutes of play without a save; the hint after start-up of the
// jigsaw to go on with. Depends on platform/ (clock, timers, the worker), files/, play/ and game/.
#include <cstdio>

#include "files/files.h"
#include "game/game.h"
#include "library/internal.h"
#include "platform/platform.h"
#include "play/play.h"

namespace {

void StopSaveWake() {
  if (library.save_wake) library.save_wake->Stop();
  library.save_wake = nullptr;
}

}  // namespace

void SaveBeforeLeaving() {
  if (!JigsawChanged()) return;
  if (const auto job = StartSave(save_report::notice); job->Wait(kLeavingWait)) TakeBackSave(job);
}

void SaveOnExit() {
  StopSaveWake();
  if (JigsawChanged()) StartSave(save_report::standard_error);
  const std::shared_ptr<save_job_type> last = library.saving;
  if (!last) return;
  // Saves run in order, so the last one given finishing means every one has.
  if (last->Wait(kLeavingWait)) {
    TakeFinishedWork();  // the saves before it
    TakeBackSave(last);
    return;
  }
  last->abandoned = true;
  std::fprintf(stderr, "tesselka: saving %s took too long and was abandoned; the last save is kept\n",
               last->progress_path.c_str());
  StopWorker(0);  // nor does the end of the program wait for it
}

void SaveWhenDue() {
  if (library.saving || !JigsawChanged()) {
    StopSaveWake();
    return;
  }
  const int left = library.next_save_due - Millisecs();
  if (left <= 0) {
    StopSaveWake();
    StartSave(save_report::banner_once);
    return;
  }
  if (library.save_wake && library.save_wake_due == library.next_save_due) return;
  StopSaveWake();
  library.save_wake = TTimer::CreateEvery(left);
  library.save_wake_due = library.next_save_due;
}

void NoteJigsawStarted() {
  MarkJigsawUnchanged();
  library.next_save_due = Millisecs() + kSaveInterval;
}

std::string GoOnMessage() {
  std::string name;
  if (ReadWorkingOn(name) < 0 || !IsPlainJigsawName(name)) return "";
  if (FileType(library.player_folder + name + ".txt") != 1) return "";
  return "Press = then Y to go on with " + name;
}
