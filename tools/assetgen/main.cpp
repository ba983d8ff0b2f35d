// tesselka-assetgen: writes the game's runtime tree (images/, sounds/, fonts/ and the built-in
// library in jigsaws/) into the folder given on the command line, and the desktop icons into
// the second folder when one is given. Run by the build.
// Depends on assetgen.h, files/files.h.
#include <chrono>
#include <cstdio>

#include "files/files.h"
#include "tools/assetgen/assetgen.h"

namespace {

const char* const tahoma_source = "/usr/share/wine/fonts/tahoma.ttf";  // fonts-wine
const char* const courbi_source =
    "/usr/share/fonts/truetype/liberation2/LiberationMono-BoldItalic.ttf";  // fonts-liberation2

void Folder(const std::string& path) {
  if (!CreateDir(path, true)) throw TRuntimeException("cannot create the folder " + path);
}

void CopyFile(const std::string& from, const std::string& to) {
  auto in = ReadFile(from);
  if (!in) throw TRuntimeException("cannot read " + from + " (is its Debian package installed?)");
  std::vector<uint8_t> bytes(size_t(in->Size()));
  bool ok = in->Read(bytes.data(), int64_t(bytes.size())) == int64_t(bytes.size());
  CloseStream(in);
  if (!ok) throw TRuntimeException("cannot read " + from);
  SaveBytes(bytes, to);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "Usage: tesselka-assetgen RUNTIME_FOLDER [ICON_FOLDER]\n");
    return 1;
  }
  auto start = std::chrono::steady_clock::now();
  std::string root = argv[1];
  try {
    std::string images = root + "/images", sounds = root + "/sounds", fonts_dir = root + "/fonts";
    std::string jigsaws = root + "/jigsaws";
    for (const std::string& folder : {images + "/flash/1", sounds, fonts_dir}) Folder(folder);
    CopyFile(tahoma_source, fonts_dir + "/Tahoma.ttf");
    CopyFile(courbi_source, fonts_dir + "/courbi.ttf");

    std::string tahoma = fonts_dir + "/Tahoma.ttf";
    asset_fonts fonts{text_face(tahoma, 22), text_face(tahoma, 14), tahoma};
    WriteScreenPictures(images, fonts);
    WritePreferencePictures(images, fonts);
    WriteHelpPages(images, fonts);
    WriteFlashFrames(images);
    WriteSoundEffects(sounds);
    WriteMusic(sounds);
    // The library is made afresh, so that no jigsaw of an older generator lingers.
    if (FileType(jigsaws) != FILETYPE_NONE && !DeleteDir(jigsaws, true))
      throw TRuntimeException("cannot clear " + jigsaws);
    Folder(jigsaws);
    WriteLibrary(jigsaws, fonts);
    if (argc == 3) WriteIcons(argv[2]);
  } catch (const TRuntimeException& error) {
    std::fprintf(stderr, "tesselka-assetgen: %s\n", error.what());
    return 1;
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("tesselka-assetgen: runtime tree written to %s in %.1f s\n", root.c_str(), seconds);
  return 0;
}
