// Private to files/: opening a host file only when it is a regular file. Depends on POSIX.
#pragma once

#include <sys/stat.h>

#include <string>

// Opens path ("\" read as "/") with the given open(2) access flags when, after links, it is a
// regular file, filling info with its status. Opening a named pipe would wait for a writer and a
// device never ends, so anything else is refused without waiting. The descriptor, or -1.
int OpenRegularFile(const std::string& path, int access, struct stat& info);
