// The grid's cell checker base and the grid module's start.
#include "grid/AdvObj.h"

#include "grid/AdvGrid.h"
#include "grid/PictureContainer.h"
#include "platform/runtime/Strings.h"

const TClassInfo& TAdvStringGridCheck::ClassInfo() {
  using C = TAdvStringGridCheck;
  static const TClassInfo info = TClassInfo::Of<C, TComponent>("TAdvStringGridCheck")
                                     .Prop("GotoCell", &C::GotoCell)
                                     .Default(false)
                                     .Prop("AutoCorrect", &C::AutoCorrect)
                                     .Default(false)
                                     .Prop("AutoMarkError", &C::AutoMarkError)
                                     .Default(false)
                                     .Prop("UseCorrect", &C::UseCorrect)
                                     .Default(false)
                                     .Prop("UseMarkError", &C::UseMarkError)
                                     .Default(false);
  return info;
}

// ============================================================================ sort lists ======

const TClassInfo& TIntList::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TIntList, TList>("TIntList");
  return info;
}

void TIntList::SetItem(int32_t Index, int32_t Value) {
  Put(Index, Slot(Value));
  OnChange(this, col_, row_);
}

int32_t TIntList::Add(int32_t Value) {
  const int32_t i = TList::Add(Slot(Value));
  OnChange(this, col_, row_);
  return i;
}

void TIntList::Delete(int32_t Index) {
  TList::Delete(Index);
  OnChange(this, col_, row_);
}

AnsiString TIntList::GetStrValue() const {
  AnsiString s;
  for (int32_t i = 0; i < Count(); ++i) s += (i ? "," : "") + IntToStr(GetItem(i));
  return s;
}

void TIntList::SetStrValue(const AnsiString& Value) {
  Clear();
  size_t start = 0;
  while (start <= Value.size() && !Value.empty()) {
    const size_t comma = Value.find(',', start);
    Add(StrToInt(Trim(Value.substr(start, comma == AnsiString::npos ? AnsiString::npos : comma - start))));
    if (comma == AnsiString::npos) break;
    start = comma + 1;
  }
}

const TClassInfo& TSortIndexList::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TSortIndexList, TIntList>("TSortIndexList");
  return info;
}

void TSortIndexList::AddIndex(int32_t ACol, bool Ascending) {
  Add(Ascending ? ACol : int32_t(uint32_t(ACol) | DescendingBit));
}

int32_t TSortIndexList::FindIndex(int32_t ACol) const {
  for (int32_t i = 0; i < Count(); ++i)
    if (ColumnOf(GetItem(i)) == ACol) return i;
  return -1;
}

void TSortIndexList::ToggleIndex(int32_t ACol) {
  const int32_t i = FindIndex(ACol);
  if (i >= 0) SetItem(i, int32_t(uint32_t(GetItem(i)) ^ DescendingBit));
}

// ============================================================================ file picture ====

const TClassInfo& TFilePicture::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFilePicture, TPersistent>("TFilePicture")
                                     .Prop("Filename", &TFilePicture::GetFilename, &TFilePicture::SetFilename)
                                     .Prop("Width", &TFilePicture::GetWidth)
                                     .Prop("Height", &TFilePicture::GetHeight);
  return info;
}

void TFilePicture::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TFilePicture*>(Source);
  if (!src) return TPersistent::Assign(Source);
  filename_ = src->filename_;
  width_ = src->width_;
  height_ = src->height_;
}

void TFilePicture::SetFilename(const AnsiString& Value) {
  filename_ = Value;
  width_ = height_ = 0;
  TPicture picture;
  try {
    picture.LoadFromFile(Value);
    width_ = picture.GetWidth();
    height_ = picture.GetHeight();
  } catch (const Exception&) {
    // A file that cannot be read has no size; drawing it draws nothing.
  }
}

void TFilePicture::Draw(TCanvas* Canvas, const TRect& Rect) {
  if (filename_.empty()) return;
  TPicture picture;
  try {
    picture.LoadFromFile(filename_);
  } catch (const Exception&) {
    return;
  }
  Canvas->StretchDraw(Rect, picture.GetGraphic());
}

