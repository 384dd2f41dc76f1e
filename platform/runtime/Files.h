// Files and folders: tests, creation and removal, searching with wildcards, file-name parts,
// the program's and the user's folders, durable replacement of a file, and text files read and
// written line by line.
//
// Names are single-byte text (code page 1252) and are handed to the system as UTF-8.  The path
// delimiter is "/"; an absolute path starts with "/".
//
// Sections: names and errors / tests and changes / searching / name parts / folders /
// text files.
// Thread contract: the functions may be called from any thread; a TextFile or TSearchRec is used
// by one thread at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/runtime/Types.h"

// ============================================================ names and errors

constexpr char PathDelim = '/';
constexpr char PathSep = ':';

// The system's text for an error number (errno).
AnsiString SysErrorMessage(int32_t ErrorCode);
// A file name as the system takes it (UTF-8), and back (characters the code page lacks become '?').
std::string FileNameToSys(const AnsiString& FileName);
AnsiString FileNameFromSys(const std::string& Name);

// ============================================================ tests and changes

// FileExists is false for folders.
bool FileExists(const AnsiString& FileName);
bool DirectoryExists(const AnsiString& Directory);
bool DeleteFile(const AnsiString& FileName);
// Fails (false) when NewName exists already, as the original platform's rename did.
bool RenameFile(const AnsiString& OldName, const AnsiString& NewName);
bool CreateDir(const AnsiString& Dir);
// Creates the folder and every missing folder above it; true when the folder exists at the end.
// An empty name raises EInOutError "Unable to create directory".
bool ForceDirectories(const AnsiString& Dir);
bool RemoveDir(const AnsiString& Dir);
// The time of the last change as a packed local date-time (bits: year - 1980 from 25, month
// from 21, day from 16, hour from 11, minute from 5, seconds / 2), or -1 when the file is missing.
int32_t FileAge(const AnsiString& FileName);
bool FileAge(const AnsiString& FileName, TDateTime& FileDateTime);
TDateTime FileDateToDateTime(int32_t FileDate);

// Replaces the file with Data so that a crash leaves the old or the new content, never a mix:
// the data goes to a new file beside it, reaches the disk, and is renamed over the old one.
// Raises EFCreateError "Cannot create file "<name>". <reason>".
void SaveFileDurably(const AnsiString& FileName, std::string_view Data);
// Removes the new files that saves of FileName left beside it when their process died before the
// rename ("<name>.tmp<pid>-<n>"); those of a process still running are left to it.
void RemoveStaleSaveFiles(const AnsiString& FileName);

// ============================================================ searching

// Attributes.  Hidden are names that start with "."; system files are the special files
// (devices, pipes, sockets); read-only files are those the owner may not write.
constexpr int32_t faReadOnly = 0x01;
constexpr int32_t faHidden = 0x02;
constexpr int32_t faSysFile = 0x04;
constexpr int32_t faVolumeID = 0x08;
constexpr int32_t faDirectory = 0x10;
constexpr int32_t faArchive = 0x20;
constexpr int32_t faAnyFile = 0x3F;
constexpr int32_t faSymLink = 0x40;

struct TSearchState;

struct TSearchRec {
  int32_t Time = 0;  // packed as FileAge packs it
  int64_t Size = 0;
  int32_t Attr = 0;
  AnsiString Name;
  int32_t ExcludeAttr = 0;
  std::shared_ptr<TSearchState> FindHandle;
};

// Path is a folder and a mask of "*" and "?" compared without regard to case ("*.*" and "*"
// match every name, "abc.*" also matches "abc").  Entries with hidden, system or folder
// attributes are found only when Attr includes them.  Returns 0 with the first entry in F, or
// 3 (the folder is missing) or 2 (nothing matches).  Entries come in the order the file system
// lists them.
int32_t FindFirst(const AnsiString& Path, int32_t Attr, TSearchRec& F);
// 0 with the next entry, or 18 when there are no more.
int32_t FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);
// The wildcard rule of FindFirst.
bool MatchesFileMask(const AnsiString& Name, const AnsiString& Mask);

