// The framework's byte streams: the abstract TStream with its checked transfers, streams over
// file descriptors and files, memory and string streams, and read-only streams over the
// resources compiled into the program.
//
// Sections: TStream / THandleStream, TFileStream / TCustomMemoryStream, TMemoryStream,
// TStringStream / TResourceStream.
// Thread contract: a stream is used by one thread at a time.
//
// Rule for every reader of stored or received data (stored definitions, pictures, settings and
// INI files, result tables, wire protocols): refuse before allocating anything whose size comes
// from the input; bound every nesting; raise the reader's own error (EReadError,
// EInvalidGraphic, EDatabaseError, ...) for every bad input, never a std:: exception or a crash.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/runtime/Object.h"

// ============================================================ TStream

enum TSeekOrigin { soBeginning, soCurrent, soEnd };
constexpr TSeekOrigin soFromBeginning = soBeginning;
constexpr TSeekOrigin soFromCurrent = soCurrent;
constexpr TSeekOrigin soFromEnd = soEnd;

class TStream : public TObject {
  PL_CLASS(TStream)
 public:
  // Transfers up to Count bytes and returns how many moved: fewer at the end of the data.
  virtual int32_t Read(void* Buffer, int32_t Count) = 0;
  virtual int32_t Write(const void* Buffer, int32_t Count) = 0;
  // Returns the new position.
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

  // Transfer exactly Count bytes or raise EReadError "Stream read error" / EWriteError
  // "Stream write error".
  void ReadBuffer(void* Buffer, int32_t Count);
  void WriteBuffer(const void* Buffer, int32_t Count);

  int64_t GetPosition() { return Seek(0, soCurrent); }
  void SetPosition(int64_t Pos) { Seek(Pos, soBeginning); }
  int64_t Position() { return GetPosition(); }
  virtual int64_t GetSize();
  virtual void SetSize(int64_t NewSize);
  int64_t Size() { return GetSize(); }

  // Copies Count bytes from Source's position on; Count 0 copies the whole of Source from its
  // start.  Returns the number copied; a short source raises EReadError.
  int64_t CopyFrom(TStream* Source, int64_t Count);
};

// ============================================================ THandleStream, TFileStream

// A stream over an open file descriptor, which it does not close.
class THandleStream : public TStream {
  PL_CLASS(THandleStream)
 public:
  explicit THandleStream(int AHandle) : handle_(AHandle) {}
  // A failing system call raises EReadError / EWriteError with the system's reason.
  int32_t Read(void* Buffer, int32_t Count) override;
  int32_t Write(const void* Buffer, int32_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  // Cuts or extends the file and places the position at NewSize.
  void SetSize(int64_t NewSize) override;
  int Handle() const { return handle_; }

 protected:
  int handle_;
};

// Open modes.  fmCreate creates or empties the file and opens it for reading and writing.
// The share modes are recorded only: Linux has no mandatory sharing rules.
constexpr uint16_t fmCreate = 0xFF00;
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareCompat = 0x0000;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyRead = 0x0030;
constexpr uint16_t fmShareDenyNone = 0x0040;

class TFileStream : public THandleStream {
  PL_CLASS(TFileStream)
 public:
  // Raises EFCreateError "Cannot create file "<name>". <reason>" or EFOpenError
  // "Cannot open file "<name>". <reason>".  The name is single-byte text, UTF-8 on the disk.
  // Only regular files open (reason "Not a regular file" for pipes, devices and sockets), and
  // opening never waits.
  TFileStream(const AnsiString& AFileName, uint16_t Mode);
  ~TFileStream() override;
  const AnsiString& FileName() const { return fileName_; }

 private:
  AnsiString fileName_;
};

// ============================================================ TCustomMemoryStream, TMemoryStream

// A stream over a block of memory; positions past the end read nothing.
class TCustomMemoryStream : public TStream {
  PL_CLASS(TCustomMemoryStream)
 public:
  int32_t Read(void* Buffer, int32_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t GetSize() override { return size_; }
  const void* Memory() const { return memory_; }
  void SaveToStream(TStream* Stream);
  void SaveToFile(const AnsiString& FileName);

 protected:
  void SetPointer(const void* Ptr, int64_t Size) {
    memory_ = Ptr;
    size_ = Size;
  }
  const void* memory_ = nullptr;
  int64_t size_ = 0;
  int64_t position_ = 0;
};

class TMemoryStream : public TCustomMemoryStream {
  PL_CLASS(TMemoryStream)
 public:
  // Writing past the end grows the block; a gap reads as zero bytes.
  int32_t Write(const void* Buffer, int32_t Count) override;
  void SetSize(int64_t NewSize) override;
  using TCustomMemoryStream::Memory;
  void* Memory() { return buffer_.data(); }
  void Clear();
  // Replaces the content with the whole of Stream (read from its start) or of the file.
  void LoadFromStream(TStream* Stream);
  void LoadFromFile(const AnsiString& FileName);

 private:
  void Sync() { SetPointer(buffer_.data(), int64_t(buffer_.size())); }
  std::vector<unsigned char> buffer_;
};

// ============================================================ TStringStream

// A memory stream whose bytes are a string.  Writing in the middle overwrites and keeps the rest.
class TStringStream : public TMemoryStream {
  PL_CLASS(TStringStream)
 public:
  explicit TStringStream(const AnsiString& AString = AnsiString());
  AnsiString DataString() const;
  // Up to Count bytes from the position on.
  AnsiString ReadString(int32_t Count);
  void WriteString(const AnsiString& AString);
};

// ============================================================ TResourceStream

// The bytes of a resource compiled into the program, read-only.  Every resource lives in the one
// program, so the module handle the framework takes first is accepted and ignored.
class TResourceStream : public TCustomMemoryStream {
  PL_CLASS(TResourceStream)
 public:
  // Raises EResNotFound "Resource <name> not found".
  TResourceStream(const AnsiString& ResName, uint16_t ResType);
  template <class Module>
  TResourceStream(Module, const AnsiString& ResName, uint16_t ResType) : TResourceStream(ResName, ResType) {}
  // A numeric identifier.
  static TResourceStream* CreateFromID(uint32_t ResID, uint16_t ResType);
  // Raises EStreamError "Can't write to a read-only resource stream".
  int32_t Write(const void* Buffer, int32_t Count) override;
};