// ============================================================================ popup windows ===

const TClassInfo& TArrowWindow::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TArrowWindow, TPanel>("TArrowWindow");
  return info;
}

TArrowWindow::TArrowWindow(TComponent* AOwner, int32_t Direction)
    : TPanel(AOwner), direction_(Direction & 3) {
  SetVisible(false);
  SetBevelOuter(bvNone);
  SetColor(TColor(RGB(0, 255, 0)));
  SetBounds(0, 0, 11, 11);
}

const std::array<TPoint, 7>& TArrowWindow::Shape(int32_t Direction) {
  static const std::array<std::array<TPoint, 7>, 4> shapes{{
      {{{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}}},
      {{{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}}},
      {{{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}}},
      {{{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}}},
  }};
  return shapes[size_t(Direction & 3)];
}

void TArrowWindow::CreateParams(TCreateParams& Params) {
  TPanel::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WndParent = nullptr;
}

void TArrowWindow::CreateWnd() {
  TPanel::CreateWnd();
  const auto& shape = Shape(direction_);
  POINT pts[7];
  for (size_t i = 0; i < shape.size(); ++i) pts[i] = {shape[i].X, shape[i].Y};
  SetWindowRgn(GetHandle(), CreatePolygonRgn(pts, 7, WINDING), TRUE);
}

void TArrowWindow::Paint() {
  GetCanvas()->GetBrush()->SetColor(GetColor());
  GetCanvas()->FillRect(GetClientRect());
}

const TClassInfo& TPopupButton::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TPopupButton, TCustomControl>("TPopupButton")
                                     .Prop("Flat", &TPopupButton::Flat)
                                     .Default(false);
  return info;
}

TPopupButton::TPopupButton(TComponent* AOwner) : TCustomControl(AOwner) {
  SetVisible(false);
  SetEnabled(false);
  SetColor(clBtnFace);
}

void TPopupButton::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_DISABLED | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WndParent = nullptr;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TPopupButton::CreateWnd() {
  TCustomControl::CreateWnd();
  SetWindowPos(GetHandle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TPopupButton::Paint() {
  TCanvas* c = GetCanvas();
  TRect r = GetClientRect();
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(r);
  if (!Flat) {
    c->GetPen()->SetColor(clWhite);
    c->MoveTo(r.Left, r.Bottom - 1);
    c->LineTo(r.Left, r.Top);
    c->LineTo(r.Right - 1, r.Top);
    c->GetPen()->SetColor(clGray);
    c->LineTo(r.Right - 1, r.Bottom - 1);
    c->LineTo(r.Left, r.Bottom - 1);
  }
  c->SetFont(GetFont());
  c->RequiredState({csHandleValid, csFontValid});
  const AnsiString caption = GetCaption();
  RECT tr = r;
  const int oldMode = SetBkMode(c->GetHandle(), TRANSPARENT);
  DrawTextA(c->GetHandle(), caption.c_str(), int(caption.size()), &tr,
            DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS);
  SetBkMode(c->GetHandle(), oldMode);
}

// ============================================================================ module start ====

void RegisterGridClasses() {
  RegisterClasses(
      {&TAdvStringGrid::ClassInfo(), &TAdvStringGridCheck::ClassInfo(), &TPictureContainer::ClassInfo()});
  // The editor controls, which definitions may also place on their own.
  RegisterClasses({&TAsgSpinEdit::ClassInfo(), &TAsgSpinButton::ClassInfo(), &TAsgEditBtn::ClassInfo(),
                   &TAsgUnitEditBtn::ClassInfo(), &TASGComboBox::ClassInfo(), &TAsgUniEdit::ClassInfo(),
                   &TASGUniComboBox::ClassInfo(), &TAdvRichEdit::ClassInfo()});
  GridClipboardFormat();
}

// Kept in every program by the library's link interface, which names this symbol as undefined:
// definitions name the grid by class name only.
extern "C" {
extern const bool pl_grid_classes_registered;
const bool pl_grid_classes_registered = (RegisterGridClasses(), true);
}
