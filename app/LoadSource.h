// The language of the windows: "CountryName.Txt" names a language file for each system language
// code, and the language file holds the texts of the windows by index.
//
// "CountryName.Txt": lines of "0x" and four hexadecimal capitals (characters 1 to 6), one
// separator, then the language file's name relative to the program's folder.  The first line
// whose code equals the system's wins.
//
// Language file, little-endian: a 16-bit count whose low byte c announces c - 1 strings (255 for
// c of 0), each a 16-bit length and that many bytes of single-byte text.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/runtime/Lists.h"
#include "platform/runtime/Types.h"

// The windows use the strings 0 to 88; a file with fewer is refused whole.
constexpr int32_t kLanguageStringCount = 89;
// The longest text a window takes from a language file; longer ones are cut to it, so a hostile
// file cannot make every caption cost a long measuring and drawing.
constexpr size_t kLanguageMaxText = 255;

class TLoadSource {
 public:
  // Finds the language file for the system's default language in the program's folder.  A
  // missing "CountryName.Txt" raises EInOutError.
  TLoadSource();
  // The same for a given folder and language code (tests, tools).
  TLoadSource(const AnsiString& folder, uint16_t languageId);
  ~TLoadSource();
  TLoadSource(const TLoadSource&) = delete;
  TLoadSource& operator=(const TLoadSource&) = delete;

  // The name of the language file of the first matching line (empty without one); sets
  // FileFound when that file exists.
  AnsiString FindLanguageFile();
  // Reads the language file when one was found: true once its strings are in the list.  A file
  // cut short, or holding fewer than kLanguageStringCount strings, raises EReadError and leaves
  // the list empty.
  bool LoadStrings();
  // The string at Index; an index beyond the list raises EStringListError.
  AnsiString GetString(int32_t Index) const;

  const AnsiString& LanguageCode() const { return FLanguageCode; }
  const AnsiString& FileName() const { return FFileName; }
  bool FileFound() const { return FFileFound; }
  int32_t Count() const { return FStrings->Count(); }

 private:
  AnsiString FFolder;
  uint16_t FLanguageId;
  AnsiString FLanguageCode;
  AnsiString FFileName;
  bool FFileFound = false;
  std::unique_ptr<TStringList> FStrings;
};

// "0x" and the code in four hexadecimal capitals ("0x0409").
AnsiString LanguageCodeText(uint16_t languageId);
// The language file name of the first line of a "CountryName.Txt" text whose code is code
// (letter case counts); a line's end may carry a carriage return.  False without such a line.
bool FindCountryLine(std::string_view text, const AnsiString& code, AnsiString& fileName);
// The strings of a language file image, each cut to kLanguageMaxText characters; EReadError for
// an image cut short.
void ReadLanguageBytes(std::string_view bytes, TStrings& strings);
// The image of a language file of up to 254 strings.
std::string WriteLanguageBytes(const TStrings& strings);
