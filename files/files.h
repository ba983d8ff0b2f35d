// Files, streams and image files: the file-system functions, the byte-stream classes with
// their text-line rules, the number rules of text files, and the image decoders and PNG writer.
// Depends on draw/pixmap.h and platform/platform.h (the runtime-exception base only).
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "draw/pixmap.h"
#include "platform/platform.h"

// ---------------------------------------------------------------------------------------------
// Numbers in text files

// Skips leading white space (space, tab, LF, VT, FF, CR), takes an optional sign, then binary
// digits after "%", hexadecimal digits of either case after "$", else decimal digits, stopping
// at the first character that is not a digit of that base. Arithmetic wraps at 32 bits. A text
// without digits gives 0.
int32_t TextToInt(const std::string& text);
// Decimal, a leading "-" for negative values, no leading zeros, no blanks.
std::string IntToText(int32_t value);

// ---------------------------------------------------------------------------------------------
// Streams

// Root of the stream errors.
class TStreamException : public TRuntimeException {
 public:
  explicit TStreamException(const std::string& message) : TRuntimeException(message) {}
};
// Raised by ReadBytes, SkipBytes and the typed reads when the data ends: "Error reading from stream".
class TStreamReadException : public TStreamException {
 public:
  TStreamReadException() : TStreamException("Error reading from stream") {}
};
// Raised by WriteBytes and the typed writes on a short write: "Error writing to stream".
class TStreamWriteException : public TStreamException {
 public:
  TStreamWriteException() : TStreamException("Error writing to stream") {}
};

// Root of the byte streams. Positions and sizes are in bytes.
class TIO {
 public:
  virtual ~TIO() = default;
  virtual int32_t Eof();    // 1 when Pos() equals Size(), else 0
  virtual int64_t Pos();    // -1: this stream has no position
  virtual int64_t Size();   // 0
  virtual int64_t Seek(int64_t pos);  // the position afterwards; -1 here
  virtual void Flush() {}
  virtual void Close() {}
  // Up to count bytes; the number moved, 0 at the end of the data. The root raises a
  // TRuntimeException "Stream is not readable" / "Stream is not writeable".
  virtual int64_t Read(void* buffer, int64_t count);
  virtual int64_t Write(const void* buffer, int64_t count);
};

// Typed little-endian reads and writes and the text-line rules, all built on Read and Write.
// Text is moved byte for byte: no encoding is applied in either direction.
class TStream : public TIO {
 public:
  // Exactly count bytes, or TStreamReadException / TStreamWriteException. Return count.
  virtual int64_t ReadBytes(void* buffer, int64_t count);
  virtual int64_t WriteBytes(const void* buffer, int64_t count);
  // Reads and discards count bytes; TStreamReadException when the data ends first.
  virtual void SkipBytes(int64_t count);
  virtual int32_t ReadByte();   // 0..255
  virtual void WriteByte(int32_t value);  // low 8 bits
  virtual int32_t ReadShort();  // 0..65535, least significant byte first
  virtual void WriteShort(int32_t value);  // low 16 bits
  virtual int32_t ReadInt();
  virtual void WriteInt(int32_t value);
  virtual int64_t ReadLong();
  virtual void WriteLong(int64_t value);
  virtual float ReadFloat();
  virtual void WriteFloat(float value);
  virtual double ReadDouble();
  virtual void WriteDouble(double value);
  // The bytes up to the next LF or NUL (which is consumed and dropped), with every CR dropped.
  // The empty string at the end of the data, on every later call too. Never raises.
  virtual std::string ReadLine();
  // Writes the text's bytes and CR LF; 1 when everything was written, else 0. Never raises.
  virtual int32_t WriteLine(const std::string& text);
  // count bytes as a string / the text's bytes without terminator or length.
  virtual std::string ReadString(int64_t count);
  virtual void WriteString(const std::string& text);
  // Objects are not serialised: these raise "Unable to read object" / "Unable to write object".
  virtual std::shared_ptr<void> ReadObject();
  virtual void WriteObject(const std::shared_ptr<void>& object);
};

