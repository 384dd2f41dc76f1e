// String lists from stored text: line text, comma and delimited text, name=value pairs; what a
// list writes as comma text reads back as the same strings.
#include "fuzz/support/FuzzSupport.h"
#include "platform/runtime/Lists.h"
#include "platform/runtime/Streams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 8192) return 0;
  AnsiString text = fuzz::Bytes(data, size);
  TStringList list;
  list.SetText(text);
  for (int32_t i = 0; i < list.GetCount() && i < 32; ++i) list.Values(list.Names(i));
  TStringStream stream(text);
  list.LoadFromStream(&stream);
  list.SetCommaText(text);
  AnsiString comma = list.GetCommaText();
  TStringList back;
  back.SetCommaText(comma);
  if (back.GetCount() != list.GetCount()) fuzz::Fail("comma text reads back another count: " + comma);
  for (int32_t i = 0; i < list.GetCount(); ++i)
    if (back.Get(i) != list.Get(i)) fuzz::Fail("comma text reads back other strings: " + comma);
  TStringList semi;
  semi.Delimiter = ';';
  semi.QuoteChar = '\'';
  semi.SetDelimitedText(text);
  semi.Sort();
  return 0;
}
