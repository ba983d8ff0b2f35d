// Helpers every test folder shares: fresh temporary folders, whole files as bytes, and the output
// of a shell command. Depends on the C++ file system library and POSIX.
#pragma once

#include <filesystem>
#include <string>

// A fresh folder below the system's temporary folder, removed with everything in it when the
// object goes (folders a test made read-only included). Throws std::runtime_error when no folder
// can be made.
class temp_folder {
 public:
  temp_folder();
  ~temp_folder();
  temp_folder(const temp_folder&) = delete;
  temp_folder& operator=(const temp_folder&) = delete;

  const std::string& path() const { return path_; }
  // The full path of name below the folder.
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  // Writes bytes as the whole file name below the folder; returns its full path.
  std::string Write(const std::string& name, const std::string& bytes) const;
  // The whole file name below the folder; "" when it cannot be read.
  std::string Read(const std::string& name) const;

 private:
  std::string path_;
};

// A fresh temporary folder that is the working folder while the object lives; the previous
// working folder comes back before the folder is removed.
class temp_working_folder : public temp_folder {
 public:
  temp_working_folder();
  ~temp_working_folder();

 private:
  std::filesystem::path previous_;
};

// The bytes of the file at path; "" when it cannot be read.
std::string ReadWholeFile(const std::filesystem::path& path);
// Writes bytes as the whole file at path, making its missing parent folders first.
void WriteWholeFile(const std::filesystem::path& path, const std::string& bytes);

// What a shell command prints on its standard output, trailing newlines removed; "" when it
// cannot be started.
std::string CommandOutput(const std::string& command);
