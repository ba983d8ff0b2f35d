// Fuzz entry for text files: the line reader, the number rules and the line writer on any bytes.
// Depends on files/files.h and the in-memory stream of the files tests.
#include <cstdlib>

#include "files/files.h"
#include "tests/files/fixtures.h"
#include "tests/fuzz/fuzz_entries.h"

void FuzzLines(const uint8_t* data, size_t size) {
  TestMemoryStream input(std::string(reinterpret_cast<const char*>(data), size));
  TestMemoryStream output;
  size_t lines = 0;
  while (!input.Eof()) {
    const std::string line = input.ReadLine();
    if (line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) abort();
    const int32_t value = TextToInt(line);
    if (TextToInt(IntToText(value)) != value) abort();
    if (output.WriteLine(line) != 1) abort();
    ++lines;
  }
  if (input.ReadLine() != "" || lines > size) abort();
  // What was written reads back line for line.
  output.Seek(0);
  input.Seek(0);
  for (size_t i = 0; i < lines; ++i) {
    if (output.ReadLine() != input.ReadLine()) abort();
  }
  if (!output.Eof()) abort();
}
