#include "widgets/iComponentEditorDialogs.h"

#include "platform/runtime/Files.h"
#include "platform/runtime/Strings.h"
#include "platform/ui/Dialogs.h"
#include "widgets/iGPFunctions.h"

const TClassInfo& TiColorDialog::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiColorDialog, TComponent>("TiColorDialog")
                                     .Prop("Color", &TiColorDialog::GetColor, &TiColorDialog::SetColor)
                                     .Type(ColorTypeInfo());
  return info;
}

const TClassInfo& TiFontDialog::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiFontDialog, TComponent>("TiFontDialog")
                                     .Object("Font", &TiFontDialog::GetFont, &TiFontDialog::SetFont);
  return info;
}

const TClassInfo& TiOpenDialog::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiOpenDialog, TComponent>("TiOpenDialog")
          .Prop("FileName", &TiOpenDialog::GetFileName, &TiOpenDialog::SetFileName)
          .Prop("Filter", &TiOpenDialog::GetFilter, &TiOpenDialog::SetFilter)
          .Prop("DefaultExt", &TiOpenDialog::GetDefaultExt, &TiOpenDialog::SetDefaultExt)
          .Prop("FileMustExist", &TiOpenDialog::GetFileMustExist, &TiOpenDialog::SetFileMustExist);
  return info;
}

const TClassInfo& TiSaveDialog::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiSaveDialog, TComponent>("TiSaveDialog")
          .Prop("FileName", &TiSaveDialog::GetFileName, &TiSaveDialog::SetFileName)
          .Prop("Filter", &TiSaveDialog::GetFilter, &TiSaveDialog::SetFilter)
          .Prop("DefaultExt", &TiSaveDialog::GetDefaultExt, &TiSaveDialog::SetDefaultExt)
          .Prop("FilterIndex", &TiSaveDialog::GetFilterIndex, &TiSaveDialog::SetFilterIndex)
          .Prop("ReturnExt", &TiSaveDialog::GetReturnExt);
  return info;
}

namespace {

// The colour and font dialogs need a windowed owner.
bool iDlgHasWindowedOwner(TComponent* C) { return dynamic_cast<TWinControl*>(C->GetOwner()) != nullptr; }

}  // namespace

// ============================================================================ colour ==========

bool TiColorDialog::Execute() {
  if (!iDlgHasWindowedOwner(this)) return false;
  auto dialog = std::make_unique<TColorDialog>(nullptr);
  dialog->SetColor(TColor(ColorToRGB(color_)));
  std::array<COLORREF, 16> custom;
  custom.fill(0xFFFFFF);
  dialog->SetCustomColorValues(custom);
  dialog->Options.Include(cdFullOpen);
  if (!dialog->Execute()) return false;
  SetColor(dialog->GetColor());
  return true;
}

// ============================================================================ font ============

TiFontDialog::TiFontDialog(TComponent* AOwner) : TComponent(AOwner), font_(std::make_unique<TFont>()) {}

TiFontDialog::~TiFontDialog() = default;

bool TiFontDialog::Execute() {
  if (!iDlgHasWindowedOwner(this)) return false;
  auto dialog = std::make_unique<TFontDialog>(nullptr);
  dialog->SetFont(font_.get());
  dialog->Options = TFontDialogOptions{fdEffects};
  if (!dialog->Execute()) return false;
  TFont* chosen = dialog->GetFont();
  const AnsiString oldName = font_->GetName();
  font_->SetColor(chosen->GetColor());
  font_->SetName(chosen->GetName());
  font_->SetHeight(chosen->GetHeight());
  if (!SameText(oldName, chosen->GetName())) font_->SetCharset(chosen->GetCharset());
  TFontStyles style;
  const TFontStyles c = chosen->GetStyle();
  if (c.Contains(fsBold)) style.Include(fsBold);
  for (TFontStyle s : {fsItalic, fsUnderline, fsStrikeOut})
    if (c.Contains(s)) style.Include(s);
  font_->SetStyle(style);
  return true;
}

// ============================================================================ file names ======

