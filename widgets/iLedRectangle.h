// A lamp drawn as a filled rectangle with an optional highlight and a centred text label (the
// link's receive and transmit lamps on the front panel).
#pragma once

#include <memory>

#include "widgets/iLed.h"

class TiLedRectangle : public TiLed {
  PL_CLASS(TiLedRectangle)
 public:
  explicit TiLedRectangle(TComponent* AOwner);
  ~TiLedRectangle() override;

  const AnsiString& GetCenterLabelText() const { return centerLabelText_; }
  void SetCenterLabelText(const AnsiString& Value);
  TFont* GetCenterLabelFont() const { return centerLabelFont_.get(); }
  void SetCenterLabelFont(TFont* Value) { centerLabelFont_->Assign(Value); }
  TColor GetCenterLabelFontActiveColor() const { return labelActiveColor_; }
  void SetCenterLabelFontActiveColor(TColor Value);
  TColor GetCenterLabelFontInactiveColor() const { return labelInactiveColor_; }
  void SetCenterLabelFontInactiveColor(TColor Value);
  bool GetCenterLabelWordWrap() const { return labelWordWrap_; }
  void SetCenterLabelWordWrap(bool Value);
  int32_t GetCenterLabelEndsMargin() const { return labelEndsMargin_; }
  void SetCenterLabelEndsMargin(int32_t Value);
  TiAlignmentHorizontal GetCenterLabelAlignment() const { return labelAlignment_; }
  void SetCenterLabelAlignment(TiAlignmentHorizontal Value);
  bool GetShowReflection() const { return showReflection_; }
  void SetShowReflection(bool Value);

  void PaintToCanvas(TCanvas* Canvas) override;

 private:
  void LabelFontChanged(TObject* Sender);

  AnsiString centerLabelText_;
  std::unique_ptr<TFont> centerLabelFont_;
  TColor labelActiveColor_ = clBlack;
  TColor labelInactiveColor_ = clWhite;
  bool labelWordWrap_ = false;
  int32_t labelEndsMargin_ = 5;
  TiAlignmentHorizontal labelAlignment_ = iahCenter;
  bool showReflection_ = true;
};
