// Sections: names and errors / tests and changes / searching / name parts / folders /
// text files.
#include "platform/runtime/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <pwd.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/runtime/Clock.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Strings.h"

// ============================================================ names and errors

AnsiString SysErrorMessage(int32_t ErrorCode) {
  char buffer[256];
  // The GNU strerror_r returns the text, which may or may not be in buffer.
  const char* text = strerror_r(ErrorCode, buffer, sizeof buffer);
  return Utf8ToAnsi(text);
}

std::string FileNameToSys(const AnsiString& FileName) { return AnsiToUtf8(FileName); }
AnsiString FileNameFromSys(const std::string& Name) { return Utf8ToAnsi(Name); }

namespace {

bool StatSys(const AnsiString& name, struct stat& st) {
  return ::stat(FileNameToSys(name).c_str(), &st) == 0;
}

int32_t PackFileTime(time_t t) {
  tm local{};
  localtime_r(&t, &local);
  int32_t year = std::clamp(local.tm_year + 1900 - 1980, 0, 127);
  return (year << 25) | ((local.tm_mon + 1) << 21) | (local.tm_mday << 16) | (local.tm_hour << 11) |
         (local.tm_min << 5) | (std::min(local.tm_sec, 59) / 2);
}

}  // namespace

// ============================================================ tests and changes

bool FileExists(const AnsiString& FileName) {
  struct stat st {};
  return StatSys(FileName, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const AnsiString& Directory) {
  struct stat st {};
  return StatSys(Directory, st) && S_ISDIR(st.st_mode);
}

bool DeleteFile(const AnsiString& FileName) { return ::unlink(FileNameToSys(FileName).c_str()) == 0; }

bool RenameFile(const AnsiString& OldName, const AnsiString& NewName) {
  std::string from = FileNameToSys(OldName), to = FileNameToSys(NewName);
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without the no-replace flag: test first (not atomic, but the best it allows).
  struct stat st {};
  if (::lstat(to.c_str(), &st) == 0) return false;
  return ::rename(from.c_str(), to.c_str()) == 0;
}

bool CreateDir(const AnsiString& Dir) { return ::mkdir(FileNameToSys(Dir).c_str(), 0777) == 0; }

bool ForceDirectories(const AnsiString& Dir) {
  if (Dir.empty()) throw EInOutError("Unable to create directory", 0);
  AnsiString path = ExcludeTrailingPathDelimiter(Dir);
  if (path.empty() || DirectoryExists(path)) return true;
  size_t slash = path.rfind(PathDelim);
  if (slash != AnsiString::npos && slash > 0 && !ForceDirectories(path.substr(0, slash))) return false;
  return CreateDir(path) || DirectoryExists(path);  // another process may have made it meanwhile
}

bool RemoveDir(const AnsiString& Dir) { return ::rmdir(FileNameToSys(Dir).c_str()) == 0; }

int32_t FileAge(const AnsiString& FileName) {
  struct stat st {};
  if (!StatSys(FileName, st) || S_ISDIR(st.st_mode)) return -1;
  return PackFileTime(st.st_mtime);
}

bool FileAge(const AnsiString& FileName, TDateTime& FileDateTime) {
  struct stat st {};
  if (!StatSys(FileName, st) || S_ISDIR(st.st_mode)) return false;
  FileDateTime = UnixTimeToLocalDateTime(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
  return true;
}

namespace {

// The file a save replaces: what a link points at, not the link.
std::string SaveTarget(const AnsiString& FileName) {
  std::string target = FileNameToSys(FileName);
  if (char* real = ::realpath(target.c_str(), nullptr)) {
    target = real;
    std::free(real);
  }
  return target;
}

constexpr const char* kSaveTempMark = ".tmp";

}  // namespace

void SaveFileDurably(const AnsiString& FileName, std::string_view Data) {
  std::string target = SaveTarget(FileName);
  static std::atomic<uint32_t> serial{0};
  std::string temp = target + kSaveTempMark + std::to_string(getpid()) + "-" + std::to_string(serial++);
  auto fail = [&](int error) {
    throw EFCreateError("Cannot create file \"" + FileName + "\". " + SysErrorMessage(error));
  };
  struct stat old {};
  bool hadOld = ::stat(target.c_str(), &old) == 0;
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) fail(errno);
  size_t done = 0;
  int error = 0;
  while (done < Data.size() && !error) {
    ssize_t n = ::write(fd, Data.data() + done, Data.size() - done);
    if (n < 0 && errno != EINTR) error = errno;
    if (n > 0) done += size_t(n);
  }
  if (!error && hadOld && ::fchmod(fd, old.st_mode & 07777) != 0) error = errno;
  if (!error && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && !error) error = errno;
  if (!error && ::rename(temp.c_str(), target.c_str()) != 0) error = errno;
  if (error) {
    ::unlink(temp.c_str());
    fail(error);
  }
  // The rename itself reaches the disk with the folder.
  std::string folder = target.substr(0, target.rfind('/') == std::string::npos ? 0 : target.rfind('/'));
  int dirFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
}

void RemoveStaleSaveFiles(const AnsiString& FileName) {
  const std::string target = SaveTarget(FileName);
  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash == 0 ? 1 : slash);
  const std::string prefix = target.substr(slash == std::string::npos ? 0 : slash + 1) + kSaveTempMark;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  std::vector<std::string> stale;
  while (dirent* entry = ::readdir(dir)) {
    std::string_view name = entry->d_name;
    if (name.substr(0, prefix.size()) != prefix) continue;
    std::string_view rest = name.substr(prefix.size());
    size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string_view::npos) continue;
    if (rest.substr(0, dash).find_first_not_of("0123456789") != std::string_view::npos ||
        rest.substr(dash + 1).empty() ||
        rest.substr(dash + 1).find_first_not_of("0123456789") != std::string_view::npos || dash > 9)
      continue;
    const pid_t pid = pid_t(std::stol(std::string(rest.substr(0, dash))));
    if (pid == ::getpid() || ::kill(pid, 0) == 0 || errno == EPERM) continue;
    stale.push_back(folder + "/" + std::string(name));
  }
  ::closedir(dir);
  for (const std::string& name : stale) ::unlink(name.c_str());
}

