// Binary window definitions ("TPF0"): converted to text and read into real components.
#include "fuzz/support/Definitions.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/runtime/FormText.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartUi();
  fuzz::RegisterDefinitionClasses();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 32768) return 0;
  // The reader takes the binary form for what it is only after its signature.
  AnsiString binary = "TPF0" + fuzz::Bytes(data, size);
  AnsiString text;
  fuzz::Expect([&] { text = ObjectBinaryToText(binary); });
  if (!text.empty()) {
    try {
      ObjectTextToBinary(text);
    } catch (const Exception& e) {
      fuzz::Fail("the converter's text does not convert back: " + e.Message + "\n" + text);
    }
  }
  fuzz::ReadDefinition(binary);
  return 0;
}
