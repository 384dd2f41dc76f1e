// INI files: the parsed document walked whole, then a file read and edited through TIniFile;
// an edit keeps every other entry as it was.
#include "fuzz/support/FuzzSupport.h"
#include "platform/runtime/IniFiles.h"
#include "platform/runtime/Lists.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 16384) return 0;
  AnsiString text = fuzz::Bytes(data, size);
  TIniDocument doc;
  doc.SetText(text);
  size_t entries = 0;
  for (const AnsiString& section : doc.Sections()) {
    for (const AnsiString& key : doc.Keys(section)) {
      AnsiString value;
      if (!doc.ReadValue(section, key, value)) fuzz::Fail("a listed key does not read: " + key);
      ++entries;
    }
  }
  // Reading the text again gives the same entries.
  TIniDocument again;
  again.SetText(doc.GetText());
  if (again.Sections() != doc.Sections()) fuzz::Fail("the written text has other sections");

  std::string path = fuzz::TempPath("fuzz.ini");
  fuzz::WriteTempFile(path, data, size);
  TIniFile ini(path);
  TStringList list;
  fuzz::Expect([&] {
    ini.ReadSections(&list);
    for (int32_t i = 0; i < list.GetCount() && i < 64; ++i) {
      AnsiString section = list.Get(i);
      TStringList values;
      ini.ReadSectionValues(section, &values);
      TStringList keys;
      ini.ReadSection(section, &keys);
      for (int32_t k = 0; k < keys.GetCount() && k < 64; ++k) {
        ini.ReadInteger(section, keys.Get(k), 7);
        ini.ReadBool(section, keys.Get(k), true);
        ini.ReadFloat(section, keys.Get(k), 0.5);
      }
    }
    if (list.GetCount() > 0) {
      AnsiString first = list.Get(0);
      ini.WriteString(first, "FuzzKey", "value");
      if (ini.ReadString(first, "FuzzKey", "") != "value") fuzz::Fail("a written value does not read back");
      ini.DeleteKey(first, "FuzzKey");
    }
  });
  return 0;
}
