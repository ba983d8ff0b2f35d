// The five confirmations: their pictures, Yes areas and actions, drawn per frame and answered
// by a click. Depends on play/ and box/ (restart) and the shell's helpers.
#include "box/box.h"
#include "library/library.h"
#include "platform/platform.h"
#include "play/play.h"
#include "shell/internal.h"

namespace {

[[noreturn]] void EndOnYes() { EndProgram(); }

const confirm_type kConfirms[] = {
    {"D", 'D', &shell_images_type::do_new, 154, 68, 239, 99, PickNextUnsaved},
    {"Q", 'Q', &shell_images_type::quick_pick, 154, 68, 239, 99, PickRandomJigsaw},
    {"R", 'R', &shell_images_type::reload, 154, 68, 239, 99, RestartJigsaw},
    {"=", KEY_EQUALS, &shell_images_type::fetch, 154, 68, 239, 99, FetchWorkingOn},
    {"X", KEY_ESCAPE, &shell_images_type::exit, 149, 29, 226, 79, EndOnYes},
};

}  // namespace

const confirm_type* PendingConfirm() {
  for (const confirm_type& confirm : kConfirms)
    if (shell.pending_confirm == confirm.letter) return &confirm;
  return nullptr;
}

void AnswerYes(const confirm_type& confirm) {
  shell.pending_confirm = "";
  if (confirm.yes) confirm.yes();
}

void DrawPendingConfirm() {
  if (const confirm_type* confirm = PendingConfirm()) DrawCentred(shell.images.*confirm->picture, true);
}

void ConfirmClick() {
  const confirm_type* confirm = PendingConfirm();
  if (!confirm) return;
  game.click_pending = false;
  // Without its picture the player cannot see a Yes area, so every click answers No.
  const auto& picture = shell.images.*confirm->picture;
  if (picture && MouseInCentred(picture, confirm->x1, confirm->y1, confirm->x2, confirm->y2)) AnswerYes(*confirm);
  shell.pending_confirm = "";
}

void ClearStalePending(int k) {
  for (const confirm_type& confirm : kConfirms)
    if (k != confirm.key && shell.pending_confirm == confirm.letter) shell.pending_confirm = "";
}

void RestartJigsaw() {
  ShowBusy("please wait");
  StopMusic();
  ResetPlayState();
  ScatterPieces();
  ClearBoxCounts();
}