// ============================================================ searching

struct TSearchState {
  DIR* dir = nullptr;
  AnsiString folder;  // with a trailing "/"
  AnsiString mask;
  ~TSearchState() {
    if (dir) ::closedir(dir);
  }
};

namespace {

bool MatchFrom(const AnsiString& name, size_t n, const AnsiString& mask, size_t m) {
  // Greedy "*" with a single back-track point: enough for masks of "*" and "?".
  size_t starM = AnsiString::npos, starN = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starM = m++;
      starN = n;
    } else if (m < mask.size() && (mask[m] == '?' || AnsiUpperChar(mask[m]) == AnsiUpperChar(name[n]))) {
      m++;
      n++;
    } else if (starM != AnsiString::npos) {
      m = starM + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') m++;
  return m == mask.size();
}

int32_t EntryAttributes(const AnsiString& name, const struct stat& st) {
  int32_t attr = 0;
  if (S_ISDIR(st.st_mode))
    attr |= faDirectory;
  else if (S_ISREG(st.st_mode))
    attr |= faArchive;
  else
    attr |= faSysFile;
  if (name.size() > 1 && name[0] == '.' && name != "..") attr |= faHidden;
  if (!(st.st_mode & S_IWUSR)) attr |= faReadOnly;
  return attr;
}

}  // namespace

bool MatchesFileMask(const AnsiString& Name, const AnsiString& Mask) {
  if (MatchFrom(Name, 0, Mask, 0)) return true;
  // "name.*" also takes a name without an extension.
  return Mask.size() >= 2 && Mask.compare(Mask.size() - 2, 2, ".*") == 0 &&
         MatchFrom(Name, 0, Mask.substr(0, Mask.size() - 2), 0);
}

int32_t FindFirst(const AnsiString& Path, int32_t Attr, TSearchRec& F) {
  FindClose(F);
  auto state = std::make_shared<TSearchState>();
  state->folder = ExtractFilePath(Path);
  state->mask = ExtractFileName(Path);
  state->dir = ::opendir(FileNameToSys(state->folder.empty() ? AnsiString(".") : state->folder).c_str());
  if (!state->dir) return 3;
  F.ExcludeAttr = ~Attr & (faHidden | faSysFile | faVolumeID | faDirectory);
  F.FindHandle = state;
  int32_t result = FindNext(F);
  if (result != 0) {
    FindClose(F);
    return 2;
  }
  return 0;
}

