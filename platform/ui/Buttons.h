// Buttons with glyphs: the windowless speed button (latching in groups) and the bit button (a
// push button with a glyph and stock kinds).
//
// Thread contract: main thread only.
#pragma once

#include <memory>

#include "platform/ui/StdButtons.h"

enum TButtonLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
// How a speed button shows: up, disabled, pressed by the mouse, or latched down.
enum TButtonState : uint8_t { bsUp, bsDisabled, bsDown, bsExclusive };
// Cells of a glyph bitmap side by side: up, disabled, pressed, latched down.
using TNumGlyphs = int32_t;
enum TBitBtnKind : uint8_t {
  bkCustom,
  bkOK,
  bkCancel,
  bkHelp,
  bkYes,
  bkNo,
  bkClose,
  bkAbort,
  bkRetry,
  bkIgnore,
  bkAll
};
template <>
const EnumNames& EnumNamesOf<TButtonLayout>();
template <>
const EnumNames& EnumNamesOf<TBitBtnKind>();

// Where the glyph and the caption go in a button face, and how the glyph is drawn for a state.
struct TButtonGlyphLayout {
  TRect GlyphRect;  // empty without a glyph
  TRect TextRect;   // the caption's own size, placed
};
// Margin -1 centres the pair; Spacing -1 spreads the room evenly.
TButtonGlyphLayout CalcButtonLayout(const TRect& Client, TSize GlyphSize, TSize TextSize,
                                    TButtonLayout Layout, int32_t Margin, int32_t Spacing);
// Draws cell State of Glyph at (X, Y), leaving out the pixels of its transparent colour (the
// bottom-left pixel).  A disabled state without a cell of its own is derived from the up cell:
// an embossed outline of its darker pixels.
void DrawButtonGlyph(TCanvas* Canvas, TBitmap* Glyph, TNumGlyphs NumGlyphs, TButtonState State, int32_t X,
                     int32_t Y);

// ============================================================================ speed button =====

// A windowless button, usually on a tool bar.  With a GroupIndex it latches: pressing it sets
// Down and raises the other buttons of the same group and parent (CM_BUTTONPRESSED); with
// AllowAllUp a second press raises it again.  A Flat button shows its face only under the mouse.
class TSpeedButton : public TGraphicControl {
  PL_CLASS(TSpeedButton)
 public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;
  int32_t GetGroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int32_t Value);
  bool GetDown() const { return down_; }
  void SetDown(bool Value);
  bool GetAllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool Value);
  bool GetFlat() const { return flat_; }
  void SetFlat(bool Value);
  bool GetTransparent() const { return transparent_; }
  void SetTransparent(bool Value);
  TBitmap* GetGlyph() const { return glyph_.get(); }
  void SetGlyph(TBitmap* Value) { glyph_->Assign(Value); }
  TNumGlyphs GetNumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(TNumGlyphs Value);
  TButtonLayout GetLayout() const { return layout_; }
  void SetLayout(TButtonLayout Value);
  int32_t GetMargin() const { return margin_; }
  void SetMargin(int32_t Value);
  int32_t GetSpacing() const { return spacing_; }
  void SetSpacing(int32_t Value);
  TButtonState State() const { return state_; }
  bool MouseInControl() const { return mouseInControl_; }
  void Click() override;
  void Loaded() override;
  void Dispatch(TMessage& Message) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseMove(TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;

 private:
  void GlyphChanged(TObject*);
  void UpdateExclusive();
  void SetState(TButtonState Value);
  int32_t groupIndex_ = 0;
  bool down_ = false;
  bool allowAllUp_ = false;
  bool flat_ = false;
  bool transparent_ = true;
  std::unique_ptr<TBitmap> glyph_;
  TNumGlyphs numGlyphs_ = 1;
  TButtonLayout layout_ = blGlyphLeft;
  int32_t margin_ = -1, spacing_ = 4;
  TButtonState state_ = bsUp;
  bool dragging_ = false;
  bool mouseInControl_ = false;
};

// ============================================================================ bit button =======

// A push button with a glyph.  A Kind other than bkCustom gives the stock caption (unless a
// stored definition gave one), modal result, glyph, and the Default or Cancel role.
class TBitBtn : public TButton {
  PL_CLASS(TBitBtn)
 public:
  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;
  TBitBtnKind GetKind() const { return kind_; }
  void SetKind(TBitBtnKind Value);
  TBitmap* GetGlyph() const { return glyph_.get(); }
  void SetGlyph(TBitmap* Value) { glyph_->Assign(Value); }
  TNumGlyphs GetNumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(TNumGlyphs Value);
  TButtonLayout GetLayout() const { return layout_; }
  void SetLayout(TButtonLayout Value);
  int32_t GetMargin() const { return margin_; }
  void SetMargin(int32_t Value);
  int32_t GetSpacing() const { return spacing_; }
  void SetSpacing(int32_t Value);
  // The caption, modal result and roles a kind stands for.
  static const char* KindCaption(TBitBtnKind Kind);
  static TModalResult KindModalResult(TBitBtnKind Kind);

 protected:
  void PaintContent(TCanvas* Canvas, const TRect& Face, bool IsDown) override;

 private:
  void GlyphChanged(TObject*);
  TBitBtnKind kind_ = bkCustom;
  std::unique_ptr<TBitmap> glyph_;
  TNumGlyphs numGlyphs_ = 1;
  TButtonLayout layout_ = blGlyphLeft;
  int32_t margin_ = -1, spacing_ = 4;
  bool settingKind_ = false;
};
