// Edit masks from stored settings: FormatMaskText with the input's mask (before its first NUL)
// over its text (after it), and over texts shorter and longer than the mask.
#include "fuzz/support/FuzzSupport.h"
#include "platform/runtime/MaskUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  AnsiString mask, text;
  fuzz::SplitAtNul(data, size, mask, text);
  TFormatSettings odd = DefaultFormatSettings();
  odd.DateSeparator = '\\';
  odd.TimeSeparator = ';';
  for (const TFormatSettings* fs : {&DefaultFormatSettings(), static_cast<const TFormatSettings*>(&odd)}) {
    for (const AnsiString& value : {text, AnsiString(), AnsiString(mask.size() * 2 + 3, 'x')})
      fuzz::Expect([&] { FormatMaskText(mask, value, *fs); });
  }
  return 0;
}
