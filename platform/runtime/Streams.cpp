// Sections: TStream / THandleStream, TFileStream / memory streams / TResourceStream.
#include "platform/runtime/Streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Files.h"
#include "platform/runtime/Resources.h"
#include "platform/runtime/TypInfo.h"

namespace {

constexpr const char* kReadError = "Stream read error";
constexpr const char* kWriteError = "Stream write error";

AnsiString WithReason(const char* message, int error) {
  return AnsiString(message) + ". " + SysErrorMessage(error);
}

}  // namespace

// ============================================================ TStream

const TClassInfo& TStream::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TStream, TObject>("TStream");
  return info;
}

void TStream::ReadBuffer(void* Buffer, int32_t Count) {
  if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError(kReadError);
}

void TStream::WriteBuffer(const void* Buffer, int32_t Count) {
  if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError(kWriteError);
}

int64_t TStream::GetSize() {
  int64_t pos = Seek(0, soCurrent);
  int64_t size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::SetSize(int64_t) {}

int64_t TStream::CopyFrom(TStream* Source, int64_t Count) {
  if (Count == 0) {
    Source->SetPosition(0);
    Count = Source->GetSize();
  }
  int64_t result = Count;
  std::vector<unsigned char> buffer(size_t(std::clamp<int64_t>(Count, 1, 0xF000)));
  while (Count > 0) {
    int32_t n = int32_t(std::min<int64_t>(Count, int64_t(buffer.size())));
    Source->ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    Count -= n;
  }
  return result;
}

// ============================================================ THandleStream, TFileStream

const TClassInfo& THandleStream::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<THandleStream, TStream>("THandleStream");
  return info;
}

int32_t THandleStream::Read(void* Buffer, int32_t Count) {
  int32_t done = 0;
  while (done < Count) {
    ssize_t n = ::read(handle_, static_cast<char*>(Buffer) + done, size_t(Count - done));
    if (n < 0 && errno == EINTR) continue;
    // A failure is not the end of the data: say so instead of returning a short count.
    if (n < 0) throw EReadError(WithReason(kReadError, errno));
    if (n == 0) break;
    done += int32_t(n);
  }
  return done;
}

int32_t THandleStream::Write(const void* Buffer, int32_t Count) {
  int32_t done = 0;
  while (done < Count) {
    ssize_t n = ::write(handle_, static_cast<const char*>(Buffer) + done, size_t(Count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw EWriteError(WithReason(kWriteError, errno));
    if (n == 0) break;
    done += int32_t(n);
  }
  return done;
}

int64_t THandleStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
  off_t pos = ::lseek(handle_, off_t(Offset), whence);
  if (pos < 0) throw EStreamError(WithReason("Stream seek error", errno));
  return int64_t(pos);
}

void THandleStream::SetSize(int64_t NewSize) {
  Seek(NewSize, soBeginning);
  if (::ftruncate(handle_, off_t(NewSize)) != 0) throw EWriteError(WithReason(kWriteError, errno));
}

const TClassInfo& TFileStream::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFileStream, THandleStream>("TFileStream");
  return info;
}

TFileStream::TFileStream(const AnsiString& AFileName, uint16_t Mode)
    : THandleStream(-1), fileName_(AFileName) {
  std::string path = FileNameToSys(AFileName);
  bool create = (Mode & fmCreate) == fmCreate;
  int flags = O_CLOEXEC;
  if (create)
    flags |= O_RDWR | O_CREAT | O_TRUNC;
  else
    flags |= (Mode & 3) == fmOpenWrite ? O_WRONLY : (Mode & 3) == fmOpenReadWrite ? O_RDWR : O_RDONLY;
  // Non-blocking: opening a pipe waits for its other end, which may never come.
  int fd;
  do fd = ::open(path.c_str(), flags | O_NONBLOCK, 0666);
  while (fd < 0 && errno == EINTR);
  int error = fd < 0 ? errno : 0;
  AnsiString reason;
  struct stat st {};
  if (fd >= 0 && ::fstat(fd, &st) == 0 && !S_ISREG(st.st_mode)) {
    ::close(fd);
    fd = -1;
    // A folder opens on Linux, but it is no file; pipes, devices and sockets are no files either.
    if (S_ISDIR(st.st_mode))
      error = EISDIR;
    else
      reason = "Not a regular file";
  }
  if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  if (fd < 0) {
    AnsiString message = (create ? "Cannot create file \"" : "Cannot open file \"") + AFileName + "\". " +
                         (reason.empty() ? SysErrorMessage(error) : reason);
    if (create) throw EFCreateError(message);
    throw EFOpenError(message);
  }
  handle_ = fd;
}