int32_t FindNext(TSearchRec& F) {
  TSearchState* state = F.FindHandle.get();
  if (!state || !state->dir) return 18;
  while (dirent* entry = ::readdir(state->dir)) {
    AnsiString name = FileNameFromSys(entry->d_name);
    if (!MatchesFileMask(name, state->mask)) continue;
    struct stat st {};
    std::string full = FileNameToSys(state->folder) + entry->d_name;
    if (::stat(full.c_str(), &st) != 0 && ::lstat(full.c_str(), &st) != 0) continue;  // vanished meanwhile
    int32_t attr = EntryAttributes(name, st);
    struct stat lst {};
    if (::lstat(full.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) attr |= faSymLink;
    if (attr & F.ExcludeAttr) continue;
    F.Name = name;
    F.Attr = attr;
    F.Size = S_ISDIR(st.st_mode) ? 0 : int64_t(st.st_size);
    F.Time = PackFileTime(st.st_mtime);
    return 0;
  }
  return 18;
}

void FindClose(TSearchRec& F) { F.FindHandle.reset(); }

// ============================================================ name parts

AnsiString ExtractFilePath(const AnsiString& FileName) {
  size_t slash = FileName.rfind(PathDelim);
  return slash == AnsiString::npos ? AnsiString() : FileName.substr(0, slash + 1);
}

AnsiString ExtractFileDir(const AnsiString& FileName) {
  size_t slash = FileName.rfind(PathDelim);
  if (slash == AnsiString::npos) return AnsiString();
  // Keep a lone root delimiter, and one that follows another delimiter.
  if (slash == 0 || FileName[slash - 1] == PathDelim) return FileName.substr(0, slash + 1);
  return FileName.substr(0, slash);
}

AnsiString ExtractFileName(const AnsiString& FileName) {
  size_t slash = FileName.rfind(PathDelim);
  return slash == AnsiString::npos ? FileName : FileName.substr(slash + 1);
}

AnsiString ExtractFileExt(const AnsiString& FileName) {
  size_t at = FileName.find_last_of("./");
  return at != AnsiString::npos && FileName[at] == '.' ? FileName.substr(at) : AnsiString();
}

AnsiString ChangeFileExt(const AnsiString& FileName, const AnsiString& Extension) {
  size_t at = FileName.find_last_of("./");
  if (at == AnsiString::npos || FileName[at] != '.') at = FileName.size();
  return FileName.substr(0, at) + Extension;
}

AnsiString IncludeTrailingPathDelimiter(const AnsiString& S) {
  return !S.empty() && S.back() == PathDelim ? S : S + PathDelim;
}

AnsiString ExcludeTrailingPathDelimiter(const AnsiString& S) {
  return !S.empty() && S.back() == PathDelim ? S.substr(0, S.size() - 1) : S;
}

namespace {

std::vector<AnsiString> SplitPath(const AnsiString& path) {
  std::vector<AnsiString> parts;
  size_t p = 0;
  while (p <= path.size()) {
    size_t end = path.find(PathDelim, p);
    if (end == AnsiString::npos) end = path.size();
    if (end > p) parts.push_back(path.substr(p, end - p));
    p = end + 1;
  }
  return parts;
}

}  // namespace

AnsiString ExpandFileName(const AnsiString& FileName) {
  AnsiString full = !FileName.empty() && FileName[0] == PathDelim
                        ? FileName
                        : IncludeTrailingPathDelimiter(GetCurrentDir()) + FileName;
  std::vector<AnsiString> kept;
  for (const AnsiString& part : SplitPath(full)) {
    if (part == ".") continue;
    if (part == "..") {
      if (!kept.empty()) kept.pop_back();
      continue;
    }
    kept.push_back(part);
  }
  AnsiString result;
  for (const AnsiString& part : kept) result += PathDelim + part;
  if (result.empty()) result = AnsiString(1, PathDelim);
  if (FileName.size() > 1 && FileName.back() == PathDelim && result.size() > 1) result += PathDelim;
  return result;
}

AnsiString ExpandFileNameCase(const AnsiString& FileName, TFilenameCaseMatch& MatchFound) {
  AnsiString expanded = ExpandFileName(FileName);
  std::vector<AnsiString> parts = SplitPath(expanded);
  AnsiString result;
  MatchFound = mfExactMatch;
  for (size_t i = 0; i < parts.size(); ++i) {
    AnsiString folder = result.empty() ? AnsiString(1, PathDelim) : result;
    AnsiString exact = IncludeTrailingPathDelimiter(folder) + parts[i];
    struct stat st {};
    bool exactExists = ::lstat(FileNameToSys(exact).c_str(), &st) == 0;
    std::vector<AnsiString> spellings;
    if (DIR* dir = ::opendir(FileNameToSys(folder).c_str())) {
      while (dirent* entry = ::readdir(dir)) {
        AnsiString name = FileNameFromSys(entry->d_name);
        if (AnsiSameText(name, parts[i])) spellings.push_back(name);
      }
      ::closedir(dir);
    }
    if (spellings.empty() && !exactExists) {
      MatchFound = mfNoMatch;
      for (; i < parts.size(); ++i) result += PathDelim + parts[i];
      break;
    }
    std::sort(spellings.begin(), spellings.end());
    if (spellings.size() > 1) MatchFound = mfAmbiguous;
    result += PathDelim + (exactExists || spellings.empty() ? parts[i] : spellings.front());
  }
  if (result.empty()) result = AnsiString(1, PathDelim);
  if (expanded.size() > 1 && expanded.back() == PathDelim) result += PathDelim;
  return result;
}

// ============================================================ folders

AnsiString GetCurrentDir() {
  std::vector<char> buffer(PATH_MAX);
  while (!::getcwd(buffer.data(), buffer.size())) {
    if (errno != ERANGE) return AnsiString();
    buffer.resize(buffer.size() * 2);
  }
  return FileNameFromSys(buffer.data());
}

bool SetCurrentDir(const AnsiString& Dir) { return ::chdir(FileNameToSys(Dir).c_str()) == 0; }

AnsiString ProgramFolder() {
  static const AnsiString folder = [] {
    std::vector<char> buffer(PATH_MAX + 1);
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) return GetCurrentDir();
    return ExtractFileDir(FileNameFromSys(std::string(buffer.data(), size_t(n))));
  }();
  return folder;
}

