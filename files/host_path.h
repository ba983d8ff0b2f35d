// Private to files/: the check every path passes before it reaches the host.
// Depends on the C++ library only.
#pragma once

#include <string>

// False for a path the host would read differently: a NUL byte would cut it short, so
// "keep\0.txt" must not act on "keep".
inline bool IsHostPath(const std::string& path) { return path.find('\0') == std::string::npos; }