// Forwards to an inner stream. With no inner stream (a closed view) it is at its end (Eof 1)
// and otherwise behaves like the root: no position, size 0, not readable, not writeable.
class TStreamWrapper : public TStream {
 public:
  std::shared_ptr<TStream> _stream;

  int32_t Eof() override;
  int64_t Pos() override;
  int64_t Size() override;
  int64_t Seek(int64_t pos) override;
  void Flush() override;
  void Close() override;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int32_t ReadByte() override;
  void WriteByte(int32_t value) override;
  int32_t ReadShort() override;
  void WriteShort(int32_t value) override;
  int32_t ReadInt() override;
  void WriteInt(int32_t value) override;
  float ReadFloat() override;
  void WriteFloat(float value) override;
  double ReadDouble() override;
  void WriteDouble(double value) override;
  std::string ReadLine() override;
  int32_t WriteLine(const std::string& text) override;
  std::string ReadString(int64_t count) override;
  void WriteString(const std::string& text) override;
  void SetStream(std::shared_ptr<TStream> stream);
};

// A view of another stream that does not own it: Close only detaches the view.
class TStreamStream : public TStreamWrapper {
 public:
  void Close() override;
  static std::shared_ptr<TStreamStream> Create(std::shared_ptr<TStream> stream);
};

// A view of a text stream whose lines are numbers or names, each at most kLongestLine bytes
// (CRs counted, the line end not). A
// longer line ends the data where it passes the bound: from then on ReadLine gives "", Eof gives
// 1 and overlong is set, so that the reader refuses the file without holding the line.
class TShortLineStream : public TStreamWrapper {
 public:
  static constexpr int64_t kLongestLine = 4096;
  bool overlong = false;

  int32_t Eof() override;
  std::string ReadLine() override;
  static std::shared_ptr<TShortLineStream> Create(std::shared_ptr<TStream> stream);
};

// A read-only stream over bytes held in memory, for a file that is looked at more than once (its
// header checked, later its pixels decoded) without opening and reading it again.
class TMemoryStream : public TStream {
 public:
  std::vector<uint8_t> _bytes;
  int64_t _pos = 0;

  int64_t Pos() override;
  int64_t Size() override;
  int64_t Seek(int64_t pos) override;  // clamped to 0 .. Size()
  int64_t Read(void* buffer, int64_t count) override;
  // The regular file at path (links followed) read whole, with one open and one read and none
  // of a file stream's buffering. size is set to the file's size once it is open, -1 before;
  // nullptr when it cannot be opened or holds over max_bytes, which are then left unread. A
  // file that shrinks meanwhile gives fewer bytes, one that grows gives no more.
  static std::shared_ptr<TMemoryStream> ReadFile(const std::string& path, int64_t max_bytes,
                                                 int64_t& size);
};

constexpr int32_t MODE_READ = 1;
constexpr int32_t MODE_WRITE = 2;

// A stream over an open host file. Destroying it closes it.
class TCStream : public TStream {
 public:
  int64_t _pos = 0;   // current byte position
  int64_t _size = 0;  // length of the file as known to the stream
  std::unique_ptr<FILE, int (*)(FILE*)> _cstream{nullptr, &fclose};  // nullptr once closed
  int32_t _mode = 0;  // MODE_READ, MODE_WRITE or both

  ~TCStream() override;
  int64_t Pos() override;
  int64_t Size() override;
  int64_t Seek(int64_t pos) override;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  void Flush() override;
  // Flushes and closes the file; Pos and Size become 0. Closing again does nothing.
  void Close() override;
  // True once the host has reported a read, write or flush error on this file.
  bool Failed() const;

  // Opens the path ("\" taken as "/") as raw bytes: both flags → an existing file for update,
  // write only → created or cut to length 0, read only → an existing file. nullptr when the
  // host cannot open it or it is not a regular file after links are followed (a folder, a named
  // pipe, a device), so that opening never waits.
  static std::shared_ptr<TCStream> OpenFile(const std::string& path, bool readable,
                                            bool writeable);
  // Takes ownership of an open handle; the position is the handle's, the size the file's length.
  static std::shared_ptr<TCStream> CreateWithCStream(FILE* handle, int32_t mode);