AnsiString iDialogJoinChoice(const AnsiString& Folder, const AnsiString& Name) {
  if (!Name.empty() && Name[0] == '/') return Name;
  AnsiString dir = Folder;
  if (dir.empty() || dir.back() != '/') dir += "/";
  return dir + Name;
}

AnsiString iSaveDialogFileName(const AnsiString& FileName, TStrings* Patterns, int32_t FilterIndex,
                               AnsiString& ReturnExt) {
  ReturnExt.clear();
  if (FilterIndex >= 1 && FilterIndex <= Patterns->Count())
    ReturnExt = Patterns->Strings(FilterIndex - 1).substr(1);
  if (ReturnExt.empty() || ReturnExt == ".*") return FileName;
  const AnsiString ext = ExtractFileExt(FileName);
  if (!ext.empty()) {
    for (int32_t i = 0; i < Patterns->Count(); ++i)
      if (SameText(Patterns->Strings(i), "*" + ext)) {
        if (i == FilterIndex - 1) return FileName;
        break;
      }
  }
  return FileName + ReturnExt;
}

// ============================================================================ open ============

TiOpenDialog::TiOpenDialog(TComponent* AOwner)
    : TComponent(AOwner), files_(std::make_unique<TStringList>()) {}

TiOpenDialog::~TiOpenDialog() = default;

bool TiOpenDialog::Execute() {
  files_->Clear();
  if (!OwnerForm(this)) return false;
  auto dialog = std::make_unique<TOpenDialog>(nullptr);
  dialog->SetFilter(filter_);
  dialog->SetFilterIndex(1);
  dialog->SetFileName(fileName_.substr(0, 260));
  dialog->SetInitialDir(".");
  dialog->SetDefaultExt(defaultExt_);
  TOpenOptions options{ofHideReadOnly, ofPathMustExist};
  if (fileMustExist_) options.Include(ofFileMustExist);
  if (multiSelect_) options = options + TOpenOptions{ofExplorer, ofAllowMultiSelect};
  dialog->SetOptions(options);
  if (!dialog->Execute()) return false;
  if (!multiSelect_) {
    fileName_ = dialog->GetFileName();
    files_->Add(fileName_);
    return true;
  }
  const AnsiString folder = ExtractFileDir(ExpandFileName(dialog->GetFileName()));
  TStrings* chosen = dialog->GetFiles();
  for (int32_t i = 0; i < chosen->Count(); ++i) files_->Add(iDialogJoinChoice(folder, chosen->Strings(i)));
  if (files_->Count() == 0) files_->Add(iDialogJoinChoice(folder, dialog->GetFileName()));
  fileName_ = files_->Strings(0);
  return true;
}

// ============================================================================ save ============

TiSaveDialog::TiSaveDialog(TComponent* AOwner)
    : TComponent(AOwner), patterns_(std::make_unique<TStringList>()) {}

TiSaveDialog::~TiSaveDialog() = default;

bool TiSaveDialog::Execute() {
  if (!OwnerForm(this)) return false;
  auto dialog = std::make_unique<TSaveDialog>(nullptr);
  dialog->SetFilter(filter_);
  dialog->SetFilterIndex(filterIndex_);
  dialog->SetFileName(fileName_.substr(0, 260));
  dialog->SetInitialDir(".");
  dialog->SetDefaultExt(defaultExt_);
  dialog->SetOptions(TOpenOptions{ofOverwritePrompt, ofHideReadOnly, ofPathMustExist});
  if (!dialog->Execute()) return false;
  filterIndex_ = dialog->GetFilterIndex();
  patterns_->Clear();
  size_t start = 0;
  while (start <= filter_.size()) {
    size_t bar = filter_.find('|', start);
    if (bar == AnsiString::npos) bar = filter_.size();
    const AnsiString entry = filter_.substr(start, bar - start);
    if (!entry.empty() && entry[0] == '*') patterns_->Add(entry);
    start = bar + 1;
  }
  fileName_ = iSaveDialogFileName(dialog->GetFileName(), patterns_.get(), filterIndex_, returnExt_);
  return true;
}
