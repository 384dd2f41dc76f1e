// Fuzzed window definitions read into real components: the classes a definition may name and
// the reading itself, shared by the text and binary definition harnesses.
#pragma once

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Graphics.h"

namespace fuzz {

// A control holding a picture, painted stretched over its bounds: pictures inside definitions
// ("Picture.Data = {...}") reach TPicture through it.
class TFuzzPictureBox : public TGraphicControl {
  PL_CLASS(TFuzzPictureBox)
 public:
  explicit TFuzzPictureBox(TComponent* AOwner);
  ~TFuzzPictureBox() override;
  TPicture* GetPicture() const { return picture_; }
  void SetPicture(TPicture* Value) { picture_->Assign(Value); }

 protected:
  void Paint() override;

 private:
  TPicture* picture_;
};

// Registers the component classes of the window definitions (idempotent).
void RegisterDefinitionClasses();

// Reads Definition (text or binary form) into a new form, shows it when the definition made
// it visible and lets it paint, writes it back as text and reads that into a second form;
// frees both.  A definition that reads must write text that reads back.
void ReadDefinition(const AnsiString& Definition);

// Draws Graphic onto a small bitmap, once in place and once stretched.
void DrawGraphic(TGraphic* Graphic);

}  // namespace fuzz
