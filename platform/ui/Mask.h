// The masked edit: an edit whose text follows an edit mask (platform/runtime/MaskUtils.h).
// Literals of the mask stand in the text and the caret passes over them; typing overwrites
// the placeholder under the caret when the character fits it, and a blank placeholder shows
// the mask's blank character.  Without a mask it is a plain edit.
//
// Thread contract: UI thread only.
#pragma once

#include "platform/runtime/MaskUtils.h"
#include "platform/ui/StdEdit.h"

// A masked text that misses required characters.
PL_EXCEPTION(EDBEditError, Exception);

inline constexpr const char* SMaskEditErr = "Invalid input value.  Use escape key to abandon changes";

class TCustomMaskEdit : public TCustomEdit {
  PL_CLASS(TCustomMaskEdit)
 public:
  explicit TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
  const AnsiString& GetEditMask() const { return editMask_; }
  // Reformats the text under the new mask.
  void SetEditMask(const AnsiString& Value);
  bool IsMasked() const { return !mask_.Items.empty(); }
  // The text as shown: literals in place, blanks as the mask's blank character.
  AnsiString GetEditText() { return TCustomEdit::GetText(); }
  void SetEditText(const AnsiString& Value);
  // Masked: the placeholders' characters (blanks as spaces), with the literals when the mask
  // saves them.
  AnsiString GetText() override;
  // Masked: Value is formatted by the mask.
  void SetText(const AnsiString& Value) override;
  // Raises EDBEditError and puts the caret on the first required placeholder left blank.
  virtual void ValidateEdit();
  // Back to the text the edit had when it was entered.
  void Reset();
  void Dispatch(TMessage& Message) override;

 protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  // Whether Ch may stand at a position of the mask.
  bool CharFits(int32_t Pos, char Ch) const;
  int32_t NextPlaceholder(int32_t Pos) const;
  int32_t PrevPlaceholder(int32_t Pos) const;

 private:
  void BlankRange(int32_t Start, int32_t End);
  void TypeChar(char Ch);
  AnsiString editMask_;
  TEditMask mask_;
  AnsiString enterText_;
};

class TMaskEdit : public TCustomMaskEdit {
  PL_CLASS(TMaskEdit)
 public:
  explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
};