AnsiString ProgramFile(const AnsiString& RelativeName) {
  TFilenameCaseMatch match;
  return ExpandFileNameCase(IncludeTrailingPathDelimiter(ProgramFolder()) + RelativeName, match);
}

AnsiString UserConfigFolder() {
  AnsiString folder;
  if (const char* dir = std::getenv("PL_CONFIG_DIR"); dir && *dir) {
    folder = FileNameFromSys(dir);
  } else {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
      folder = FileNameFromSys(xdg);
    } else {
      const char* home = std::getenv("HOME");
      if (!home || !*home) {
        const passwd* pw = ::getpwuid(::getuid());
        home = pw ? pw->pw_dir : "/tmp";
      }
      folder = IncludeTrailingPathDelimiter(FileNameFromSys(home)) + ".config";
    }
    folder = IncludeTrailingPathDelimiter(folder) + "rz4180";
  }
  folder = ExcludeTrailingPathDelimiter(folder);
  if (!ForceDirectories(folder))
    throw EInOutError("Unable to create directory \"" + folder + "\". " + SysErrorMessage(errno), errno);
  return folder;
}

// ============================================================ text files

namespace {

[[noreturn]] void InOutError(int32_t code, const char* message) { throw EInOutError(message, code); }

// The original platform's numbers for the errors a program tests; others keep errno.
[[noreturn]] void InOutErrorFromErrno(int error, const AnsiString& name) {
  switch (error) {
    case ENOENT:
      if (!ExtractFileDir(name).empty() && !DirectoryExists(ExtractFileDir(name)))
        InOutError(3, "Path not found");
      InOutError(2, "File not found");
    case ENOTDIR:
      InOutError(3, "Path not found");
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
      InOutError(5, "File access denied");
    case EMFILE:
    case ENFILE:
      InOutError(4, "Too many open files");
    default:
      throw EInOutError(SysErrorMessage(error), error);
  }
}

}  // namespace

