// Helpers every test folder shares (see support.h). Depends on the C++ file system library and
// POSIX mkdtemp and popen.
#include "tests/support/support.h"

#include <stdio.h>
#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

temp_folder::temp_folder() {
  std::string pattern = (fs::temp_directory_path() / "tesselka-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern;
}

temp_folder::~temp_folder() {
  std::error_code ignored;
  // Make every folder writable and searchable again so that a test's chmod cannot block cleanup.
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
  for (auto it = fs::recursive_directory_iterator(path_, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    if (it->is_directory(ignored) && !it->is_symlink(ignored))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::remove_all(path_, ignored);
}

std::string temp_folder::Write(const std::string& name, const std::string& bytes) const {
  const std::string path = *this / name;
  WriteWholeFile(path, bytes);
  return path;
}

std::string temp_folder::Read(const std::string& name) const {
  return ReadWholeFile(*this / name);
}

temp_working_folder::temp_working_folder() : previous_(fs::current_path()) {
  fs::current_path(path());
}

temp_working_folder::~temp_working_folder() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
}

std::string ReadWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteWholeFile(const fs::path& path, const std::string& bytes) {
  std::error_code ignored;
  if (path.has_parent_path()) fs::create_directories(path.parent_path(), ignored);
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string CommandOutput(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
    pclose(pipe);
  }
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}