 private:
  int32_t _last_op = 0;  // MODE_READ or MODE_WRITE: C needs a seek between the two on one file
  bool _failed = false;  // a flush or close reported an error
  void SwitchTo(int32_t op);
};

// ---------------------------------------------------------------------------------------------
// File system. Paths are relative to the working directory, "/" separated ("\" is accepted).
// Nothing here raises or shows anything: failures are results.

// Turns "\" into "/", gives a server path "//name" its closing "/", gives a drive prefix "X:" its
// "/", and with dirflag drops a trailing "/" unless the path is a root.
std::string FixPath(const std::string& path, bool dirflag);

constexpr int32_t FILETYPE_NONE = 0;
constexpr int32_t FILETYPE_FILE = 1;
constexpr int32_t FILETYPE_DIR = 2;
// 1 for a regular file, 2 for a folder, 0 for anything else, a path that cannot be examined,
// or a path holding "<" or ">".
int32_t FileType(const std::string& path);
// What stands at path itself, a link not followed: a regular file, a folder, a symbolic link,
// anything else (a named pipe, a device, a socket), or nothing (or a path that cannot be
// examined). For acting never through a link, and telling a missing file from an unusable one.
enum class entry_kind { none, file, folder, link, other };
entry_kind EntryKind(const std::string& path);
// What tells one state of a file from another without reading it: whether a regular file stands
// at path (a link followed), and then its size and modification time (both 0 otherwise).
struct file_stamp {
  bool regular = false;
  int64_t size = 0;
  int64_t mtime_ns = 0;
  bool operator==(const file_stamp&) const = default;
};
file_stamp FileStamp(const std::string& path);
// Why the file at path cannot be used, for a reader that failed on it, in words for the player:
// "can't find " + path when nothing is there; else path followed by " is a folder, not a file",
// " is a named pipe, not a file", " is not a plain file", " is a link to a missing file",
// " cannot be read (" + the system's reason + ")", " is empty", or, for a readable file with
// content, " is damaged".
std::string FileFault(const std::string& path);
// The system's reason for the failure just reported (errno), to end a message: " (" + its text
// + ")", or "" when the failure left none (errno 0).
std::string SystemReason();
// Sets the permission bits (e.g. 0777, 0666); failure is ignored.
void SetFileMode(const std::string& path, int32_t mode);
// True when path is a folder afterwards (an existing folder included). Without recurse the
// parent must exist; with it every missing folder on the way is made. On failure errno holds
// the system's reason.
bool CreateDir(const std::string& path, bool recurse);
// True when nothing is at path afterwards (nothing there to begin with included). A read-only
// file is removed too, with no mode changed (another name of it keeps its own); a folder is not.
bool DeleteFile(const std::string& path);
// True when nothing is at path afterwards. Without recurse only an empty folder goes; with it
// the contents go first. Symbolic links inside are removed as links, never followed.
bool DeleteDir(const std::string& path, bool recurse);

// An open folder listing; held by std::shared_ptr, nullptr is "none".
class TDirListing;
// nullptr when path is not a listable folder.
std::shared_ptr<TDirListing> ReadDir(const std::string& path);
// The next entry name in the host's order ("." and ".." included), "" after the last one,
// for a closed listing and for nullptr.
std::string NextFile(const std::shared_ptr<TDirListing>& handle);
// Releases the listing; nullptr is accepted.
void CloseDir(const std::shared_ptr<TDirListing>& handle);

// A file opened as a stream (see TCStream::OpenFile), or nullptr.
std::shared_ptr<TStream> OpenStream(const std::string& path, bool readable, bool writeable);
// An open stream gives a new TStreamStream view of it; nothing is opened.
std::shared_ptr<TStream> OpenStream(const std::shared_ptr<TStream>& stream, bool readable,
                                    bool writeable);
