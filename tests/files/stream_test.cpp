// Tests of the stream classes: text lines to the byte, typed little-endian values, stream
// errors, host-file streams and views. Depends on files/files.h and the test fixtures.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "files/files.h"
#include "tests/files/fixtures.h"
#include "tests/support/support.h"

namespace {

TEST(Stream, ReadLineRules) {
  using namespace std::string_literals;
  struct {
    std::string bytes;
    std::vector<std::string> lines;
  } cases[] = {
      {"1\r\n2", {"1", "2"}},      // CR LF, and a last line without terminator
      {"1\r2\n", {"12"}},          // a CR anywhere is dropped
      {"a\0b\n"s, {"a", "b"}},     // NUL ends a line like LF
      {"", {}},                    // empty file
      {"\n\r\n", {"", ""}},        // empty lines
      {"x\r", {"x"}},
      {"\xC5\x81\xFF\n"s, {"\xC5\x81\xFF"}},  // bytes pass unchanged
  };
  temp_folder dir;
  for (const auto& c : cases) {
    dir.Write("lines.txt", c.bytes);
    auto s = ReadFile(dir / "lines.txt");
    ASSERT_NE(s, nullptr);
    for (const auto& line : c.lines) EXPECT_EQ(s->ReadLine(), line);
    EXPECT_EQ(s->Eof(), 1) << "after the last line of \"" << c.bytes << '"';
    EXPECT_EQ(s->ReadLine(), "");
    EXPECT_EQ(s->ReadLine(), "");
    CloseStream(s);
  }
}

TEST(Stream, WriteLineEndsWithCrLfAndMovesBytesUnchanged) {
  temp_folder dir;
  auto s = WriteFile(dir / "out.txt");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->WriteLine(""), 1);
  EXPECT_EQ(s->WriteLine("\xC5\x81z"), 1);  // U+0141 in UTF-8
  CloseStream(s);
  EXPECT_EQ(dir.Read("out.txt"), "\r\n\xC5\x81z\r\n");
  auto in = ReadFile(dir / "out.txt");
  EXPECT_EQ(in->ReadLine(), "");
  EXPECT_EQ(in->ReadLine(), "\xC5\x81z");
  EXPECT_EQ(in->Eof(), 1);
}

TEST(Stream, LineCallsNeverRaise) {
  temp_folder dir;
  dir.Write("f.txt", "abc\n");
  auto read_only = ReadFile(dir / "f.txt");
  EXPECT_EQ(read_only->WriteLine("x"), 0);
  auto write_only = WriteFile(dir / "g.txt");
  EXPECT_EQ(write_only->ReadLine(), "");
  CloseStream(write_only);
  EXPECT_EQ(write_only->WriteLine("x"), 0);

  TStream root;  // neither readable nor writeable
  EXPECT_EQ(root.ReadLine(), "");
  EXPECT_EQ(root.WriteLine("x"), 0);
}

TEST(Stream, TypedValuesAreLittleEndian) {
  auto s = std::make_shared<TestMemoryStream>();
  s->WriteByte(0x1FF);
  s->WriteShort(0x12345);
  s->WriteInt(-2);
  s->WriteLong(0x0102030405060708);
  s->WriteFloat(1.0f);
  s->WriteDouble(-2.0);
  s->WriteString("ab");
  EXPECT_EQ(s->data, Bytes({0xFF, 0x45, 0x23, 0xFE, 0xFF, 0xFF, 0xFF, 8, 7, 6, 5, 4, 3, 2, 1, 0,
                            0, 0x80, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0xC0, 'a', 'b'}));
  s->Seek(0);
  EXPECT_EQ(s->ReadByte(), 255);
  EXPECT_EQ(s->ReadShort(), 0x2345);
  EXPECT_EQ(s->ReadInt(), -2);
  EXPECT_EQ(s->ReadLong(), 0x0102030405060708);
  EXPECT_EQ(s->ReadFloat(), 1.0f);
  EXPECT_EQ(s->ReadDouble(), -2.0);
  EXPECT_EQ(s->ReadString(2), "ab");

  TestMemoryStream high(Bytes({0xFF, 0xFF}));
  EXPECT_EQ(high.ReadShort(), 65535);  // no sign extension
}

TEST(Stream, ShortDataAndRootStreamsRaise) {
  TestMemoryStream s(Bytes({1, 2, 3}));
  uint8_t buffer[4];
  EXPECT_THROW(s.ReadBytes(buffer, 4), TStreamReadException);
  s.Seek(0);
  EXPECT_THROW(s.ReadInt(), TStreamReadException);
  s.Seek(0);
  EXPECT_THROW(s.SkipBytes(5000), TStreamReadException);
  try {
    s.ReadByte();
    FAIL();
  } catch (const TStreamException& e) {
    EXPECT_EQ(e.ToString(), "Error reading from stream");
  }

  temp_folder dir;
  dir.Write("f", "x");
  auto read_only = ReadFile(dir / "f");
  try {
    read_only->WriteInt(1);
    FAIL();
  } catch (const TStreamWriteException& e) {
    EXPECT_EQ(e.ToString(), "Error writing to stream");
  }

  TStream root;
  EXPECT_EQ(root.Pos(), -1);
  EXPECT_EQ(root.Size(), 0);
  EXPECT_EQ(root.Seek(0), -1);
  struct {
    std::function<void()> call;
    const char* message;
  } raising[] = {
      {[&] { root.Read(buffer, 1); }, "Stream is not readable"},
      {[&] { root.Write(buffer, 1); }, "Stream is not writeable"},
      {[&] { root.ReadObject(); }, "Unable to read object"},
      {[&] { root.WriteObject(nullptr); }, "Unable to write object"},
  };
  for (const auto& r : raising) {
    try {
      r.call();
      FAIL() << r.message;
    } catch (const TStreamException&) {
      FAIL() << "not a stream error: " << r.message;
    } catch (const TRuntimeException& e) {
      EXPECT_EQ(e.ToString(), r.message);
    }
  }
}

