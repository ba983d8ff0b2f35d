// Private to files/: the names of the temporary files that WriteFileAtomically writes through.
// Depends on the C++ library only.
#pragma once

#include <string>

// "." + name + "." + process id + "-" + serial + ".tmp": hidden, ending in neither ".txt" nor
// ".png" (no listing of saved jigsaws takes it for one), and never shared by two writers.
std::string TemporaryName(const std::string& name, long pid, unsigned long serial);
// True when entry is a name of that form, giving the process id it holds.
bool IsTemporaryName(const std::string& entry, long& pid);