// The file open for reading / created or emptied for writing, or nullptr.
std::shared_ptr<TStream> ReadFile(const std::string& path);
std::shared_ptr<TStream> WriteFile(const std::string& path);
// Flushes pending output and releases the file; nullptr is accepted.
void CloseStream(const std::shared_ptr<TStream>& stream);
// The file open for reading as a TShortLineStream, or nullptr.
std::shared_ptr<TShortLineStream> ReadShortLines(const std::string& path);

// Replaces the file at path whole, so that readers, and a program killed at any moment, see
// either the old file complete or the new one complete. `write` fills a temporary file of this
// call's own in the same folder (see RemoveStaleTemporaries), locked while it lives, and returns
// false to give up; the temporary is then flushed to the disk (fsync) and renamed over path, so
// two writers of one file at once each put a whole file in place. The folder's stale temporaries
// go first. A new file gets mode 0666 masked by the process umask. Returns false, leaving the
// old file as it was and removing the temporary, when the temporary cannot be made, `write`
// gives up, any write or the flush fails (a full disk, the file-size limit) or the rename fails
// (path is a folder, for example); errno then holds the system's reason, or 0 when `write` gave
// up without one.
bool WriteFileAtomically(const std::string& path,
                         const std::function<bool(const std::shared_ptr<TStream>&)>& write);
// Removes the temporaries of WriteFileAtomically that their writer left in folder when it was
// killed: names of exactly the form it makes ("." + file name + "." + process id + "-" + serial +
// ".tmp"), regular files, not locked by a writer, made by this process or by one that no longer
// runs. Nothing else is touched: no other name, no link, no folder.
void RemoveStaleTemporaries(const std::string& folder);
// Makes a write past the process's file-size limit (ulimit -f) fail with EFBIG, as on a full
// disk, instead of ending the process with SIGXFSZ, so that it takes the failed-write path.
void IgnoreFileSizeSignal();

// A lock that one program holds on a folder while it works in it: an flock on the hidden file
// ".lock" in the folder (made when missing, never removed), released when the last reference
// goes or the process ends, however it ends.
class TFolderLock {
 public:
  explicit TFolderLock(int fd) : fd_(fd) {}
  ~TFolderLock();
  TFolderLock(const TFolderLock&) = delete;
  TFolderLock& operator=(const TFolderLock&) = delete;

 private:
  int fd_;
};
// The lock on folder, or nullptr: with busy set when another holder has it (another process, or
// another lock of this one), with busy clear when the lock file cannot be made or opened (a
// folder that cannot be written, a link or a pipe at ".lock").
std::shared_ptr<TFolderLock> LockFolder(const std::string& folder, bool& busy);

// ---------------------------------------------------------------------------------------------
// Image files

// One decoder of the loader chain. Returns nullptr when it does not recognise the data; a
// TStreamException for data shorter than its headers promise counts as nullptr too.
class TPixmapLoader {
 public:
  std::shared_ptr<TPixmapLoader> _succ;  // the next loader tried
  virtual ~TPixmapLoader() = default;
  virtual std::shared_ptr<TPixmap> LoadPixmap(const std::shared_ptr<TStream>& stream) = 0;
};
class TPixmapLoaderBMP : public TPixmapLoader {
 public:
  std::shared_ptr<TPixmap> LoadPixmap(const std::shared_ptr<TStream>& stream) override;
};
class TPixmapLoaderJPG : public TPixmapLoader {
 public:
  std::shared_ptr<TPixmap> LoadPixmap(const std::shared_ptr<TStream>& stream) override;
};
class TPixmapLoaderPNG : public TPixmapLoader {
 public:
  std::shared_ptr<TPixmap> LoadPixmap(const std::shared_ptr<TStream>& stream) override;
};
class TPixmapLoaderTGA : public TPixmapLoader {
 public:
  std::shared_ptr<TPixmap> LoadPixmap(const std::shared_ptr<TStream>& stream) override;
};

// Puts a loader at the head of the chain: the loader added last is tried first.
void AddPixmapLoader(std::shared_ptr<TPixmapLoader> loader);

