// Declarations shared by the library's own files; not part of its public face.
// Depends on library.h.
#pragma once

#include <string>

#include "library/library.h"

// Loads a library jigsaw and scatters it with empty boxes, leaving the table colour as the folder
// set it. The folder is loaded before anything is reset, so a failed load (reported by the
// loader) leaves the jigsaw in play. True when it started.
bool StartScattered(const std::string& name);
