// INI files: the abstract TCustomIniFile with its typed readers and writers, TIniFile, which
// reads and writes a file on every call, and TIniDocument, the parsed text both it and the
// settings store (Registry.h) edit.
//
// Sections: TIniDocument / TCustomIniFile / TIniFile.
// Thread contract: an object is used by one thread at a time.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/runtime/Object.h"

class TStrings;

// ============================================================ TIniDocument

// The lines of an INI text: "[section]" headers, "key=value" entries, comments (";") and blank
// lines.  Section and key names compare without regard to case, blanks around names and values
// do not count, and the first of two equal names wins.  A section written twice reads as one:
// the keys of every copy, the first copy's value where both have a key; a change goes to the
// entry that is read.  A UTF-8 byte-order mark at the start is kept apart from the first line.
// A name with a line break is never found.  Editing keeps every other line as it was.
class TIniDocument {
 public:
  // Lines end at CR LF, LF or CR.
  void SetText(const AnsiString& Text);
  // Every line followed by CR LF.
  AnsiString GetText() const;
  void Clear() {
    lines_.clear();
    bom_ = false;
  }
  // A missing file reads as empty; one that cannot be read raises (EFOpenError), so that a
  // later save cannot replace unread entries.
  void LoadFromFile(const AnsiString& FileName);
  // Replaces the file durably (SaveFileDurably).
  void SaveToFile(const AnsiString& FileName) const;

  bool SectionExists(const AnsiString& Section) const;
  // Adds an empty section when there is none of that name.
  void AddSection(const AnsiString& Section);
  // The value as written, blanks around it removed; false when the key is missing.
  bool ReadValue(const AnsiString& Section, const AnsiString& Key, AnsiString& Value) const;
  // Replaces the entry, or adds it at the end of its section (made when missing).
  void WriteValue(const AnsiString& Section, const AnsiString& Key, const AnsiString& Value);
  bool DeleteKey(const AnsiString& Section, const AnsiString& Key);
  // Removes the section's header and its lines; false when it is missing.
  bool EraseSection(const AnsiString& Section);
  // Section names in file order, each once.
  std::vector<AnsiString> Sections() const;
  // The section's keys in file order, each once.
  std::vector<AnsiString> Keys(const AnsiString& Section) const;

  // Raises EIniFileException for names and values that would not read back as one entry: line
  // breaks anywhere, "]" in a section name, "=" in a key, a key that is empty or starts with
  // "[" or ";".
  static void CheckEntry(const AnsiString& Section, const AnsiString& Key, const AnsiString& Value);

 private:
  // The header lines of the section's copies, in file order.
  std::vector<size_t> FindSections(const AnsiString& Section) const;
  // The line of the key's entry in the first copy that has one.
  bool FindEntry(const AnsiString& Section, const AnsiString& Key, size_t& line) const;
  // One past the section's last line (the next header or the end).
  size_t SectionEnd(size_t header) const;
  int32_t FindKey(size_t header, const AnsiString& Key) const;

  std::vector<AnsiString> lines_;
  bool bom_ = false;
};

// ============================================================ TCustomIniFile

// Clears Strings and adds Items, notifying once.
void ReplaceStrings(TStrings* Strings, const std::vector<AnsiString>& Items);

class TCustomIniFile : public TObject {
  PL_CLASS(TCustomIniFile)
 public:
  explicit TCustomIniFile(const AnsiString& FileName) : fileName_(FileName) {}
  const AnsiString& FileName() const { return fileName_; }

  virtual AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident,
                                const AnsiString& Default) = 0;
  virtual void WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value) = 0;
  // Decimal or hexadecimal ("0x1F", "$1F"); text that is no number gives Default.
  virtual int32_t ReadInteger(const AnsiString& Section, const AnsiString& Ident, int32_t Default);
  virtual void WriteInteger(const AnsiString& Section, const AnsiString& Ident, int32_t Value);
  // Written "1" and "0"; read as an integer, anything but 0 is true.
  virtual bool ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default);
  virtual void WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value);
  // Text in the format settings' form; a missing value, or one that is no number, gives Default.
  virtual double ReadFloat(const AnsiString& Section, const AnsiString& Ident, double Default);
  virtual void WriteFloat(const AnsiString& Section, const AnsiString& Ident, double Value);

  // Each of these clears Strings first.  ReadSection gives the keys, ReadSectionValues the
  // "key=value" entries, ReadSections the section names.
  virtual void ReadSection(const AnsiString& Section, TStrings* Strings) = 0;
  virtual void ReadSections(TStrings* Strings) = 0;
  virtual void ReadSectionValues(const AnsiString& Section, TStrings* Strings);
  virtual void EraseSection(const AnsiString& Section) = 0;
  virtual void DeleteKey(const AnsiString& Section, const AnsiString& Ident) = 0;
  // Writes pending changes to the file.
  virtual void UpdateFile() = 0;
  // A section exists while it holds at least one key.
  bool SectionExists(const AnsiString& Section);
  virtual bool ValueExists(const AnsiString& Section, const AnsiString& Ident);

 private:
  AnsiString fileName_;
};

// ============================================================ TIniFile

// An INI file read afresh by every call and written, durably, by every change,
// so that several objects and programs on one file see each other's values.  A missing file
// reads as empty and is created by the first write; a relative name counts from the current
// folder.  Values written in quotes read back without them.  A failed write raises
// EIniFileException "Unable to write to <file>" and leaves the file as it was.
class TIniFile : public TCustomIniFile {
  PL_CLASS(TIniFile)
 public:
  explicit TIniFile(const AnsiString& FileName);

  AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident,
                        const AnsiString& Default) override;
  void WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value) override;
  void ReadSection(const AnsiString& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void EraseSection(const AnsiString& Section) override;
  void DeleteKey(const AnsiString& Section, const AnsiString& Ident) override;
  // Nothing is pending: every change is written at once.
  void UpdateFile() override {}

 private:
  void Save();

  TIniDocument document_;
};