TFileStream::~TFileStream() {
  if (handle_ >= 0) ::close(handle_);
}

// ============================================================ memory streams

const TClassInfo& TCustomMemoryStream::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCustomMemoryStream, TStream>("TCustomMemoryStream");
  return info;
}

int32_t TCustomMemoryStream::Read(void* Buffer, int32_t Count) {
  if (position_ < 0 || Count <= 0) return 0;
  int64_t n = std::min<int64_t>(size_ - position_, Count);
  if (n <= 0) return 0;
  std::memcpy(Buffer, static_cast<const char*>(memory_) + position_, size_t(n));
  position_ += n;
  return int32_t(n);
}

int64_t TCustomMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  switch (Origin) {
    case soBeginning:
      position_ = Offset;
      break;
    case soCurrent:
      position_ += Offset;
      break;
    case soEnd:
      position_ = size_ + Offset;
      break;
  }
  return position_;
}

void TCustomMemoryStream::SaveToStream(TStream* Stream) {
  if (size_ != 0) Stream->WriteBuffer(memory_, int32_t(size_));
}

void TCustomMemoryStream::SaveToFile(const AnsiString& FileName) {
  TFileStream stream(FileName, fmCreate);
  SaveToStream(&stream);
}

const TClassInfo& TMemoryStream::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TMemoryStream, TCustomMemoryStream>("TMemoryStream");
  return info;
}

int32_t TMemoryStream::Write(const void* Buffer, int32_t Count) {
  if (position_ < 0 || Count <= 0) return 0;
  int64_t end = position_ + Count;
  if (end > int64_t(buffer_.size())) buffer_.resize(size_t(end), 0);
  std::memcpy(buffer_.data() + position_, Buffer, size_t(Count));
  position_ = end;
  Sync();
  return Count;
}

void TMemoryStream::SetSize(int64_t NewSize) {
  buffer_.resize(size_t(std::max<int64_t>(NewSize, 0)), 0);
  Sync();
  if (position_ > size_) position_ = size_;
}

void TMemoryStream::Clear() {
  buffer_.clear();
  buffer_.shrink_to_fit();
  position_ = 0;
  Sync();
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
  Stream->SetPosition(0);
  std::vector<unsigned char> bytes(size_t(std::max<int64_t>(Stream->GetSize(), 0)));
  // Read aside first: a failing source leaves this stream as it was.
  if (!bytes.empty()) Stream->ReadBuffer(bytes.data(), int32_t(bytes.size()));
  buffer_.swap(bytes);
  Sync();
  if (position_ > size_) position_ = size_;
}

void TMemoryStream::LoadFromFile(const AnsiString& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}

// ============================================================ TStringStream

const TClassInfo& TStringStream::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TStringStream, TMemoryStream>("TStringStream");
  return info;
}

TStringStream::TStringStream(const AnsiString& AString) {
  WriteString(AString);
  SetPosition(0);
}

AnsiString TStringStream::DataString() const {
  return AnsiString(static_cast<const char*>(memory_), size_t(size_));
}

AnsiString TStringStream::ReadString(int32_t Count) {
  AnsiString s(size_t(std::max(Count, 0)), '\0');
  s.resize(size_t(Read(s.data(), int32_t(s.size()))));
  return s;
}

void TStringStream::WriteString(const AnsiString& AString) { Write(AString.data(), int32_t(AString.size())); }

// ============================================================ TResourceStream

const TClassInfo& TResourceStream::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TResourceStream, TCustomMemoryStream>("TResourceStream");
  return info;
}

TResourceStream::TResourceStream(const AnsiString& ResName, uint16_t ResType) {
  const std::string_view* data = FindResourceData(ResType, ResName);
  if (!data) throw EResNotFound("Resource " + ResName + " not found");
  SetPointer(data->data(), int64_t(data->size()));
}

TResourceStream* TResourceStream::CreateFromID(uint32_t ResID, uint16_t ResType) {
  return new TResourceStream(ResourceIdName(ResID), ResType);
}

int32_t TResourceStream::Write(const void*, int32_t) {
  throw EStreamError("Can't write to a read-only resource stream");
}
