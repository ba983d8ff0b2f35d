// Helpers shared by the play module's own files; not part of its public face.
// Depends on play/play.h.
#pragma once

#include <memory>

#include "play/play.h"

// Quarter-turn rotation of an offset on a y-down screen: a = 1 maps (dx, dy) to (-dy, dx).
void RotateOffset(int a, int dx, int dy, int& rx, int& ry);

// Every piece in group `from` moves to group `to`.
void RenumberGroup(int from, int to);

// Draws the piece at its place and turn (the handle is the image centre); nothing without an image.
void DrawPiece(const piece_type& piece);
