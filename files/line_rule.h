// Private to files/: the text-line rule, shared by TStream::ReadLine and the bounded reader of
// short lines. Depends on files/files.h.
#pragma once

#include <cstdint>
#include <string>

#include "files/files.h"

// The next line of stream: the bytes up to LF or NUL (consumed, not kept) with every CR dropped,
// "" at the end of the data. When more than `longest` bytes come before the line ends, reading
// stops there, "" is returned and overlong is set; the rest of the line stays unread.
std::string ReadLineWithin(TStream& stream, int64_t longest, bool& overlong);