// ============================================================ name parts

AnsiString ExtractFilePath(const AnsiString& FileName);  // with the trailing "/"
AnsiString ExtractFileDir(const AnsiString& FileName);   // without it, except for "/"
AnsiString ExtractFileName(const AnsiString& FileName);
AnsiString ExtractFileExt(const AnsiString& FileName);  // with the ".", or empty
AnsiString ChangeFileExt(const AnsiString& FileName, const AnsiString& Extension);
AnsiString IncludeTrailingPathDelimiter(const AnsiString& S);
AnsiString ExcludeTrailingPathDelimiter(const AnsiString& S);
// An absolute name without "." and ".." parts; a relative name counts from the current folder.
AnsiString ExpandFileName(const AnsiString& FileName);

enum TFilenameCaseMatch { mfNoMatch, mfExactMatch, mfAmbiguous };
// The absolute name as the disk spells it, each part matched without regard to case (the
// original file system folded case).  mfExactMatch: one entry answers every part; mfAmbiguous:
// a part has several spellings (the exact one is taken when present, else the first in byte
// order); mfNoMatch: a part is missing (the parts before it are corrected, the rest kept).
AnsiString ExpandFileNameCase(const AnsiString& FileName, TFilenameCaseMatch& MatchFound);

// ============================================================ folders

AnsiString GetCurrentDir();
bool SetCurrentDir(const AnsiString& Dir);
// The folder of the running executable, without a trailing "/".
AnsiString ProgramFolder();
// A name inside the program folder ("db/Run1.db"), its parts matched without regard to case
// (see ExpandFileNameCase); a missing part keeps the given spelling.
AnsiString ProgramFile(const AnsiString& RelativeName);
// The user's settings folder, created on demand: $PL_CONFIG_DIR when set (tests and scripts),
// else $XDG_CONFIG_HOME/rz4180, else ~/.config/rz4180.  No trailing "/".  A folder that cannot
// be created raises EInOutError.
AnsiString UserConfigFolder();

// ============================================================ text files

// A file read or written line by line.  Reading takes CR LF, LF and CR as line ends; writing
// ends lines with CR LF.  Failures raise EInOutError with the original platform's numbers where
// it had one (2 "File not found", 3 "Path not found", 5 "File access denied", 103 "File not
// open", 104 "File not open for input", 105 "File not open for output"), else the system's error
// number and text.
class TextFile {
 public:
  TextFile() = default;
  ~TextFile();
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

 private:
  enum class Mode { Closed, Input, Output };
  friend void AssignFile(TextFile& F, const AnsiString& FileName);
  friend void Reset(TextFile& F);
  friend void Rewrite(TextFile& F);
  friend void Append(TextFile& F);
  friend void ReadLn(TextFile& F, AnsiString& S);
  friend void ReadLn(TextFile& F);
  friend void Write(TextFile& F, const AnsiString& S);
  friend void WriteLn(TextFile& F, const AnsiString& S);
  friend bool Eof(TextFile& F);
  friend void CloseFile(TextFile& F);
  void Open(int flags, Mode mode);
  bool Fill();
  void Flush();

  AnsiString name_;
  int fd_ = -1;
  Mode mode_ = Mode::Closed;
  std::string buffer_;
  size_t pos_ = 0;
};

void AssignFile(TextFile& F, const AnsiString& FileName);
// Opens an existing file for reading from its start.
void Reset(TextFile& F);
// Creates or empties the file and opens it for writing.
void Rewrite(TextFile& F);
// Opens an existing file for writing at its end.
void Append(TextFile& F);
// The next line without its line end; at the end of the file an empty string.
void ReadLn(TextFile& F, AnsiString& S);
void ReadLn(TextFile& F);
void Write(TextFile& F, const AnsiString& S);
void WriteLn(TextFile& F, const AnsiString& S = AnsiString());
bool Eof(TextFile& F);
void CloseFile(TextFile& F);