// Decoders of one format, reading from the stream's current position; nullptr when the data
// is not such a file, is damaged, or declares a size too large to hold (over 16384 pixels on a
// side or 64 million in all, a TGA over 4096 on a side, a progressive JPEG whose coefficients
// need over 64 MiB, a BMP or TGA declaring more rows than the rest of the stream holds), or is
// a colour-mapped TGA (its map is never read). Beyond the pixels no
// decoder takes more than a few MiB for itself, whatever the file declares. Stream exceptions
// from short data pass out of the BMP and TGA readers; the PNG and JPEG readers turn them into
// nullptr.
std::shared_ptr<TPixmap> LoadPNGPixmap(const std::shared_ptr<TStream>& stream);
std::shared_ptr<TPixmap> LoadJPEGPixmap(const std::shared_ptr<TStream>& stream);

// Tries the chain (TGA, PNG, JPEG, BMP) on the content, whatever the file name says. nullptr
// when the file cannot be opened or no loader recognises it; stream exceptions count as that.
std::shared_ptr<TPixmap> LoadPixmap(const std::string& path);
// The same on an open stream from its current position; the stream stays open.
std::shared_ptr<TPixmap> LoadPixmap(const std::shared_ptr<TStream>& stream);
// The size that the header at the stream's position declares, read without decoding its pixels:
// the standard formats in the chain's order, with their decoders' header checks. The stream is
// left at that position. false when no header is recognised (its decoding would then fail too).
bool ReadPixmapSize(TStream& stream, int32_t& width, int32_t& height);
// The same for a file, reading only its header (a few bytes, or a JPEG's up to its frame header);
// false also when it cannot be opened (only regular files are).
bool ReadPixmapSize(const std::string& path, int32_t& width, int32_t& height);

// A picture file for reduction (a photo to cut, a thumbnail to show), read with its own memory
// budget and a result that says what is wrong. A JPEG is decoded at the smallest DCT scale
// (1/8, 1/4, 1/2, else whole) whose result still covers the picture fitted into fit_width x
// fit_height with its shape kept, and turned upright by its EXIF orientation; CMYK JPEGs become
// RGB. Other formats decode whole (16-bit PNGs stripped to 8 bits, interlaced ones included).
struct picture_request {
  int32_t fit_width = 0;  // 0: whole size
  int32_t fit_height = 0;
  // The most that the file's bytes, the decoded pixels and libjpeg's working memory may each
  // take; a picture needing more is refused as too large.
  int64_t memory_budget = int64_t{64} << 20;
  const std::atomic<bool>* cancel = nullptr;  // when set, a JPEG decoding stops early
};
struct picture_result {
  std::shared_ptr<TPixmap> pixmap;  // nullptr on failure
  // On failure, what is wrong, to follow the file's name: "is not a picture (PNG, JPEG, BMP or
  // TGA)", "is damaged or cut short", "is too large: 90000 x 70000 pixels", "is a folder", ...
  std::string problem;
  int32_t full_width = 0;  // the upright picture's whole size, once its header was read
  int32_t full_height = 0;
};
picture_result LoadPicture(const std::string& path, const picture_request& request);

// Writes the pixmap as an 8-bit PNG (grey, RGB or RGBA; formats other than I8, RGB, BGR, RGBA
// and BGRA are written as RGBA) with zlib level compression limited to 0..9. 1 when the whole
// file was written, else 0 (a partly written file may then be left behind).
int32_t SavePNGPixmap(const std::shared_ptr<TPixmap>& pixmap, const std::string& path,
                      int32_t compression);
int32_t SavePNGPixmap(const std::shared_ptr<TPixmap>& pixmap, const std::shared_ptr<TStream>& stream,
                      int32_t compression);

// ---------------------------------------------------------------------------------------------
// Module state: the loader chain, which starts with the four standard loaders.
struct files_state {
  std::shared_ptr<TPixmapLoader> loaders;  // head of the chain
};
extern files_state files;
// Puts the module back to its start values: the chain holds the four standard loaders again.
void ResetFiles();
