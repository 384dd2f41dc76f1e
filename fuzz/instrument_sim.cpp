// The instrument simulator: the input is what arrives on its line, fed in pieces of varying size;
// then the same bytes as a model table file ("PowerType.dat"), whose models write and read back.
#include "fuzz/support/FuzzSupport.h"
#include "tools/instrument_sim/core/Instrument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 16384) return 0;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TInstrument whole;
  fuzz::Expect([&] { whole.Receive(bytes); });
  TInstrument pieces;
  fuzz::Expect([&] {
    for (size_t at = 0, step = 1; at < size; at += step, step = step % 7 + 1)
      pieces.Receive(bytes.substr(at, step));
  });
  TInstrument lines;
  fuzz::Expect([&] {
    size_t start = 0;
    while (start < size) {
      size_t end = bytes.find('\n', start);
      if (end == std::string_view::npos) end = size;
      lines.Execute(bytes.substr(start, end - start));
      start = end + 1;
    }
  });

  std::vector<TModelInfo> models;
  if (ParseModelTable(bytes, models)) {
    std::vector<TModelInfo> again;
    if (!ParseModelTable(BuildModelTable(models), again) || again.size() != models.size())
      fuzz::Fail("a model table built from read models does not read back");
    for (size_t i = 0; i < models.size(); ++i)
      if (again[i].Name != models[i].Name || again[i].MaxVoltage != models[i].MaxVoltage ||
          again[i].MaxCurrent != models[i].MaxCurrent)
        fuzz::Fail("model " + models[i].Name + " changed on its way through a table file");
    for (const TModelInfo& m : models) {
      TInstrumentConfig config;
      config.Model = m;
      TInstrument sim(config);
      fuzz::Expect([&] { sim.Receive("*IDN?\nVOLT 1e308\nCURR -0\nOUTP 1\nMEAS:VOLT?\nMEAS:CURR?\nSYST:ERR?\n"); });
    }
  }
  return 0;
}
