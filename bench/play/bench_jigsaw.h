// A 300-piece jigsaw written once into a temporary working folder for the play benchmarks.
// Depends on files/ and draw/pixmap.h.
#pragma once

#include <string>

// Piece size of the benchmark jigsaw, about that of the library's 300-piece jigsaws.
constexpr int kBenchPieceSide = 90;

// Writes "jigsaws/bench300" (15 x 20 pieces of textured colour with a black surround, homes on
// the 800 x 600 table) below a fresh temporary folder and makes that folder the working folder.
// Returns the jigsaw's name.
std::string WriteBenchJigsaw();
