// Rich text as a rich edit loads it (cell texts, clipboard, drag and drop): read it, and check
// that what the writer makes of the document reads back to the same document.
#include "fuzz/support/FuzzSupport.h"
#include "platform/ui/RichEdit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  const AnsiString input = fuzz::Bytes(data, size);
  const TRichCharFormat def{"Arial", 10, {}, clWindowText, DEFAULT_CHARSET};
  fuzz::Expect([&] {
    TRichDocument doc = ReadRichText(input, def);
    size_t total = 0;
    for (const TRichRun& r : doc.Runs) {
      if (r.Length <= 0) fuzz::Fail("empty run");
      if (r.Format.Size < 1 || r.Format.Size > 1638) fuzz::Fail("size out of range");
      total += size_t(r.Length);
    }
    if (total != doc.Text.size()) fuzz::Fail("runs do not cover the text");
    // Only rich text promises a round trip: plain text may hold what an edit cannot (NUL).
    if (input.compare(0, 5, "{\\rtf") != 0) return;
    TRichDocument back = ReadRichText(WriteRichText(doc, def), def);
    if (back.Text != doc.Text) fuzz::Fail("written text reads back differently");
    if (back.Runs.size() != doc.Runs.size()) fuzz::Fail("written runs read back differently");
    for (size_t i = 0; i < doc.Runs.size(); ++i)
      if (back.Runs[i].Length != doc.Runs[i].Length || !(back.Runs[i].Format == doc.Runs[i].Format))
        fuzz::Fail("written run formats read back differently");
  });
  return 0;
}
