// The language list "CountryName.Txt" (before the input's first NUL) and a language file (after
// it): the list is searched for a few codes, the file read directly and through the loader as the
// program finds it; strings read write back to a file that reads the same.
#include "app/LoadSource.h"
#include "fuzz/support/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1 << 16) return 0;
  AnsiString list, language;
  fuzz::SplitAtNul(data, size, list, language);
  for (uint16_t code : {0x0409, 0x0407, 0x0804}) {
    AnsiString name;
    FindCountryLine(list, LanguageCodeText(code), name);
  }
  TStringList strings;
  bool read = false;
  fuzz::Expect([&] {
    ReadLanguageBytes(language, strings);
    read = true;
  });
  if (read && strings.Count() <= 254) {
    TStringList again;
    fuzz::Expect([&] { ReadLanguageBytes(WriteLanguageBytes(strings), again); });
    if (again.Count() != strings.Count()) fuzz::Fail("string count changed");
    for (int32_t i = 0; i < strings.Count(); ++i)
      if (again[i] != strings[i]) fuzz::Fail("string " + std::to_string(i) + " changed");
  }
  // The loader over the folder: the list names the file "L.lng" for the first code it holds.
  const std::string folder = fuzz::TempFolder();
  fuzz::WriteTempFile(fuzz::TempPath("CountryName.Txt"), reinterpret_cast<const uint8_t*>(list.data()),
                      list.size());
  fuzz::WriteTempFile(fuzz::TempPath("L.lng"), reinterpret_cast<const uint8_t*>(language.data()),
                      language.size());
  AnsiString named = "0x0409 L.lng\n";
  fuzz::WriteTempFile(fuzz::TempPath("CountryName.Txt"), reinterpret_cast<const uint8_t*>(named.data()),
                      named.size());
  fuzz::Expect([&] {
    TLoadSource source(folder, 0x0409);
    if (source.LoadStrings() && source.Count() < kLanguageStringCount) fuzz::Fail("too few strings accepted");
  });
  return 0;
}
