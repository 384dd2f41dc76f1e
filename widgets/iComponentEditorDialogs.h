// The common dialogs (colour, font, open, save) behind a plain Execute that answers whether the
// user confirmed, for the editors' pickers and the plot's save-as-image step.  Each run builds the
// platform's dialog for the time of the run only; the results are copied back on OK.
#pragma once

#include <memory>

#include "platform/runtime/Lists.h"
#include "platform/ui/Graphics.h"

class TiColorDialog : public TComponent {
  PL_CLASS(TiColorDialog)
 public:
  explicit TiColorDialog(TComponent* AOwner) : TComponent(AOwner) {}
  TColor GetColor() const { return color_; }
  void SetColor(TColor Value) {
    if (Value != color_) color_ = Value;
  }
  // Needs a windowed owner; the 16 custom colours start white.
  bool Execute();

 private:
  TColor color_ = clBlack;
};

class TiFontDialog : public TComponent {
  PL_CLASS(TiFontDialog)
 public:
  explicit TiFontDialog(TComponent* AOwner);
  ~TiFontDialog() override;
  TFont* GetFont() const { return font_.get(); }
  void SetFont(TFont* Value) { font_->Assign(Value); }
  // Needs a windowed owner.  Takes colour, name, height and style from the dialog; the
  // character set only when another face was chosen.
  bool Execute();

 private:
  std::unique_ptr<TFont> font_;
};

// Filter: "description|pattern|description|pattern...".
class TiOpenDialog : public TComponent {
  PL_CLASS(TiOpenDialog)
 public:
  explicit TiOpenDialog(TComponent* AOwner);
  ~TiOpenDialog() override;
  const AnsiString& GetFileName() const { return fileName_; }
  void SetFileName(const AnsiString& Value) { fileName_ = Value; }
  const AnsiString& GetFilter() const { return filter_; }
  void SetFilter(const AnsiString& Value) { filter_ = Value; }
  const AnsiString& GetDefaultExt() const { return defaultExt_; }
  void SetDefaultExt(const AnsiString& Value) { defaultExt_ = Value; }
  bool GetFileMustExist() const { return fileMustExist_; }
  void SetFileMustExist(bool Value) { fileMustExist_ = Value; }
  bool GetMultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool Value) { multiSelect_ = Value; }
  // The files chosen in the last confirmed run (full paths).
  TStrings* GetFiles() const { return files_.get(); }
  // False without showing anything when no form or windowed control owns the dialog.
  bool Execute();

 private:
  AnsiString fileName_, filter_, defaultExt_;
  bool fileMustExist_ = false;
  bool multiSelect_ = false;
  std::unique_ptr<TStringList> files_;
};

class TiSaveDialog : public TComponent {
  PL_CLASS(TiSaveDialog)
 public:
  explicit TiSaveDialog(TComponent* AOwner);
  ~TiSaveDialog() override;
  const AnsiString& GetFileName() const { return fileName_; }
  void SetFileName(const AnsiString& Value) { fileName_ = Value; }
  const AnsiString& GetFilter() const { return filter_; }
  void SetFilter(const AnsiString& Value) { filter_ = Value; }
  const AnsiString& GetDefaultExt() const { return defaultExt_; }
  void SetDefaultExt(const AnsiString& Value) { defaultExt_ = Value; }
  // 1-based.
  int32_t GetFilterIndex() const { return filterIndex_; }
  void SetFilterIndex(int32_t Value) { filterIndex_ = Value; }
  // The extension of the chosen filter's pattern (".bmp" for "*.bmp"), empty without one.
  const AnsiString& GetReturnExt() const { return returnExt_; }
  // The filter's patterns (the entries that start with "*") of the last confirmed run.
  TStrings* GetPatterns() const { return patterns_.get(); }
  // False without showing anything when no form or windowed control owns the dialog.  On OK a
  // file name whose extension does not match the chosen pattern gets the pattern's extension.
  bool Execute();

 private:
  AnsiString fileName_, filter_, defaultExt_, returnExt_;
  int32_t filterIndex_ = 1;
  std::unique_ptr<TStringList> patterns_;
};

// A name from a multiple choice made absolute: a name not starting with "/" gets Folder (and a
// "/" when Folder lacks one) in front.
AnsiString iDialogJoinChoice(const AnsiString& Folder, const AnsiString& Name);
// The save dialog's naming rule: FileName with the extension of Patterns[FilterIndex - 1]
// appended unless it already ends in it (case ignored); "*.*" and missing patterns leave it.
AnsiString iSaveDialogFileName(const AnsiString& FileName, TStrings* Patterns, int32_t FilterIndex,
                               AnsiString& ReturnExt);
