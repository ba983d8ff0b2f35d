// Helpers shared by the play module's own files; not part of its public face.
// Depends on play/play.h.
#pragma once

#include <memory>
#include <vector>

#include "play/play.h"

// Quarter-turn rotation of an offset on a y-down screen: a = 1 maps (dx, dy) to (-dy, dx).
void RotateOffset(int a, int dx, int dy, int& rx, int& ry);

// Every piece in group `from` moves to group `to`.
void RenumberGroup(int from, int to);

// Draws the piece at its place and turn (the handle is the image centre); nothing without an image.
void DrawPiece(const piece_type& piece);

// Half the side of a square about a piece's centre that holds it at any quarter turn.
int PieceReach(const piece_type& piece);
// The pieces whose square, widened by margin, holds table point (x, y), topmost first (from the
// spatial index, rebuilt first when the pieces moved). Valid until the next call.
const std::vector<int>& PiecesNear(int x, int y, int margin);