TEST(Stream, FileStreamPositionSizeAndClose) {
  temp_folder dir;
  dir.Write("f", "0123456789");
  auto s = TCStream::OpenFile(dir / "f", true, false);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->_mode, MODE_READ);
  EXPECT_EQ(s->Size(), 10);
  EXPECT_EQ(s->Seek(7), 7);
  EXPECT_EQ(s->ReadString(2), "78");
  EXPECT_EQ(s->Pos(), 9);
  EXPECT_EQ(s->Eof(), 0);
  char c;
  EXPECT_EQ(s->Read(&c, 5), 1);
  EXPECT_EQ(s->Read(&c, 5), 0);
  EXPECT_EQ(s->Eof(), 1);
  s->Close();
  EXPECT_EQ(s->Pos(), 0);
  EXPECT_EQ(s->Size(), 0);
  s->Close();  // closing again does nothing
  EXPECT_EQ(s->Read(&c, 1), 0);
}

TEST(Stream, UpdateModeSwitchesBetweenReadingAndWriting) {
  temp_folder dir;
  dir.Write("f", "abcdef");
  auto s = OpenStream(dir / "f", true, true);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->ReadString(2), "ab");
  s->WriteString("XY");  // straight after a read, no seek in between
  EXPECT_EQ(s->ReadString(2), "ef");
  s->WriteString("Z");  // past the old end
  EXPECT_EQ(s->Size(), 7);
  CloseStream(s);
  EXPECT_EQ(dir.Read("f"), "abXYefZ");
}

TEST(Stream, OpeningFiles) {
  temp_folder dir;
  dir.Write("old", "contents");
  EXPECT_EQ(ReadFile(dir / "missing"), nullptr);
  EXPECT_EQ(OpenStream(dir / "missing", true, true), nullptr);
  EXPECT_EQ(ReadFile(dir.path()), nullptr);  // a folder is not a file
  EXPECT_EQ(WriteFile(dir / "no/such/folder"), nullptr);
  EXPECT_EQ(ReadFile(dir / "old" + std::string(1, '\0') + "x"), nullptr);

  auto w = WriteFile(dir / "old");  // an existing file is emptied
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Size(), 0);
  CloseStream(w);
  EXPECT_EQ(dir.Read("old"), "");

  dir.Write("back", "via backslash");
  auto b = ReadFile(dir.path() + "\\back");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->ReadLine(), "via backslash");
  CloseStream(nullptr);
}

TEST(Stream, AFileReadWholeIntoMemory) {
  temp_folder dir;
  const std::string path = dir.Write("seven", "1234567");
  struct {
    std::string path;
    int64_t max_bytes, size;
    const char* bytes;  // nullptr: nothing read
  } cases[] = {
      {path, 7, 7, "1234567"},
      {dir.path() + "\\seven", 100, 7, "1234567"},
      {path, 6, 7, nullptr},  // over the bound: its size known, its bytes left unread
      {dir / "missing", 100, -1, nullptr},
  };
  for (const auto& c : cases) {
    int64_t size = 0;
    const auto memory = TMemoryStream::ReadFile(c.path, c.max_bytes, size);
    EXPECT_EQ(size, c.size) << c.path << " within " << c.max_bytes;
    ASSERT_EQ(memory != nullptr, c.bytes != nullptr) << c.path << " within " << c.max_bytes;
    if (memory) {
      EXPECT_EQ(memory->ReadLine(), c.bytes);
    }
  }
}

TEST(Stream, ViewForwardsAndCloseOnlyDetaches) {
  auto inner = std::make_shared<TestMemoryStream>("one\ntwo\n");
  auto view = OpenStream(inner, true, false);
  ASSERT_NE(std::dynamic_pointer_cast<TStreamStream>(view), nullptr);
  EXPECT_EQ(view->ReadLine(), "one");
  EXPECT_EQ(view->Pos(), 4);
  EXPECT_EQ(view->Size(), 8);
  view->Close();
  EXPECT_EQ(inner->ReadLine(), "two");  // the inner stream is still open where the view left it

  // A detached view is at its end and has no data.
  EXPECT_EQ(view->Eof(), 1);
  EXPECT_EQ(view->Pos(), -1);
  EXPECT_EQ(view->ReadLine(), "");
  EXPECT_EQ(view->WriteLine("x"), 0);
  EXPECT_THROW(view->ReadByte(), TRuntimeException);
}

}  // namespace
