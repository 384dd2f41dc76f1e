// Pictures inside window definitions: "Picture.Data = {...}" of a picture control, read through
// TPicture (class name, then the graphic's stored form) and painted on a shown form.
#include "fuzz/support/Definitions.h"
#include "fuzz/support/FuzzSupport.h"

namespace {

void PictureDataShortString(AnsiString& out, const AnsiString& s) {
  out += char(s.size());
  out += s;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartUi();
  fuzz::RegisterDefinitionClasses();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  // The binary definition of a visible form holding one picture control whose data is the input.
  AnsiString def = "TPF0";
  PictureDataShortString(def, "TForm");
  PictureDataShortString(def, "F");
  PictureDataShortString(def, "Visible");
  def += char(vaTrue);
  def += char(vaNull);
  PictureDataShortString(def, "TFuzzPictureBox");
  PictureDataShortString(def, "Box");
  PictureDataShortString(def, "Width");
  def += char(vaInt8);
  def += char(60);
  PictureDataShortString(def, "Picture.Data");
  def += char(vaBinary);
  uint32_t n = uint32_t(size);
  def.append(reinterpret_cast<const char*>(&n), 4);
  def += fuzz::Bytes(data, size);
  def += char(vaNull);  // the control's properties
  def += char(vaNull);  // its children
  def += char(vaNull);  // the form's children
  fuzz::ReadDefinition(def);
  return 0;
}
