// TStreamWrapper forwards to an inner stream; TStreamStream is a view that never closes it.
// Depends on files/files.h.
#include "files/files.h"

// A wrapper without an inner stream (a closed view) is at its end and behaves like the root.
int32_t TStreamWrapper::Eof() { return _stream ? _stream->Eof() : 1; }
int64_t TStreamWrapper::Pos() { return _stream ? _stream->Pos() : TStream::Pos(); }
int64_t TStreamWrapper::Size() { return _stream ? _stream->Size() : TStream::Size(); }
int64_t TStreamWrapper::Seek(int64_t pos) { return _stream ? _stream->Seek(pos) : TStream::Seek(pos); }

void TStreamWrapper::Flush() {
  if (_stream) _stream->Flush();
}

void TStreamWrapper::Close() {
  if (_stream) _stream->Close();
}

int64_t TStreamWrapper::Read(void* buffer, int64_t count) {
  return _stream ? _stream->Read(buffer, count) : TStream::Read(buffer, count);
}

int64_t TStreamWrapper::Write(const void* buffer, int64_t count) {
  return _stream ? _stream->Write(buffer, count) : TStream::Write(buffer, count);
}

int32_t TStreamWrapper::ReadByte() { return _stream ? _stream->ReadByte() : TStream::ReadByte(); }

void TStreamWrapper::WriteByte(int32_t value) {
  _stream ? _stream->WriteByte(value) : TStream::WriteByte(value);
}

int32_t TStreamWrapper::ReadShort() { return _stream ? _stream->ReadShort() : TStream::ReadShort(); }

void TStreamWrapper::WriteShort(int32_t value) {
  _stream ? _stream->WriteShort(value) : TStream::WriteShort(value);
}

int32_t TStreamWrapper::ReadInt() { return _stream ? _stream->ReadInt() : TStream::ReadInt(); }

void TStreamWrapper::WriteInt(int32_t value) {
  _stream ? _stream->WriteInt(value) : TStream::WriteInt(value);
}

float TStreamWrapper::ReadFloat() { return _stream ? _stream->ReadFloat() : TStream::ReadFloat(); }

void TStreamWrapper::WriteFloat(float value) {
  _stream ? _stream->WriteFloat(value) : TStream::WriteFloat(value);
}

double TStreamWrapper::ReadDouble() {
  return _stream ? _stream->ReadDouble() : TStream::ReadDouble();
}

void TStreamWrapper::WriteDouble(double value) {
  _stream ? _stream->WriteDouble(value) : TStream::WriteDouble(value);
}

std::string TStreamWrapper::ReadLine() { return _stream ? _stream->ReadLine() : TStream::ReadLine(); }

int32_t TStreamWrapper::WriteLine(const std::string& text) {
  return _stream ? _stream->WriteLine(text) : TStream::WriteLine(text);
}

std::string TStreamWrapper::ReadString(int64_t count) {
  return _stream ? _stream->ReadString(count) : TStream::ReadString(count);
}

void TStreamWrapper::WriteString(const std::string& text) {
  _stream ? _stream->WriteString(text) : TStream::WriteString(text);
}

void TStreamWrapper::SetStream(std::shared_ptr<TStream> stream) { _stream = std::move(stream); }

void TStreamStream::Close() { _stream = nullptr; }

std::shared_ptr<TStreamStream> TStreamStream::Create(std::shared_ptr<TStream> stream) {
  auto view = std::make_shared<TStreamStream>();
  view->SetStream(std::move(stream));
  return view;
}
