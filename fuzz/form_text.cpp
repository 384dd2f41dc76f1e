// Text window definitions: converted to the binary form and back, and read into real components.
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
  AnsiString text = fuzz::Bytes(data, size);
  AnsiString binary;
  fuzz::Expect([&] { binary = ObjectTextToBinary(text); });
  if (!binary.empty()) {
    // What the converter made, it must convert back, to the same bytes again.
    AnsiString back;
    try {
      back = ObjectBinaryToText(binary);
    } catch (const Exception& e) {
      fuzz::Fail("the converter's binary form does not convert back: " + e.Message);
    }
    AnsiString again;
    try {
      again = ObjectTextToBinary(back);
    } catch (const Exception& e) {
      fuzz::Fail("the converted text does not convert again: " + e.Message + "\n" + back);
    }
    if (again != binary) fuzz::Fail("text -> binary -> text -> binary changed the bytes\n" + back);
  }
  fuzz::ReadDefinition(text);
  return 0;
}
