// Declarations shared by the library's own files; not part of its public face.
// Depends on library.h.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "library/library.h"

class TPixmap;

// Loads a library jigsaw and scatters it with empty boxes, leaving the table colour as the folder
// set it. The folder is loaded before anything is reset, so a failed load (reported by the
// loader) leaves the jigsaw in play. True when it started.
bool StartScattered(const std::string& name);

// Forgets the cutting screen's picture and choices (part of ResetLibraryState).
void ResetCutScreen();

// The My pictures button on "new1" under the pointer.
bool ClickPicturesButton();

// Every entry of the folder but "." and "..", in the host's order, or none when it cannot be
// listed.
std::vector<std::string> ListFolder(const std::string& folder);

// Writes pixmap as a saved thumbnail (PNG, level 5) at path, replacing it whole. False when it
// cannot be written.
bool WriteThumbnail(const std::string& path, const std::shared_ptr<TPixmap>& pixmap);
