// The settings store file: the input is the store's text.  Every key is walked from each root
// (bounded depth), its values listed and read by their type, then one value written and read back
// through TRegistry and TRegistryIniFile.
#include "fuzz/support/FuzzSupport.h"
#include "platform/runtime/Lists.h"
#include "platform/runtime/Registry.h"

namespace {

void RegistryWalk(TRegistry& reg, const AnsiString& path, int depth, int& budget) {
  if (depth > 6 || --budget < 0) return;
  if (!reg.OpenKeyReadOnly(path)) return;
  TStringList names;
  reg.GetValueNames(&names);
  for (int32_t i = 0; i < names.GetCount() && i < 32; ++i) {
    AnsiString name = names.Get(i);
    fuzz::Expect([&] {
      switch (reg.GetDataType(name)) {
        case rdInteger:
          reg.ReadInteger(name);
          reg.ReadBool(name);
          break;
        case rdString:
        case rdExpandString:
          reg.ReadString(name);
          break;
        default:
          break;
      }
    });
  }
  TStringList keys;
  reg.GetKeyNames(&keys);
  for (int32_t i = 0; i < keys.GetCount() && i < 16; ++i)
    RegistryWalk(reg, path + "\\" + keys.Get(i), depth + 1, budget);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 16384) return 0;
  static const std::string store = RegistryStoreFileName();
  fuzz::WriteTempFile(store, data, size);
  fuzz::Expect([&] {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT}) {
      TRegistry reg;
      reg.SetRootKey(root);
      int budget = 200;
      RegistryWalk(reg, "\\", 0, budget);
    }
  });
  fuzz::Expect([&] {
    TRegistry reg;
    if (!reg.OpenKey("\\Software\\Fuzz", true)) return;
    reg.WriteInteger("Count", -5);
    reg.WriteString("Text", " a=b;[c]%\r\n");
    if (reg.ReadInteger("Count") != -5 || reg.ReadString("Text") != " a=b;[c]%\r\n")
      fuzz::Fail("a value written over a damaged store does not read back");
  });
  fuzz::Expect([&] {
    TRegistryIniFile ini("Software\\Fuzz");
    TStringList sections;
    ini.ReadSections(&sections);
    for (int32_t i = 0; i < sections.GetCount() && i < 16; ++i) {
      TStringList values;
      ini.ReadSectionValues(sections.Get(i), &values);
    }
  });
  return 0;
}
