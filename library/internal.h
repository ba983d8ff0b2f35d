// Declarations shared by the library's own files; not part of its public face.
// Depends on library.h.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "library/library.h"

class TPixmap;
class TStream;

// Loads a library jigsaw and scatters it with empty boxes, leaving the table colour as the folder
// set it. The folder is loaded before anything is reset, so a failed load (reported by the
// loader) leaves the jigsaw in play. True when it started.
bool StartScattered(const std::string& name);

// Forgets the cutting screen's picture and choices (part of ResetLibraryState).
void ResetCutScreen();

// The My pictures button on "new1" under the pointer.
bool ClickPicturesButton();

// Every entry of the folder but "." and "..", in the host's order, or none when it cannot be
// listed.
std::vector<std::string> ListFolder(const std::string& folder);

// Writes pixmap as a saved thumbnail (PNG, level 5) at path, replacing it whole. False when it
// cannot be written.
bool WriteThumbnail(const std::string& path, const std::shared_ptr<TPixmap>& pixmap);

// The top-left 800 x 600 of the back buffer, scaled by `scale` (when below 1) to scale x width
// by scale x height; nullptr when it cannot be read.
std::shared_ptr<TPixmap> GrabThumbnail(double scale, int width, int height);


// The view file of a saved jigsaw: player folder + name + ".view" (the saved list looks only at
// ".png" files, so it never lists one). Writes the three ViewValues as lines; false when a line
// cannot be written.
bool WriteViewLines(TStream& stream, const std::array<int, 3>& view);
// The values of the view file at path, each as written (SetViewValues keeps any of them within
// range); all 0, the home view, when the file is missing, short or holds an overlong line.
std::array<int, 3> ReadViewFile(const std::string& path);

// How a failed save tells the player: a blocking notice (the save command, leaving for another
// jigsaw), the banner once until a save succeeds (saving while playing), or the standard error
// (the program is ending and the window may be gone).
enum class save_report { notice, banner_once, standard_error };

// One save: what the main thread took from the game, written by the worker.
struct save_job_type {
  save_report report = save_report::notice;
  std::string name, working_on_path, progress_path, view_path, thumbnail_path;
  std::vector<int> values;             // what the progress file holds
  std::array<int, 3> view{};           // what the view file holds
  std::shared_ptr<TPixmap> thumbnail;  // nullptr when no picture could be had
  std::atomic<bool> abandoned{false};  // set by the main thread: write nothing more
  // Set by the worker before done.
  // What could not be written: each path with the system's reason, as SystemReason gives it.
  std::vector<std::string> failures;
  bool progress_written = false;
  bool view_written = false;
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  bool taken_back = false;  // TakeBackSave has run (main thread only)

  // Waits until the worker has written it (wait_ms < 0: however long); true when it has.
  bool Wait(int wait_ms);
};

// On the main thread, once the worker has written job: the saved list goes stale and the jigsaw
// counts as saved (when it is still the one in play), failures are reported. Runs once per
// job, whether a waiting caller or the worker's finished step gets there first.
void TakeBackSave(const std::shared_ptr<save_job_type>& job);

// Takes the current jigsaw's values and thumbnail picture and queues the writing on the worker;
// the result is taken back (notices, the saved list, the jigsaw counting as unchanged) when
// the main thread takes finished work back. The next save while playing falls due
// kSaveInterval from now.
std::shared_ptr<save_job_type> StartSave(save_report report);

// Reads the jigsaw name in the player's "working_on.txt" into name. Returns the file's size, -1
// when it cannot be read or is a link, or above 4096 (name left empty) when it is too long to name a jigsaw.
int64_t ReadWorkingOn(std::string& name);
