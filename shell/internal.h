// Declarations shared by the shell's own files; not part of its public face.
// Depends on shell.h.
#pragma once

#include <memory>
#include <string>

#include "shell/shell.h"

// One confirmation: its letter, the key that sets and keeps it, its picture, its Yes area
// relative to the picture's top-left corner (inclusive) and its Yes action.
struct confirm_type {
  const char* letter;
  int key;
  std::shared_ptr<TImage> shell_images_type::*picture;
  int x1, y1, x2, y2;
  void (*yes)();
};

// The confirmation whose letter is pending_confirm, or nullptr when none waits.
const confirm_type* PendingConfirm();
// Runs the Yes action of the waiting confirmation after clearing it.
void AnswerYes(const confirm_type& confirm);

// The Escape rules.
void EscapeKey();

// The turn's frame handler for the current screen.
void RunScreenHandler();
