// A 300-piece jigsaw written once into a temporary working folder for the play and shell
// benchmarks, and the bare-OpenGL floor of drawing its table. Depends on files/, play/, draw/
// (its GL frame type), shell/ (start-up), bench/draw/gl_floor.h and Google Benchmark.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

// Piece size of the benchmark jigsaw, about that of the library's 300-piece jigsaws.
constexpr int kBenchPieceSide = 90;

// Writes "jigsaws/bench300" (15 x 20 pieces of textured colour with a black surround, homes on
// the 800 x 600 table) below a fresh temporary folder and makes that folder the working folder.
// Returns the jigsaw's name.
std::string WriteBenchJigsaw();

// The real program started (StartUp) in the benchmark folder with the benchmark jigsaw loaded
// and scattered with a fixed seed, once per process; false without a display.
bool StartBenchGame();

// Lays count pieces (the benchmark jigsaw's 300, or copies of them sharing their images, up to
// 2000) scattered with a fixed seed on a table that holds them as densely as 300 on 800 x 600,
// ungrouped, upright or turned, with the view at `zoom` (0: its home) about the picture's middle.
// Needs StartBenchGame.
void SpreadBenchPieces(int count, double zoom = 0);

// The floor of a table frame: each iteration draws the quads DrawTable sends for the visible
// pieces (their own textures and turns, in drawing order) with bare OpenGL. Needs the jigsaw
// loaded and laid out on an open display; gives the drawing layer its GL state back afterwards.
void MeasureTableFloor(benchmark::State& state);
