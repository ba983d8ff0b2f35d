// Shared test fixtures for the shell: tiny asset and jigsaw files written byte by byte,
// resetting every game module, intercepting the process end and posting input events. Depends on
// the game library, its framework and the shared test helpers (temporary working folders).
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "box/box.h"
#include "draw/draw.h"
#include "files/files.h"
#include "library/library.h"
#include "platform/audio.h"
#include "platform/platform.h"
#include "play/play.h"
#include "shell/shell.h"
#include "tests/support/support.h"

namespace shell_test {

namespace fs = std::filesystem;

// A 24-bit BMP of one colour, bottom-up rows padded to 4 bytes.
inline void WriteBmp(const fs::path& path, int w, int h, uint8_t r, uint8_t g, uint8_t b) {
  int pitch = (w * 3 + 3) & ~3;
  uint32_t data_size = pitch * h, file_size = 54 + data_size;
  std::vector<uint8_t> bytes(file_size, 0);
  auto put32 = [&](int at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = (v >> (8 * i)) & 255;
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, file_size);
  put32(10, 54);
  put32(14, 40);
  put32(18, w);
  put32(22, h);
  bytes[26] = 1;
  bytes[28] = 24;
  put32(34, data_size);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &bytes[54 + y * pitch + x * 3];
      p[0] = b, p[1] = g, p[2] = r;
    }
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// A PNG of w x h pixels of one ARGB value.
inline void WritePng(const fs::path& path, int w, int h, uint32_t argb) {
  auto pixmap = CreatePixmap(w, h, PF_RGBA8888);
  pixmap->ClearPixels(argb);
  fs::create_directories(path.parent_path());
  SavePNGPixmap(pixmap, path.string(), 1);
}

// The jigsaw "jigsaws/NAME": rows x cols square pieces of `size` pixels, opaque in distinct
// colours, whose home positions tile the picture from (left, top). No table colour lines.
inline void WriteJigsaw(const std::string& name, int rows, int cols, int size = 40, int left = 300,
                        int top = 200) {
  fs::path folder = fs::path("jigsaws") / name;
  std::string text = std::to_string(rows) + "\r\n" + std::to_string(cols) + "\r\n0\r\n0\r\n";
  for (int j = 0; j < rows; ++j)
    for (int k = 0; k < cols; ++k) {
      int i = j * cols + k + 1;
      text += std::to_string(left + k * size + size / 2) + "\r\n" + std::to_string(top + j * size + size / 2) + "\r\n";
      WritePng(folder / (std::to_string(i) + ".png"), size, size,
               MakeARGB(255, 40 + 20 * i % 200, 200 - 15 * i % 150, 90 + 30 * i % 160));
    }
  WriteWholeFile(folder / "pieces.txt", text);
  WritePng(folder / "tn.png", 30, 20, MakeARGB(255, 200, 200, 200));
}

// The pictures start-up needs for pointing and picking; everything else stays missing (and
// is skipped where it would be drawn).
inline void WriteMinimalAssets() {
  WriteBmp("images/pointer.bmp", 8, 8, 255, 255, 0);
  WriteBmp("images/white.bmp", 2, 2, 255, 255, 255);
}

// Every module of the game and its framework back to start values; no display open.
inline void ResetGame() {
  ResetPlatform();
  ResetDrawing();
  AudioShutdown();
  ResetGameState();
  ResetShellState();
  ResetPlayStateModule();
  ResetBoxState();
  ResetLibraryState();
}

struct ProgramEnded {};

// From now on End() throws ProgramEnded instead of ending the process (register it after
// the display is open, so it runs before the display's own exit handler). End() unregisters a
// handler before running it, so the handler arms itself again for the next end.
inline void InterceptEnd() {
  AddExitHandler([] {
    InterceptEnd();
    throw ProgramEnded{};
  });
}

// Input as the system driver would deliver it: through the hook chain, so the polled state
// and the queue both see it. Returns the queued event.
inline std::shared_ptr<TEvent> Emit(int id, int data = 0, int x = 0, int y = 0) {
  auto event = TEvent::Create(id, nullptr, data, 0, x, y);
  event->Emit();
  return event;
}

// The key a player presses once on reading a blocking notice, 0 once pressed (AnsweringANotice).
inline int notice_answer_key = 0;

// Runs f while a timer ticks; on the first tick that finds a blocking notice waiting, key is
// pressed, once. True when a notice was answered so.
template <typename F>
bool AnsweringANotice(int key, F&& f) {
  const THookFunc press = [](int, std::shared_ptr<TObject> data, std::shared_ptr<TObject>) {
    auto event = std::dynamic_pointer_cast<TEvent>(data);
    if (event && event->id == EVENT_TIMERTICK && game.notice_keys.waiting && notice_answer_key != 0)
      Emit(EVENT_KEYDOWN, std::exchange(notice_answer_key, 0));
    return data;
  };
  notice_answer_key = key;
  AddHook(EmitEventHook, press, nullptr, 1);
  auto ticks = CreateTimer(50);
  f();
  ticks->Stop();
  RemoveHook(EmitEventHook, press, nullptr);
  return std::exchange(notice_answer_key, 0) == 0;
}

}  // namespace shell_test
