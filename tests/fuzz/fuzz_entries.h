// Entry points shared by the libFuzzer targets and the corpus replay test: each takes any bytes
// and must neither crash, hang, leak nor break the property it checks (it aborts if it does).
// Depends on nothing.
#pragma once

#include <cstddef>
#include <cstdint>

// The bytes as an image file through LoadPixmap; a decoded picture must survive a PNG round trip.
void FuzzLoadPixmap(const uint8_t* data, size_t size);
// The bytes as a text file: every line through ReadLine, the number rules and WriteLine.
void FuzzLines(const uint8_t* data, size_t size);
