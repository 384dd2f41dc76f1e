// The settings store that stands in for the system registry: keys under a few roots, with string
// and integer values, kept in one INI file of the user's settings folder ("registry.ini", a
// section per key such as "HKEY_CURRENT_USER\Software\Quarnoplex\Title\Form\TForm1").
// TRegistry reads and writes it, TRegIniFile sees subkeys as sections, and TRegistryIniFile
// gives the TCustomIniFile interface over it.
//
// Key names and value names compare without regard to case; a key exists when it was created or
// when a key below it exists.  Every change reaches the disk before the call returns (a new file
// renamed over the old one), and every call reads the file afresh, so objects and programs
// sharing the store see each other's values.
//
// Sections: TRegistry / TRegIniFile / TRegistryIniFile.
// Thread contract: an object is used by one thread at a time; the store itself is locked.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/runtime/IniFiles.h"

class TStrings;

using HKEY = uintptr_t;
constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr HKEY HKEY_USERS = 0x80000003u;
constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

// The file that holds the store: UserConfigFolder() + "/registry.ini".
AnsiString RegistryStoreFileName();

// ============================================================ TRegistry

class TRegistry : public TObject {
  PL_CLASS(TRegistry)
 public:
  TRegistry() = default;

  HKEY RootKey() const { return rootKey_; }
  // Changing the root closes the open key.
  void SetRootKey(HKEY Value);
  // The open key's path below the root, and whether a key is open.
  const AnsiString& CurrentPath() const { return currentPath_; }
  bool HasCurrentKey() const { return open_; }

  // Key is relative to the open key, or to the root when it starts with "\" or none is open.
  // Opens it, creating it when CanCreate; false when it is missing and may not be created.
  bool OpenKey(const AnsiString& Key, bool CanCreate);
  // Opens an existing key; writing through it then fails.
  bool OpenKeyReadOnly(const AnsiString& Key);
  void CloseKey();
  bool CreateKey(const AnsiString& Key);
  // Removes the key with every key below it; false when it is missing.
  bool DeleteKey(const AnsiString& Key);
  bool KeyExists(const AnsiString& Key);
  bool HasSubKeys();
  // Names of the open key's subkeys and of its values.
  void GetKeyNames(TStrings* Strings);
  void GetValueNames(TStrings* Strings);

  bool ValueExists(const AnsiString& Name);
  bool DeleteValue(const AnsiString& Name);
  TRegDataType GetDataType(const AnsiString& Name);
  // Reading a missing value raises ERegistryException "Failed to get data for '<name>'", one of
  // another type "Invalid data type for '<name>'"; a write without an open, writable key raises
  // "Failed to set data for '<name>'".
  AnsiString ReadString(const AnsiString& Name);
  void WriteString(const AnsiString& Name, const AnsiString& Value);
  int32_t ReadInteger(const AnsiString& Name);
  void WriteInteger(const AnsiString& Name, int32_t Value);
  // Stored as the integers 1 and 0.
  bool ReadBool(const AnsiString& Name);
  void WriteBool(const AnsiString& Name, bool Value);

 protected:
  // The path of Key below the root, as OpenKey resolves it.
  AnsiString ResolveKey(const AnsiString& Key) const;
  // Values of the key at Path (below the root), whether or not it is open.
  bool ValueExistsAt(const AnsiString& Path, const AnsiString& Name);
  TRegDataType DataTypeAt(const AnsiString& Path, const AnsiString& Name);
  AnsiString ReadStringAt(const AnsiString& Path, const AnsiString& Name);
  int32_t ReadIntegerAt(const AnsiString& Path, const AnsiString& Name);
  void WriteStringAt(const AnsiString& Path, const AnsiString& Name, const AnsiString& Value);
  void WriteIntegerAt(const AnsiString& Path, const AnsiString& Name, int32_t Value);
  bool DeleteValueAt(const AnsiString& Path, const AnsiString& Name);
  void GetKeyNamesAt(const AnsiString& Path, TStrings* Strings);
  void GetValueNamesAt(const AnsiString& Path, TStrings* Strings);

 private:
  AnsiString Section(const AnsiString& Path) const;
  void CheckWritable(const AnsiString& Name) const;

  HKEY rootKey_ = HKEY_CURRENT_USER;
  AnsiString currentPath_;
  bool open_ = false;
  bool readOnly_ = false;
};

// ============================================================ TRegIniFile

// A key of the current user, opened (and so created) by the constructor, whose subkeys are read
// and written as INI sections.  Integers and Booleans are written as text; reading takes text
// or integer values, and text that is no number gives the default.
class TRegIniFile : public TRegistry {
  PL_CLASS(TRegIniFile)
 public:
  explicit TRegIniFile(const AnsiString& FileName);
  const AnsiString& FileName() const { return fileName_; }

  // An empty Section means the open key itself.
  AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default);
  void WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value);
  int32_t ReadInteger(const AnsiString& Section, const AnsiString& Ident, int32_t Default);
  void WriteInteger(const AnsiString& Section, const AnsiString& Ident, int32_t Value);
  bool ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default);
  void WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value);
  void ReadSection(const AnsiString& Section, TStrings* Strings);
  void ReadSections(TStrings* Strings);
  void ReadSectionValues(const AnsiString& Section, TStrings* Strings);
  void EraseSection(const AnsiString& Section);
  void DeleteKey(const AnsiString& Section, const AnsiString& Ident);

 private:
  friend class TRegistryIniFile;
  AnsiString SectionPath(const AnsiString& Section) const;
  AnsiString fileName_;
};

// ============================================================ TRegistryIniFile

// TCustomIniFile over a TRegIniFile.  New integers are stored as integer values; an integer
// written over a text value stays text.
class TRegistryIniFile : public TCustomIniFile {
  PL_CLASS(TRegistryIniFile)
 public:
  explicit TRegistryIniFile(const AnsiString& FileName);
  TRegIniFile* RegIniFile() { return regIniFile_.get(); }

  AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident,
                        const AnsiString& Default) override;
  void WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value) override;
  int32_t ReadInteger(const AnsiString& Section, const AnsiString& Ident, int32_t Default) override;
  void WriteInteger(const AnsiString& Section, const AnsiString& Ident, int32_t Value) override;
  void ReadSection(const AnsiString& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const AnsiString& Section, TStrings* Strings) override;
  void EraseSection(const AnsiString& Section) override;
  void DeleteKey(const AnsiString& Section, const AnsiString& Ident) override;
  void UpdateFile() override {}

 private:
  std::unique_ptr<TRegIniFile> regIniFile_;
};
