// The model table "PowerType.dat": records read from the input are looked up by name (each
// record's name in another letter case) and written back to a table that reads the same.
#include "app/PowerType.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/runtime/Strings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1 << 16) return 0;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<TPowerTypeRecord> records;
  fuzz::Expect([&] { records = ReadPowerTypeBytes(bytes); });
  for (const TPowerTypeRecord& r : records) {
    TModelLimits limits;
    fuzz::Expect([&] {
      if (!FindModelLimits(records, LowerCase(r.Name), limits))
        fuzz::Fail("a record's own name is not found");
    });
  }
  std::vector<TPowerTypeRecord> again;
  fuzz::Expect([&] { again = ReadPowerTypeBytes(WritePowerTypeBytes(records)); });
  if (again.size() != records.size()) fuzz::Fail("the table's length changed on its way through a file");
  for (size_t i = 0; i < records.size(); ++i)
    if (again[i].Name != records[i].Name || again[i].MaxVoltage != records[i].MaxVoltage ||
        again[i].Note != records[i].Note)
      fuzz::Fail("record " + std::to_string(i) + " changed on its way through a file");
  fuzz::WriteTempFile(fuzz::TempPath("PowerType.dat"), data, size);
  fuzz::Expect([&] { ReadPowerTypeFile(fuzz::TempPath("PowerType.dat")); });
  return 0;
}