TextFile::~TextFile() {
  if (fd_ >= 0) {
    try {
      Flush();
    } catch (...) {
      // A destructor cannot report; CloseFile is where a failing flush shows.
    }
    ::close(fd_);
  }
}

void TextFile::Open(int flags, Mode mode) {
  if (fd_ >= 0) CloseFile(*this);
  int fd;
  do fd = ::open(FileNameToSys(name_).c_str(), flags | O_CLOEXEC, 0666);
  while (fd < 0 && errno == EINTR);
  if (fd < 0) InOutErrorFromErrno(errno, name_);
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    InOutErrorFromErrno(EISDIR, name_);
  }
  fd_ = fd;
  mode_ = mode;
  buffer_.clear();
  pos_ = 0;
}

bool TextFile::Fill() {
  if (pos_ < buffer_.size()) return true;
  buffer_.resize(65536);
  ssize_t n;
  do n = ::read(fd_, buffer_.data(), buffer_.size());
  while (n < 0 && errno == EINTR);
  int error = errno;
  buffer_.resize(n > 0 ? size_t(n) : 0);
  pos_ = 0;
  if (n < 0) InOutErrorFromErrno(error, name_);
  return n > 0;
}

void TextFile::Flush() {
  if (mode_ != Mode::Output) return;
  size_t done = 0;
  while (done < buffer_.size()) {
    ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      int error = n < 0 ? errno : EIO;
      buffer_.erase(0, done);
      InOutErrorFromErrno(error, name_);
    }
    done += size_t(n);
  }
  buffer_.clear();
}

void AssignFile(TextFile& F, const AnsiString& FileName) {
  if (F.fd_ >= 0) CloseFile(F);
  F.name_ = FileName;
}

void Reset(TextFile& F) { F.Open(O_RDONLY, TextFile::Mode::Input); }
void Rewrite(TextFile& F) { F.Open(O_WRONLY | O_CREAT | O_TRUNC, TextFile::Mode::Output); }
void Append(TextFile& F) { F.Open(O_WRONLY | O_APPEND, TextFile::Mode::Output); }

void ReadLn(TextFile& F, AnsiString& S) {
  if (F.mode_ == TextFile::Mode::Closed) InOutError(103, "File not open");
  if (F.mode_ != TextFile::Mode::Input) InOutError(104, "File not open for input");
  S.clear();
  while (F.Fill()) {
    size_t end = F.buffer_.find_first_of("\r\n", F.pos_);
    if (end == std::string::npos) {
      S.append(F.buffer_, F.pos_, std::string::npos);
      F.pos_ = F.buffer_.size();
      continue;
    }
    S.append(F.buffer_, F.pos_, end - F.pos_);
    F.pos_ = end + 1;
    // A CR may be the first half of CR LF, even across a buffer refill.
    if (F.buffer_[end] == '\r' && F.Fill() && F.buffer_[F.pos_] == '\n') F.pos_++;
    return;
  }
}

void ReadLn(TextFile& F) {
  AnsiString ignored;
  ReadLn(F, ignored);
}

void Write(TextFile& F, const AnsiString& S) {
  if (F.mode_ == TextFile::Mode::Closed) InOutError(103, "File not open");
  if (F.mode_ != TextFile::Mode::Output) InOutError(105, "File not open for output");
  F.buffer_ += S;
  if (F.buffer_.size() >= 65536) F.Flush();
}

void WriteLn(TextFile& F, const AnsiString& S) { Write(F, S + "\r\n"); }

bool Eof(TextFile& F) {
  if (F.mode_ == TextFile::Mode::Closed) InOutError(103, "File not open");
  if (F.mode_ == TextFile::Mode::Output) return true;
  return !F.Fill();
}

void CloseFile(TextFile& F) {
  if (F.fd_ < 0) InOutError(103, "File not open");
  int error = 0;
  try {
    F.Flush();
  } catch (...) {
    ::close(F.fd_);
    F.fd_ = -1;
    F.mode_ = TextFile::Mode::Closed;
    throw;
  }
  if (::close(F.fd_) != 0) error = errno;
  F.fd_ = -1;
  F.mode_ = TextFile::Mode::Closed;
  F.buffer_.clear();
  if (error) InOutErrorFromErrno(error, F.name_);
}
