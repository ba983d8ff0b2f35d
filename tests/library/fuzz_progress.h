// Fuzz entry for progress files, shared by the libFuzzer target and the replay of its corpus.
#pragma once

#include <cstddef>
#include <cstdint>

// The first byte chooses the piece count (1..300); the rest is the progress file. Whatever the
// bytes, a file that is accepted describes that many pieces and loads into the tables; aborts
// otherwise.
void FuzzProgress(const uint8_t* data, size_t size);
