// Saving: what a save takes from the game on the main thread (the progress values, the view and
// the thumbnail picture), writing it (progress file, view file, thumbnail, "working_on.txt", each
// replaced whole) on the worker thread, and taking the result back at a turn. Saves run one at a time
// on the one worker. Depends on files/ (atomic writes, numbers), draw/, platform/ (the worker),
// play/ and game/ (messages, sounds).
#include <cstdio>

#include "draw/draw.h"
#include "files/files.h"
#include "game/game.h"
#include "library/internal.h"
#include "platform/platform.h"
#include "play/play.h"

namespace {

bool WriteProgressLines(TStream& stream, const std::vector<int>& values) {
  bool ok = true;
  for (int value : values) ok = stream.WriteLine(IntToText(value)) == 1 && ok;
  return ok;
}

// Marks a view that could not be written: ViewValues never gives it, so the jigsaw still counts
// as changed and the next save tries again.
constexpr std::array<int, 3> kUnsavedView{-1, -1, -1};

// The picture for the thumbnail: the finished picture as it is in the jigsaw folder when the
// jigsaw is complete and its tn.png decodes, else the table drawn into the back buffer.
std::shared_ptr<TPixmap> ThumbnailPicture() {
  if (IsComplete())
    if (auto finished = LoadPixmap(play.jigsaw_folder + "/tn.png")) return finished;
  // As key S sees it: a key has always cleared the help hint by then. The whole table, however
  // big, zoomed or the window, in the 800 x 600 that is grabbed.
  const bool hint = game.hint_visible;
  game.hint_visible = false;
  SetWindowFill(false);  // the table as laid out at the game's size, whatever the window's
  DrawTableInView(TopLeftView(800, 600));
  DrawThumbnailIfShown();
  game.hint_visible = hint;
  return GrabThumbnail(0.33, 800, 600);
}

// Runs on the worker: the three files, stopping short of the next one once abandoned.
void WriteSave(save_job_type& job) {
  if (job.abandoned) return;
  if (!WriteFileAtomically(job.working_on_path, [&](const std::shared_ptr<TStream>& stream) {
        return stream->WriteLine(job.name) == 1;
      }))
    job.failures.push_back(job.working_on_path + SystemReason());
  if (job.abandoned) return;
  // Checked again once the lines are written, so an abandoned save never renames over the old file.
  if (!WriteFileAtomically(job.progress_path, [&](const std::shared_ptr<TStream>& stream) {
        return WriteProgressLines(*stream, job.values) && !job.abandoned;
      })) {
    job.failures.push_back(job.progress_path + SystemReason());
    return;
  }
  job.progress_written = true;
  if (job.abandoned) return;
  if (WriteFileAtomically(job.view_path, [&](const std::shared_ptr<TStream>& stream) {
        return WriteViewLines(*stream, job.view) && !job.abandoned;
      }))
    job.view_written = true;
  else if (!job.abandoned)
    job.failures.push_back(job.view_path + SystemReason());
  if (job.abandoned) return;
  // Without its thumbnail the saved page would not offer the jigsaw, so a failure is told too.
  if (job.thumbnail && !WriteThumbnail(job.thumbnail_path, job.thumbnail)) job.failures.push_back(job.thumbnail_path + SystemReason());
}

}  // namespace

void TakeBackSave(const std::shared_ptr<save_job_type>& job) {
  if (job->taken_back) return;
  job->taken_back = true;
  if (library.saving == job) library.saving = nullptr;
  if (job->progress_written) {
    library.saved_list.page = 0;
    if (job->name == play.jigsaw_name)
      MarkJigsawSavedAs(job->name, job->values, job->view_written ? job->view : kUnsavedView);
    library.save_failing = false;
  }
  for (const std::string& failure : job->failures) {
    const std::string message = "Unable to save to " + failure;
    // Nothing may hold up the end of the program, even a save given earlier.
    switch (game.leaving ? save_report::standard_error : job->report) {
      case save_report::notice: ShowErrorAndWait(message); break;
      case save_report::banner_once:
        if (!library.save_failing) game.status_message = message;
        break;
      case save_report::standard_error: std::fprintf(stderr, "tesselka: %s\n", message.c_str()); break;
    }
  }
  if (!job->failures.empty()) library.save_failing = true;
}

bool save_job_type::Wait(int wait_ms) {
  std::unique_lock lock(mutex);
  if (wait_ms < 0) {
    finished.wait(lock, [this] { return done; });
    return true;
  }
  return finished.wait_for(lock, std::chrono::milliseconds(wait_ms), [this] { return done; });
}

std::shared_ptr<save_job_type> StartSave(save_report report) {
  auto job = std::make_shared<save_job_type>();
  job->report = report;
  job->name = play.jigsaw_name;
  const std::string base = library.player_folder + play.jigsaw_name;
  job->working_on_path = library.player_folder + "working_on.txt";
  job->progress_path = base + ".txt";
  job->view_path = base + ".view";
  job->thumbnail_path = base + ".png";
  job->values = ProgressValues();
  job->view = ViewValues();
  job->thumbnail = ThumbnailPicture();
  library.saving = job;
  library.next_save_due = Millisecs() + kSaveInterval;
  RunInBackground([job](const std::atomic<bool>&) -> TWorkDone {
    WriteSave(*job);
    {
      std::lock_guard lock(job->mutex);
      job->done = true;
    }
    job->finished.notify_all();
    return [job] { TakeBackSave(job); };
  });
  return job;
}

void SaveJigsaw() {
  if (play.jigsaw_name.empty()) return;
  const auto job = StartSave(save_report::notice);
  job->Wait(-1);
  TakeBackSave(job);
  // A save that failed has said so; it is not called saved.
  if (!job->failures.empty()) return;
  if (game.prefs.pref_save_message) game.status_message = "jigsaw saved";
  PlayMagic();
}

bool SaveProgress() {
  const auto job = StartSave(save_report::notice);
  job->Wait(-1);
  TakeBackSave(job);
  return job->failures.empty();
}
