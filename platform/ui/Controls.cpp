// The framework's control classes.
//
// Sections: registry and published types / size constraints / control canvas / TControl: life,
// bounds, state / TControl: messages and mouse / TControl: dragging / TWinControl: life and
// children / TWinControl: window / TWinControl: alignment / TWinControl: focus and keys /
// TWinControl: messages and painting / painted controls / hint window / free functions.
#include "platform/ui/Controls.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Strings.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/Forms.h"

// ============================================================================ registry and published types

namespace {

std::unordered_map<HWND, TWinControl*>& WindowControls() {
  static std::unordered_map<HWND, TWinControl*> map;
  return map;
}

// The control whose window is being made: the window class's first procedure binds to it.
TWinControl* g_creating = nullptr;
// A windowless control holding the capture (its parent's window has the system's capture).
TControl* g_captureControl = nullptr;

std::vector<TControlCanvas*>& CanvasesWithDC() {
  static std::vector<TControlCanvas*> list;
  return list;
}

TPopupMenuHandler& PopupMenuHandlerSlot() {
  static TPopupMenuHandler handler;
  return handler;
}

// One drag at a time: the source, whether it started, where the mouse went down, the threshold
// and the control last dragged over.
struct TDragRecord {
  TControl* Source = nullptr;
  bool Started = false;
  TPoint Start;
  int32_t Threshold = 5;
  TControl* Target = nullptr;
  bool Accepted = false;
};
TDragRecord g_drag;

AnsiString NoParentMessage(const TComponent* c) {
  return "Control '" + c->GetName() + "' has no parent window";
}

template <class T>
void EraseFromList(std::vector<T*>& v, T* x) {
  v.erase(std::remove(v.begin(), v.end(), x), v.end());
}

bool IsAnchoredSpecially(TAnchors a) { return a != TAnchors{akLeft, akTop}; }

}  // namespace

PL_ENUM_NAMES(TMouseButton, "mbLeft", "mbRight", "mbMiddle")
PL_ENUM_NAMES(TAlign, "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom")
PL_ENUM_NAMES(TAnchorKind, "akLeft", "akTop", "akRight", "akBottom")
PL_ENUM_NAMES(TAlignment, "taLeftJustify", "taRightJustify", "taCenter")
PL_ENUM_NAMES(TBiDiMode, "bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly")
PL_ENUM_NAMES(TDragMode, "dmManual", "dmAutomatic")
PL_ENUM_NAMES(TDragKind, "dkDrag", "dkDock")
PL_ENUM_NAMES(TBorderStyle, "bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin")

const TTypeInfo& CursorTypeInfo() {
  static const TTypeInfo info = IntegerTypeWithIdents(
      "TCursor", {{"crDefault", crDefault},     {"crNone", crNone},           {"crArrow", crArrow},
                  {"crCross", crCross},         {"crIBeam", crIBeam},         {"crSizeNESW", crSizeNESW},
                  {"crSizeNS", crSizeNS},       {"crSizeNWSE", crSizeNWSE},   {"crSizeWE", crSizeWE},
                  {"crUpArrow", crUpArrow},     {"crHourGlass", crHourGlass}, {"crDrag", crDrag},
                  {"crNoDrop", crNoDrop},       {"crHSplit", crHSplit},       {"crVSplit", crVSplit},
                  {"crMultiDrag", crMultiDrag}, {"crSQLWait", crSQLWait},     {"crNo", crNo},
                  {"crAppStart", crAppStart},   {"crHelp", crHelp},           {"crHandPoint", crHandPoint},
                  {"crSizeAll", crSizeAll}},
      TypeInfoOf<TCursor>());
  return info;
}

const TTypeInfo& ControlCoordTypeInfo() {
  static const TTypeInfo info = IntegerSubrange("TControlCoord", -MaxControlCoord, MaxControlCoord);
  return info;
}

int32_t ClampControlCoord(int64_t Value) {
  return int32_t(std::clamp<int64_t>(Value, -MaxControlCoord, MaxControlCoord));
}

const TClassInfo& TSizeConstraints::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TSizeConstraints, TPersistent>("TSizeConstraints")
          .Prop("MaxHeight", &TSizeConstraints::GetMaxHeight, &TSizeConstraints::SetMaxHeight)
          .Default(0)
          .Prop("MaxWidth", &TSizeConstraints::GetMaxWidth, &TSizeConstraints::SetMaxWidth)
          .Default(0)
          .Prop("MinHeight", &TSizeConstraints::GetMinHeight, &TSizeConstraints::SetMinHeight)
          .Default(0)
          .Prop("MinWidth", &TSizeConstraints::GetMinWidth, &TSizeConstraints::SetMinWidth)
          .Default(0);
  return info;
}

const TClassInfo& TControlCanvas::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TControlCanvas, TCanvas>("TControlCanvas");
  return info;
}

namespace {
bool ColorStored(TControl* c) { return !c->GetParentColor(); }
bool FontStored(TControl* c) { return !c->GetParentFont(); }
bool ShowHintStored(TControl* c) { return !c->GetParentShowHint(); }
bool BiDiModeStored(TControl* c) { return !c->GetParentBiDiMode(); }
bool Ctl3DStored(TWinControl* c) { return !c->GetParentCtl3D(); }
}  // namespace

const TClassInfo& TControl::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TControl, TComponent>("TControl")
          .Prop("Left", &TControl::GetLeft, &TControl::SetLeft)
          .Type(ControlCoordTypeInfo())
          .Prop("Top", &TControl::GetTop, &TControl::SetTop)
          .Type(ControlCoordTypeInfo())
          .Prop("Width", &TControl::GetWidth, &TControl::SetWidth)
          .Type(ControlCoordTypeInfo())
          .Prop("Height", &TControl::GetHeight, &TControl::SetHeight)
          .Type(ControlCoordTypeInfo())
          .Prop("Cursor", &TControl::GetCursor, &TControl::SetCursor)
          .Default(crDefault)
          .Type(CursorTypeInfo())
          .Prop("Hint", &TControl::GetHint, &TControl::SetHint)
          .Prop("HelpContext", &TControl::GetHelpContext, &TControl::SetHelpContext)
          .Default(0)
          .Prop("Align", &TControl::GetAlign, &TControl::SetAlign)
          .Default(alNone)
          .Prop("Anchors", &TControl::GetAnchors, &TControl::SetAnchors)
          .Default(TAnchors{akLeft, akTop})
          .Prop("AutoSize", &TControl::GetAutoSize, &TControl::SetAutoSize)
          .Default(false)
          .Prop("BiDiMode", &TControl::GetBiDiMode, &TControl::SetBiDiMode)
          .Stored(&BiDiModeStored)
          .Prop("Caption", &TControl::GetCaption, &TControl::SetCaption)
          .Prop("Color", &TControl::GetColor, &TControl::SetColor)
          .Stored(&ColorStored)
          .Type(ColorTypeInfo())
          .Object("Constraints", &TControl::GetConstraints, &TControl::SetConstraints)
          .Prop("DragCursor", &TControl::GetDragCursor, &TControl::SetDragCursor)
          .Default(crDrag)
          .Type(CursorTypeInfo())
          .Prop("DragKind", &TControl::GetDragKind, &TControl::SetDragKind)
          .Default(dkDrag)
          .Prop("DragMode", &TControl::GetDragMode, &TControl::SetDragMode)
          .Default(dmManual)
          .Prop("Enabled", &TControl::GetEnabled, &TControl::SetEnabled)
          .Default(true)
          .Object("Font", &TControl::GetFont, &TControl::SetFont)
          .Stored(&FontStored)
          .Prop("ParentBiDiMode", &TControl::GetParentBiDiMode, &TControl::SetParentBiDiMode)
          .Default(true)
          .Prop("ParentColor", &TControl::GetParentColor, &TControl::SetParentColor)
          .Default(true)
          .Prop("ParentFont", &TControl::GetParentFont, &TControl::SetParentFont)
          .Default(true)
          .Prop("ParentShowHint", &TControl::GetParentShowHint, &TControl::SetParentShowHint)
          .Default(true)
          .Object("PopupMenu", &TControl::GetPopupMenu, &TControl::SetPopupMenu)
          .Prop("ShowHint", &TControl::GetShowHint, &TControl::SetShowHint)
          .Stored(&ShowHintStored)
          .Prop("Visible", &TControl::GetVisible, &TControl::SetVisible)
          .Default(true)
          .Event("OnClick", &TControl::OnClick)
          .Event("OnContextPopup", &TControl::OnContextPopup)
          .Event("OnDblClick", &TControl::OnDblClick)
          .Event("OnDragDrop", &TControl::OnDragDrop)
          .Event("OnDragOver", &TControl::OnDragOver)
          .Event("OnEndDrag", &TControl::OnEndDrag)
          .Event("OnMouseDown", &TControl::OnMouseDown)
          .Event("OnMouseMove", &TControl::OnMouseMove)
          .Event("OnMouseUp", &TControl::OnMouseUp)
          .Event("OnMouseWheel", &TControl::OnMouseWheel)
          .Event("OnMouseWheelDown", &TControl::OnMouseWheelDown)
          .Event("OnMouseWheelUp", &TControl::OnMouseWheelUp)
          .Event("OnResize", &TControl::OnResize)
          .Event("OnStartDrag", &TControl::OnStartDrag)
          .Event("OnCanResize", &TControl::OnCanResize);
  return info;
}

const TClassInfo& TWinControl::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TWinControl, TControl>("TWinControl")
          .Prop("Ctl3D", &TWinControl::GetCtl3D, &TWinControl::SetCtl3D)
          .Stored(&Ctl3DStored)
          .Prop("ParentCtl3D", &TWinControl::GetParentCtl3D, &TWinControl::SetParentCtl3D)
          .Default(true)
          .Prop("TabOrder", &TWinControl::GetTabOrder, &TWinControl::SetTabOrder)
          .Default(-1)
          .Prop("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop)
          .Default(false)
          .Event("OnEnter", &TWinControl::OnEnter)
          .Event("OnExit", &TWinControl::OnExit)
          .Event("OnKeyDown", &TWinControl::OnKeyDown)
          .Event("OnKeyPress", &TWinControl::OnKeyPress)
          .Event("OnKeyUp", &TWinControl::OnKeyUp);
  return info;
}

const TClassInfo& TGraphicControl::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TGraphicControl, TControl>("TGraphicControl");
  return info;
}

const TClassInfo& TCustomControl::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCustomControl, TWinControl>("TCustomControl");
  return info;
}

const TClassInfo& THintWindow::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<THintWindow, TCustomControl>("THintWindow");
  return info;
}

// ============================================================================ size constraints =

void TSizeConstraints::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TSizeConstraints*>(Source)) {
    minHeight_ = s->minHeight_;
    maxHeight_ = s->maxHeight_;
    minWidth_ = s->minWidth_;
    maxWidth_ = s->maxWidth_;
    Change();
    return;
  }
  TPersistent::Assign(Source);
}

void TSizeConstraints::Set(int32_t& field, int32_t value) {
  value = std::max(value, 0);
  if (field == value) return;
  field = value;
  // A maximum below the minimum drags the minimum along, and the other way round.
  if (&field == &maxHeight_ && maxHeight_ > 0 && maxHeight_ < minHeight_) minHeight_ = maxHeight_;
  if (&field == &maxWidth_ && maxWidth_ > 0 && maxWidth_ < minWidth_) minWidth_ = maxWidth_;
  if (&field == &minHeight_ && maxHeight_ > 0 && minHeight_ > maxHeight_) maxHeight_ = minHeight_;
  if (&field == &minWidth_ && maxWidth_ > 0 && minWidth_ > maxWidth_) maxWidth_ = minWidth_;
  Change();
}

void TSizeConstraints::SetMaxHeight(int32_t Value) { Set(maxHeight_, Value); }
void TSizeConstraints::SetMaxWidth(int32_t Value) { Set(maxWidth_, Value); }
void TSizeConstraints::SetMinHeight(int32_t Value) { Set(minHeight_, Value); }
void TSizeConstraints::SetMinWidth(int32_t Value) { Set(minWidth_, Value); }

void TSizeConstraints::Change() { OnChange(this); }

// ============================================================================ control canvas ===

TControlCanvas::TControlCanvas() = default;

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* Value) {
  if (control_ == Value) return;
  FreeHandle();
  control_ = Value;
}

void TControlCanvas::CreateHandle() {
  if (!control_) return;
  HWND window = nullptr;
  HDC dc = control_->GetDeviceContext(window);
  if (!dc) return;
  dc_ = dc;
  window_ = window;
  CanvasesWithDC().push_back(this);
  SetHandle(dc);
}

void TControlCanvas::FreeHandle() {
  if (!dc_) return;
  HDC dc = dc_;
  dc_ = nullptr;
  SetHandle(nullptr);
  ReleaseDC(window_, dc);
  window_ = nullptr;
  EraseFromList(CanvasesWithDC(), this);
}

void TControlCanvas::BindPaintDC(HDC DC) {
  FreeHandle();
  SetHandle(DC);
}

void FreeDeviceContexts() {
  auto list = CanvasesWithDC();
  for (TControlCanvas* c : list) c->FreeHandle();
}

// Binds a canvas to a paint DC for the length of a scope, locked.
struct TCanvasPaintScope {
  TControlCanvas* Canvas;
  TCanvasPaintScope(TControlCanvas* canvas, HDC dc) : Canvas(canvas) {
    Canvas->Lock();
    Canvas->BindPaintDC(dc);
  }
  ~TCanvasPaintScope() {
    Canvas->SetHandle(nullptr);
    Canvas->Unlock();
  }
};

// ============================================================================ TControl: life, bounds, state

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  WindowProc = TWndMethod(this, &TControl::WndProc);
  ControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  constraints_ = std::make_unique<TSizeConstraints>(this);
  constraints_->OnChange = TNotifyEvent(this, &TControl::ConstraintsChanged);
  font_ = std::make_unique<TFont>();
  font_->OnChange = TNotifyEvent(this, &TControl::FontChanged);
}

TControl::~TControl() {
  if (Application) Application->ControlDestroyed(this);
  if (g_captureControl == this) SetCaptureControl(nullptr);
  if (g_drag.Source == this || g_drag.Target == this) g_drag = TDragRecord();
  SetParent(nullptr);
}

void TControl::SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
  ALeft = ClampControlCoord(ALeft);
  ATop = ClampControlCoord(ATop);
  if (!CheckNewSize(AWidth, AHeight)) return;
  if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
  bool sized = AWidth != width_ || AHeight != height_;
  InvalidateControl(visible_, false);
  left_ = ALeft;
  top_ = ATop;
  width_ = AWidth;
  height_ = AHeight;
  if (!inAnchorMove_) UpdateAnchorRules();
  Invalidate();
  RequestAlign();
  if (sized && !ComponentState().Contains(csLoading)) Resize();
}

bool TControl::CheckNewSize(int32_t& NewWidth, int32_t& NewHeight) {
  NewWidth = std::clamp(NewWidth, 0, MaxControlCoord);
  NewHeight = std::clamp(NewHeight, 0, MaxControlCoord);
  int32_t w = NewWidth, h = NewHeight;
  if (autoSize_ && !ComponentState().Contains(csLoading) && !CanAutoSize(w, h)) {
    w = NewWidth;
    h = NewHeight;
  }
  if ((w != width_ || h != height_) && !CanResize(w, h)) return false;
  ConstrainedResize(w, h);
  // Handlers and constraints may ask for anything.
  NewWidth = std::clamp(w, 0, MaxControlCoord);
  NewHeight = std::clamp(h, 0, MaxControlCoord);
  return true;
}

void TControl::ConstrainedResize(int32_t& Width, int32_t& Height) {
  const TSizeConstraints& c = *constraints_;
  if (c.GetMaxWidth() > 0) Width = std::min(Width, c.GetMaxWidth());
  if (c.GetMinWidth() > 0) Width = std::max(Width, c.GetMinWidth());
  if (c.GetMaxHeight() > 0) Height = std::min(Height, c.GetMaxHeight());
  if (c.GetMinHeight() > 0) Height = std::max(Height, c.GetMinHeight());
}

bool TControl::CanResize(int32_t& NewWidth, int32_t& NewHeight) {
  bool resize = true;
  OnCanResize(this, NewWidth, NewHeight, resize);
  return resize;
}

bool TControl::CanAutoSize(int32_t&, int32_t&) { return true; }

void TControl::AdjustSize() {
  if (!ComponentState().Contains(csLoading)) SetBounds(left_, top_, width_, height_);
}

void TControl::SetAutoSize(bool Value) {
  if (autoSize_ == Value) return;
  autoSize_ = Value;
  if (Value) AdjustSize();
}

void TControl::ConstraintsChanged(TObject*) { AdjustSize(); }

void TControl::SetClientWidth(int32_t Value) {
  SetBounds(left_, top_, ClampControlCoord(int64_t(width_) - GetClientWidth() + Value), height_);
}

void TControl::SetClientHeight(int32_t Value) {
  SetBounds(left_, top_, width_, ClampControlCoord(int64_t(height_) - GetClientHeight() + Value));
}

TRect TControl::GetClientRect() { return Rect(0, 0, width_, height_); }

TPoint TControl::GetClientOrigin() {
  if (!parent_) return {left_, top_};
  TPoint p = parent_->GetClientOrigin();
  return {p.X + left_, p.Y + top_};
}

TPoint TControl::ClientToScreen(TPoint Point) {
  TPoint o = GetClientOrigin();
  return {Point.X + o.X, Point.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint Point) {
  TPoint o = GetClientOrigin();
  return {Point.X - o.X, Point.Y - o.Y};
}

void TControl::SetAlign(TAlign Value) {
  if (align_ == Value) return;
  TAlign old = align_;
  align_ = Value;
  anchors_ = (Value == alNone || Value == alCustom) ? anchors_
             : Value == alTop                       ? TAnchors{akLeft, akTop, akRight}
             : Value == alBottom                    ? TAnchors{akLeft, akRight, akBottom}
             : Value == alLeft                      ? TAnchors{akLeft, akTop, akBottom}
             : Value == alRight                     ? TAnchors{akRight, akTop, akBottom}
                                                    : TAnchors{akLeft, akTop, akRight, akBottom};
  // Leaving a fill keeps the size it had.
  if (Value == alNone && old != alNone && !ComponentState().Contains(csLoading)) anchors_ = {akLeft, akTop};
  RequestAlign();
}

void TControl::SetAnchors(TAnchors Value) {
  if (anchors_ == Value) return;
  anchors_ = Value;
  if (!ComponentState().Contains(csLoading)) UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
  if (!parent_ || ComponentState().Contains(csLoading)) return;
  TRect pc = parent_->GetClientRect();
  anchorParentSize_ = {pc.Width(), pc.Height()};
  anchorRules_ = Rect(left_, top_, pc.Width() - (left_ + width_), pc.Height() - (top_ + height_));
  anchorsValid_ = pc.Width() > 0 || pc.Height() > 0;
}

void TControl::RequestAlign() {
  if (parent_) parent_->AlignControl(this);
}

void TControl::SetParent(TWinControl* AParent) {
  if (parent_ == AParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (parent_) parent_->RemoveControl(this);
  if (AParent) {
    AParent->InsertControl(this);
    UpdateAnchorRules();
  }
}

void TControl::SetVisible(bool Value) {
  if (visible_ == Value) return;
  VisibleChanging();
  visible_ = Value;
  Perform(CM_VISIBLECHANGED, Value ? 1 : 0, 0);
  RequestAlign();
}

void TControl::Show() { SetVisible(true); }

void TControl::Hide() { SetVisible(false); }

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void TControl::SetEnabled(bool Value) {
  if (enabled_ == Value) return;
  enabled_ = Value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

AnsiString TControl::GetText() {
  LRESULT len = Perform(WM_GETTEXTLENGTH, 0, 0);
  if (len <= 0) return {};
  std::string buf(size_t(len) + 1, '\0');
  LRESULT got = Perform(WM_GETTEXT, WPARAM(buf.size()), reinterpret_cast<LPARAM>(buf.data()));
  buf.resize(size_t(std::clamp<LRESULT>(got, 0, len)));
  return buf;
}

void TControl::SetText(const AnsiString& Value) {
  if (GetText() == Value) return;
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetColor(TColor Value) {
  if (color_ == Value) return;
  color_ = Value;
  parentColor_ = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool Value) {
  if (parentColor_ == Value) return;
  parentColor_ = Value;
  if (parent_ && Value && !ComponentState().Contains(csReading)) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::FontChanged(TObject*) {
  parentFont_ = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool Value) {
  if (parentFont_ == Value) return;
  parentFont_ = Value;
  if (parent_ && Value && !ComponentState().Contains(csReading)) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetShowHint(bool Value) {
  if (showHint_ != Value) {
    showHint_ = Value;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
  }
  parentShowHint_ = false;
}

void TControl::SetParentShowHint(bool Value) {
  if (parentShowHint_ == Value) return;
  parentShowHint_ = Value;
  if (parent_ && Value && !ComponentState().Contains(csReading)) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetBiDiMode(TBiDiMode Value) {
  parentBiDiMode_ = false;
  if (biDiMode_ == Value) return;
  biDiMode_ = Value;
  Perform(CM_BIDIMODECHANGED, 0, 0);
}

void TControl::SetParentBiDiMode(bool Value) {
  if (parentBiDiMode_ == Value) return;
  parentBiDiMode_ = Value;
  if (parent_ && Value && !ComponentState().Contains(csReading)) Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
}

int32_t TControl::DrawTextBiDiModeFlags(int32_t Flags) const {
  if (UseRightToLeftAlignment()) {
    if ((Flags & DT_RIGHT) == DT_RIGHT)
      Flags &= ~DT_RIGHT;
    else if ((Flags & DT_CENTER) == 0)
      Flags |= DT_RIGHT;
  }
  if (UseRightToLeftReading()) Flags |= DT_RTLREADING;
  return Flags;
}

void TControl::SetCursor(TCursor Value) {
  if (cursor_ == Value) return;
  cursor_ = Value;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TComponent* Value) {
  if (popupMenu_ == Value) return;
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = Value;
  if (Value) Value->FreeNotification(this);
}

void TControl::SetAction(TComponent* Value) {
  if (action_ == Value) return;
  if (action_) action_->RemoveFreeNotification(this);
  action_ = Value;
  LinkControlAction(this, Value);
  if (Value) {
    Value->FreeNotification(this);
    if (!ComponentState().Contains(csLoading)) ActionChange(Value, true);
  }
}

void TControl::ActionChange(TObject* Sender, bool CheckDefaults) {
  ApplyActionToControl(this, Sender, CheckDefaults);
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (action_) ActionChange(action_, true);
  UpdateAnchorRules();
  RequestAlign();
}

void TControl::ReadState(TReader* Reader) {
  ControlState.Include(csReadingState);
  try {
    TComponent::ReadState(Reader);
  } catch (...) {
    ControlState.Exclude(csReadingState);
    throw;
  }
  ControlState.Exclude(csReadingState);
  if (parent_) {
    Perform(CM_PARENTCOLORCHANGED, 0, 0);
    Perform(CM_PARENTFONTCHANGED, 0, 0);
    Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
  }
}

void TControl::SetName(const AnsiString& NewName) {
  bool follow = ControlStyle.Contains(csSetCaption) && !ComponentState().Contains(csLoading) &&
                GetName() == GetText() &&
                (!Owner() || !Is<TControl>(Owner()) || !Owner()->ComponentState().Contains(csLoading));
  TComponent::SetName(NewName);
  if (follow) SetText(NewName);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == popupMenu_) popupMenu_ = nullptr;
  if (AComponent == action_) {
    action_ = nullptr;
    LinkControlAction(this, nullptr);
  }
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetParentComponent(TComponent* Value) {
  if (auto* w = dynamic_cast<TWinControl*>(Value)) SetParent(w);
}

void TControl::Resize() { OnResize(this); }

void TControl::Changed() { Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this)); }

void TControl::InvalidateControl(bool IsVisible, bool IsOpaque) {
  if (!IsVisible || !parent_ || !parent_->HandleAllocated()) return;
  RECT r = GetBoundsRect();
  InvalidateRect(parent_->handle_, &r,
                 !(IsOpaque || parent_->ControlStyle.Contains(csOpaque)) ? TRUE : FALSE);
}

void TControl::Invalidate() { InvalidateControl(visible_, ControlStyle.Contains(csOpaque)); }

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::Repaint() {
  if (!visible_ || !parent_ || !parent_->HandleAllocated()) return;
  if (ControlStyle.Contains(csOpaque)) {
    HDC dc = GetDC(parent_->handle_);
    IntersectClipRect(dc, left_, top_, left_ + width_, top_ + height_);
    parent_->PaintControls(dc, this);
    ReleaseDC(parent_->handle_, dc);
  } else {
    Invalidate();
    Update();
  }
}

void TControl::BringToFront() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  if (std::find(list.begin(), list.end(), this) == list.end()) return;
  EraseFromList(list, this);
  list.push_back(this);
  Invalidate();
}

void TControl::SendToBack() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  if (std::find(list.begin(), list.end(), this) == list.end()) return;
  EraseFromList(list, this);
  list.insert(list.begin(), this);
  Invalidate();
}

HDC TControl::GetDeviceContext(HWND& WindowHandle) {
  if (!parent_) throw EInvalidOperation(NoParentMessage(this));
  HDC dc = parent_->GetDeviceContext(WindowHandle);
  MoveWindowOrg(dc, left_, top_);
  IntersectClipRect(dc, 0, 0, width_, height_);
  return dc;
}

void TControl::SendCancelMode() {
  if (TCustomForm* form = GetParentForm(this)) form->SendCancelMode(this);
}

// ============================================================================ TControl: messages and mouse

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& Message) {
  UINT msg = Message.Msg;
  if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL) {
    bool dbl = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
    // Without double clicks the second press is an ordinary press.
    if (dbl && !ControlStyle.Contains(csDoubleClicks))
      Message.Msg = msg = msg - (WM_LBUTTONDBLCLK - WM_LBUTTONDOWN);
    if (g_drag.Source == this && (msg == WM_MOUSEMOVE || msg == WM_LBUTTONUP)) {
      TPoint screen = ClientToScreen(LParamToPoint(Message.LParam));
      if (!g_drag.Started && msg == WM_MOUSEMOVE &&
          std::max(std::abs(screen.X - g_drag.Start.X), std::abs(screen.Y - g_drag.Start.Y)) >=
              g_drag.Threshold) {
        g_drag.Started = true;
        TObject* dragObject = nullptr;
        DoStartDrag(dragObject);
      }
      if (g_drag.Started) {
        DragStep(screen, msg == WM_LBUTTONUP);
        return;
      }
      if (msg == WM_LBUTTONUP) EndDrag(false);
    }
    switch (msg) {
      case WM_MOUSEMOVE:
        if (Application) Application->HintMouseMessage(this, Message);
        break;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        if (dragMode_ == dmAutomatic && !ComponentState().Contains(csDesigning)) {
          BeginDrag(false);
          return;
        }
        ControlState.Include(csLButtonDown);
        break;
      case WM_LBUTTONUP:
        ControlState.Exclude(csLButtonDown);
        break;
      default:
        break;
    }
  }
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
      return ButtonDown(Message, mbLeft, false);
    case WM_LBUTTONDBLCLK:
      return ButtonDown(Message, mbLeft, true);
    case WM_RBUTTONDOWN:
      return ButtonDown(Message, mbRight, false);
    case WM_RBUTTONDBLCLK:
      return ButtonDown(Message, mbRight, true);
    case WM_MBUTTONDOWN:
      return ButtonDown(Message, mbMiddle, false);
    case WM_MBUTTONDBLCLK:
      return ButtonDown(Message, mbMiddle, true);
    case WM_LBUTTONUP:
      return ButtonUp(Message, mbLeft);
    case WM_RBUTTONUP:
      return ButtonUp(Message, mbRight);
    case WM_MBUTTONUP:
      return ButtonUp(Message, mbMiddle);
    case WM_MOUSEMOVE:
      DefaultHandler(Message);
      if (!ControlStyle.Contains(csNoStdEvents)) {
        TPoint p = LParamToPoint(Message.LParam);
        MouseMove(KeysToShiftState(WORD(Message.WParam)), p.X, p.Y);
      }
      return;
    case WM_MOUSEWHEEL:
      return MouseWheelHandler(Message);
    case CM_MOUSEWHEEL:
      return MouseWheelMessage(Message);
    case WM_CONTEXTMENU:
      return WMContextMenu(Message);
    case WM_CANCELMODE:
      if (GetMouseCapture()) {
        SetMouseCapture(false);
        if (ControlState.Contains(csLButtonDown)) Perform(WM_LBUTTONUP, 0, PointToLParam({-1, -1}));
      } else {
        DefaultHandler(Message);
      }
      return;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
    case CM_BIDIMODECHANGED:
      Invalidate();
      return;
    case CM_VISIBLECHANGED:
      InvalidateControl(true, Message.WParam != 0 && ControlStyle.Contains(csOpaque));
      return;
    case CM_PARENTCOLORCHANGED:
      if (parentColor_) {
        SetColor(Message.WParam ? TColor(Message.LParam) : parent_ ? parent_->color_ : color_);
        parentColor_ = true;
      }
      return;
    case CM_PARENTFONTCHANGED:
      if (parentFont_) {
        if (Message.WParam)
          font_->Assign(reinterpret_cast<TFont*>(Message.LParam));
        else if (parent_)
          font_->Assign(parent_->font_.get());
        parentFont_ = true;
      }
      return;
    case CM_PARENTSHOWHINTCHANGED:
      if (parentShowHint_ && parent_) {
        SetShowHint(parent_->showHint_);
        parentShowHint_ = true;
      }
      return;
    case CM_PARENTBIDIMODECHANGED:
      if (parentBiDiMode_ && parent_) {
        SetBiDiMode(parent_->biDiMode_);
        parentBiDiMode_ = true;
      }
      return;
    case CM_HITTEST:
      Message.Result = HTCLIENT;
      return;
    default:
      DefaultHandler(Message);
  }
}

void TControl::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETTEXT: {
      if (!Message.WParam || !Message.LParam) return;
      auto* out = reinterpret_cast<char*>(Message.LParam);
      size_t n = std::min<size_t>(text_.size(), Message.WParam - 1);
      std::memcpy(out, text_.data(), n);
      out[n] = 0;
      Message.Result = LRESULT(n);
      return;
    }
    case WM_GETTEXTLENGTH:
      Message.Result = LRESULT(text_.size());
      return;
    case WM_SETTEXT:
      text_ = Message.LParam ? reinterpret_cast<const char*>(Message.LParam) : "";
      Message.Result = TRUE;
      return;
    default:
      return;
  }
}

void TControl::ButtonDown(TMessage& Message, TMouseButton Button, bool Double) {
  SendCancelMode();
  DefaultHandler(Message);
  if (Button == mbLeft) {
    if (ControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
    // The press of a double click raises DblClick, not a second Click.
    if (ControlStyle.Contains(csClickEvents)) {
      if (Double)
        DblClick();
      else
        ControlState.Include(csClicked);
    }
  }
  DoMouseDown(Message, Button, Double ? TShiftState{ssDouble} : TShiftState{});
}

void TControl::ButtonUp(TMessage& Message, TMouseButton Button) {
  DefaultHandler(Message);
  if (Button == mbLeft) {
    if (ControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
    if (ControlState.Contains(csClicked)) {
      ControlState.Exclude(csClicked);
      if (GetClientRect().Contains(LParamToPoint(Message.LParam))) Click();
    }
  }
  DoMouseUp(Message, Button);
}

void TControl::DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift) {
  if (ControlStyle.Contains(csNoStdEvents)) return;
  TPoint p = LParamToPoint(Message.LParam);
  MouseDown(Button, KeysToShiftState(WORD(Message.WParam)) + Shift, p.X, p.Y);
}

void TControl::DoMouseUp(TMessage& Message, TMouseButton Button) {
  if (ControlStyle.Contains(csNoStdEvents)) return;
  TPoint p = LParamToPoint(Message.LParam);
  MouseUp(Button, KeysToShiftState(WORD(Message.WParam)), p.X, p.Y);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int32_t X, int32_t Y) { OnMouseMove(this, Shift, X, Y); }

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Click() {
  // A linked action runs unless the control has a handler of its own.
  TControlActionLink* link = action_ ? ControlActionLink(this) : nullptr;
  if (link && link->GetAction() && (!OnClick || OnClick == link->GetAction()->OnExecute) &&
      !ComponentState().Contains(csDesigning))
    link->Execute(this);
  else
    OnClick(this);
}

void TControl::DblClick() { OnDblClick(this); }

bool TControl::GetMouseCapture() const { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool Value) {
  if (GetMouseCapture() == Value) return;
  SetCaptureControl(Value ? this : nullptr);
}

void TControl::MouseWheelHandler(TMessage& Message) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this)
    form->MouseWheelHandler(Message);
  else
    Message.Result = Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

void TControl::MouseWheelMessage(TMessage& Message) {
  TShiftState shift = KeysToShiftState(LOWORD(Message.WParam));
  int32_t delta = GET_WHEEL_DELTA_WPARAM(Message.WParam);
  if (DoMouseWheel(shift, delta, LParamToPoint(Message.LParam)))
    Message.Result = 1;
  else if (parent_)
    Message.Result = parent_->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

bool TControl::DoMouseWheel(TShiftState Shift, int32_t WheelDelta, TPoint MousePos) {
  bool handled = false;
  OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  if (handled) return true;
  // Whole notches make the up and down steps; a rest waits for the next turn.
  wheelAccumulator_ += WheelDelta;
  while (std::abs(wheelAccumulator_) >= WHEEL_DELTA) {
    bool down = wheelAccumulator_ < 0;
    wheelAccumulator_ += down ? WHEEL_DELTA : -WHEEL_DELTA;
    handled = down ? DoMouseWheelDown(Shift, MousePos) : DoMouseWheelUp(Shift, MousePos);
  }
  return handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  bool handled = false;
  OnMouseWheelDown(this, Shift, MousePos, handled);
  return handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  bool handled = false;
  OnMouseWheelUp(this, Shift, MousePos, handled);
  return handled;
}

void TControl::WMContextMenu(TMessage& Message) {
  if (Message.Result != 0) return;
  TPoint screen = LParamToPoint(Message.LParam);
  bool byKey = screen == TPoint{-1, -1};
  TPoint local = byKey ? TPoint{-1, -1} : ScreenToClient(screen);
  bool handled = false;
  DoContextPopup(local, handled);
  if (handled) {
    Message.Result = 1;
    return;
  }
  if (popupMenu_ && PopupMenuHandlerSlot()) {
    if (byKey) screen = ClientToScreen({0, 0});
    if (PopupMenuHandlerSlot()(popupMenu_, this, screen)) {
      Message.Result = 1;
      return;
    }
  }
  DefaultHandler(Message);
}

void TControl::DoContextPopup(TPoint MousePos, bool& Handled) { OnContextPopup(this, MousePos, Handled); }

// ============================================================================ TControl: dragging

bool TControl::Dragging() const { return g_drag.Source == this && g_drag.Started; }

void TControl::BeginDrag(bool Immediate, int32_t Threshold) {
  if (g_drag.Source) return;
  g_drag = TDragRecord();
  g_drag.Source = this;
  GetCursorPos(&g_drag.Start);
  g_drag.Threshold = Threshold < 0 ? 5 : Threshold;
  SetMouseCapture(true);
  if (Immediate) {
    g_drag.Started = true;
    TObject* dragObject = nullptr;
    DoStartDrag(dragObject);
    DragStep(g_drag.Start, false);
  }
}

void TControl::EndDrag(bool Drop) {
  if (g_drag.Source != this) return;
  if (g_drag.Started) {
    TPoint p;
    GetCursorPos(&p);
    DragStep(p, Drop);
    return;
  }
  g_drag = TDragRecord();
  SetMouseCapture(false);
}

void TControl::DragStep(TPoint Screen, bool Drop) {
  TControl* target = FindDragTarget(Screen, false);
  TControl* old = g_drag.Target;
  auto local = [&](TControl* c) { return c->ScreenToClient(Screen); };
  if (old != target) {
    if (old) {
      bool ignored = false;
      TPoint p = local(old);
      old->DragOver(this, p.X, p.Y, dsDragLeave, ignored);
    }
    g_drag.Target = target;
  }
  // A drop where the last move was answers with that move's acceptance.
  if (!Drop || old != target) {
    g_drag.Accepted = false;
    if (target) {
      TPoint p = local(target);
      target->DragOver(this, p.X, p.Y, old != target ? dsDragEnter : dsDragMove, g_drag.Accepted);
    }
  }
  if (::Screen) ::SetCursor(::Screen->Cursors(g_drag.Accepted ? dragCursor_ : crNoDrop));
  if (!Drop) return;
  TDragRecord done = g_drag;
  g_drag = TDragRecord();
  SetMouseCapture(false);
  if (::Screen) ::SetCursor(::Screen->Cursors(crDefault));
  TPoint p{0, 0};
  if (done.Target && done.Accepted) {
    p = local(done.Target);
    done.Target->DragDrop(this, p.X, p.Y);
  }
  DoEndDrag(done.Accepted ? done.Target : nullptr, p.X, p.Y);
}

void TControl::DoStartDrag(TObject*& DragObject) { OnStartDrag(this, DragObject); }

void TControl::DoEndDrag(TObject* Target, int32_t X, int32_t Y) { OnEndDrag(this, Target, X, Y); }

void TControl::DragOver(TObject* Source, int32_t X, int32_t Y, TDragState State, bool& Accept) {
  Accept = false;
  if (OnDragOver) {
    Accept = true;
    OnDragOver(this, Source, X, Y, State, Accept);
  }
}

void TControl::DragDrop(TObject* Source, int32_t X, int32_t Y) { OnDragDrop(this, Source, X, Y); }

// ============================================================================ TWinControl: life and children

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
  brush_ = std::make_unique<TBrush>();
  brush_->SetColor(GetColor());
}

TWinControl::~TWinControl() {
  Destroying();
  if (parent_) RemoveFocus(true);
  if (handle_) DestroyWindowHandle();
  // Children go with their parent, windowed ones first, last added first.
  while (!winControls_.empty() || !controls_.empty()) {
    TControl* child = !winControls_.empty() ? static_cast<TControl*>(winControls_.back()) : controls_.back();
    if (!winControls_.empty()) {
      winControls_.pop_back();
      EraseFromList(tabList_, static_cast<TWinControl*>(child));
    } else {
      controls_.pop_back();
    }
    child->parent_ = nullptr;
    delete child;
  }
  SetParent(nullptr);
  if (objectInstance_) FreeObjectInstance(objectInstance_);
}

TControl* TWinControl::Controls(int32_t Index) const {
  int32_t n = int32_t(controls_.size());
  if (Index >= 0 && Index < n) return controls_[size_t(Index)];
  if (Index >= n && Index < n + int32_t(winControls_.size())) return winControls_[size_t(Index - n)];
  throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
}

void TWinControl::InsertControl(TControl* AControl) {
  Perform(CM_CONTROLLISTCHANGE, 1, reinterpret_cast<LPARAM>(AControl));
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
    winControls_.push_back(w);
    tabList_.push_back(w);
  } else {
    controls_.push_back(AControl);
  }
  AControl->parent_ = this;
  if (!AControl->ComponentState().Contains(csReading)) {
    AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    AControl->Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
      w->Perform(CM_PARENTCTL3DCHANGED, 0, 0);
      w->UpdateControlState();
    } else if (HandleAllocated()) {
      AControl->Invalidate();
    }
    AlignControl(AControl);
  }
  Perform(CM_CONTROLCHANGE, 1, reinterpret_cast<LPARAM>(AControl));
}

void TWinControl::RemoveControl(TControl* AControl) {
  Perform(CM_CONTROLCHANGE, 0, reinterpret_cast<LPARAM>(AControl));
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
    w->RemoveFocus(true);
    w->DestroyHandle();
    EraseFromList(winControls_, w);
    EraseFromList(tabList_, w);
  } else {
    if (HandleAllocated()) AControl->InvalidateControl(AControl->visible_, false);
    EraseFromList(controls_, AControl);
  }
  AControl->parent_ = nullptr;
  Perform(CM_CONTROLLISTCHANGE, 0, reinterpret_cast<LPARAM>(AControl));
  Realign();
}

bool TWinControl::ContainsControl(TControl* Control) const {
  for (TControl* c = Control; c; c = c->parent_)
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls) {
  auto hit = [&](TControl* c) {
    if (!(c->visible_ ||
          (c->ComponentState().Contains(csDesigning) && !c->ControlStyle.Contains(csNoDesignVisible))))
      return false;
    if (!AllowDisabled && !c->GetEnabled()) return false;
    if (!c->GetBoundsRect().Contains(Pos)) return false;
    return c->Perform(CM_HITTEST, 0, PointToLParam({Pos.X - c->left_, Pos.Y - c->top_})) != 0;
  };
  if (AllowWinControls)
    for (auto it = winControls_.rbegin(); it != winControls_.rend(); ++it)
      if (hit(*it)) return *it;
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
    if (hit(*it)) return *it;
  return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
  for (int32_t i = 0; i < ControlCount(); ++i) {
    Controls(i)->WindowProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT Msg) {
  TMessage m{Msg, 0, 0, 0};
  Broadcast(m);
}

void TWinControl::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (int32_t i = 0; i < ControlCount(); ++i)
    if (Controls(i)->Owner() == Root) Proc(Controls(i));
}

void TWinControl::SetChildOrder(TComponent* Child, int32_t Order) {
  auto move = [&](auto& list, auto* item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end()) return;
    list.erase(it);
    list.insert(list.begin() + std::clamp<ptrdiff_t>(Order, 0, ptrdiff_t(list.size())), item);
  };
  if (auto* w = dynamic_cast<TWinControl*>(Child))
    move(winControls_, w);
  else if (auto* c = dynamic_cast<TControl*>(Child))
    move(controls_, c);
}

// ============================================================================ TWinControl: window

LRESULT TWinControl::InitWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* c = g_creating;
  g_creating = nullptr;
  if (!c) return DefWindowProcA(hwnd, msg, wParam, lParam);
  c->handle_ = hwnd;
  WindowControls()[hwnd] = c;
  if (!c->objectInstance_) c->objectInstance_ = MakeObjectInstance(TWndMethod(c, &TWinControl::MainWndProc));
  SetWindowLongPtrA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(c->objectInstance_));
  return c->objectInstance_(hwnd, msg, wParam, lParam);
}

void TWinControl::MainWndProc(TMessage& Message) {
  try {
    WindowProc(Message);
  } catch (...) {
    FreeDeviceContexts();
    ApplicationHandleException(this);
    return;
  }
  FreeDeviceContexts();
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params = TCreateParams();
  Params.Caption = TextField();
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (ControlStyle.Contains(csAcceptsControls)) {
    Params.Style |= WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_CONTROLPARENT;
  }
  if (!ComponentState().Contains(csDesigning) && !GetEnabled()) Params.Style |= WS_DISABLED;
  if (tabStop_) Params.Style |= WS_TABSTOP;
  Params.X = left_;
  Params.Y = top_;
  Params.Width = width_;
  Params.Height = height_;
  Params.WndParent = parent_ ? parent_->handle_ : parentWindow_;
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = &TWinControl::InitWndProc;
  Params.WindowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  Params.WindowClass.hInstance = GetModuleInstance();
  Params.WinClassName = ClassName();
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if ((params.Style & WS_CHILD) && !params.WndParent) {
    if (parent_) params.WndParent = parent_->GetHandle();
    if (!params.WndParent) throw EInvalidOperation(NoParentMessage(this));
  }
  WNDCLASS existing;
  bool registered = GetClassInfoA(params.WindowClass.hInstance, params.WinClassName.c_str(), &existing) != 0;
  if (!registered || existing.lpfnWndProc != params.WindowClass.lpfnWndProc) {
    if (registered) UnregisterClassA(params.WinClassName.c_str(), params.WindowClass.hInstance);
    params.WindowClass.lpszClassName = params.WinClassName.c_str();
    if (!RegisterClassA(&params.WindowClass)) throw EOutOfResources("Error creating window class");
  }
  g_creating = this;
  try {
    CreateWindowHandle(params);
  } catch (...) {
    g_creating = nullptr;
    throw;
  }
  g_creating = nullptr;
  if (!handle_) throw EOutOfResources("Error creating window");
  UpdateBounds();
  if (GetAutoSize()) AdjustSize();
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  HWND h = CreateWindowExA(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style,
                           Params.X, Params.Y, Params.Width, Params.Height, Params.WndParent, nullptr,
                           Params.WindowClass.hInstance, Params.Param);
  // A class of another procedure never passed through the binding: bind now.
  if (h && handle_ != h) {
    handle_ = h;
    WindowControls()[h] = this;
    if (!objectInstance_) objectInstance_ = MakeObjectInstance(TWndMethod(this, &TWinControl::MainWndProc));
    DefWndProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(h, GWL_WNDPROC));
    SetWindowLongPtrA(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(objectInstance_));
  }
}

void TWinControl::CreateHandle() {
  if (handle_) return;
  CreateWnd();
  if (parent_)
    SetWindowPos(handle_, parent_->PrecedingWindow(this), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  for (TWinControl* c : std::vector<TWinControl*>(winControls_)) c->DestroyHandle();
  DestroyWnd();
}

void TWinControl::DestroyWnd() {
  text_ = TControl::GetText();
  FreeDeviceContexts();
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
  ControlState.Include(csDestroyingHandle);
  HWND h = handle_;
  DestroyWindow(h);
  ControlState.Exclude(csDestroyingHandle);
  WindowControls().erase(h);
  handle_ = nullptr;
  showing_ = false;
}

void TWinControl::HandleNeeded() {
  if (handle_) return;
  if (parent_) parent_->HandleNeeded();
  CreateHandle();
}

HWND TWinControl::GetHandle() {
  HandleNeeded();
  return handle_;
}

void TWinControl::SetParentWindow(HWND Value) {
  if (parentWindow_ == Value) return;
  if (handle_ && !parent_) DestroyHandle();
  parentWindow_ = Value;
  UpdateControlState();
}

void TWinControl::RecreateWnd() {
  if (handle_) Perform(CM_RECREATEWND, 0, 0);
}

HWND TWinControl::PrecedingWindow(TWinControl* Control) const {
  auto it = std::find(winControls_.begin(), winControls_.end(), Control);
  if (it != winControls_.end())
    for (++it; it != winControls_.end(); ++it)
      if ((*it)->handle_) return (*it)->handle_;
  return HWND_TOP;
}

void TWinControl::UpdateShowing() {
  bool show = visible_ && !ControlState.Contains(csReadingState) &&
              !(ComponentState().Contains(csDesigning) && ControlStyle.Contains(csNoDesignVisible));
  if (show) {
    if (!handle_) CreateHandle();
    for (TWinControl* c : std::vector<TWinControl*>(winControls_)) c->UpdateShowing();
  }
  if (handle_ && showing_ != show) {
    showing_ = show;
    try {
      Perform(CM_SHOWINGCHANGED, 0, 0);
    } catch (...) {
      showing_ = !show;
      throw;
    }
  }
}

void TWinControl::UpdateControlState() {
  TWinControl* c = this;
  while (c->parent_) {
    c = c->parent_;
    if (!c->Showing()) return;
  }
  if (Is<TCustomForm>(c) || c->parentWindow_) UpdateShowing();
}

void TWinControl::UpdateBounds() {
  if (!handle_ || IsIconic(handle_)) return;
  RECT r;
  GetWindowRect(handle_, &r);
  if (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD) {
    HWND p = ::GetParent(handle_);
    POINT pts[2] = {r.TopLeft(), r.BottomRight()};
    MapWindowPoints(nullptr, p, pts, 2);
    r = Rect(pts[0].X, pts[0].Y, pts[1].X, pts[1].Y);
  }
  if (r.Left == left_ && r.Top == top_ && r.Width() == width_ && r.Height() == height_) return;
  left_ = r.Left;
  top_ = r.Top;
  width_ = r.Width();
  height_ = r.Height();
  if (!inAnchorMove_) UpdateAnchorRules();
}

HDC TWinControl::GetDeviceContext(HWND& WindowHandle) {
  WindowHandle = GetHandle();
  return GetDC(WindowHandle);
}

void TWinControl::SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
  ALeft = ClampControlCoord(ALeft);
  ATop = ClampControlCoord(ATop);
  if (!CheckNewSize(AWidth, AHeight)) return;
  if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
  if (handle_ && !IsIconic(handle_)) {
    // WM_WINDOWPOSCHANGED brings the bounds back, WM_SIZE realigns and resizes.
    SetWindowPos(handle_, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    bool sized = AWidth != width_ || AHeight != height_;
    left_ = ALeft;
    top_ = ATop;
    width_ = AWidth;
    height_ = AHeight;
    if (sized) Realign();
  }
  if (!inAnchorMove_) UpdateAnchorRules();
  RequestAlign();
}

TRect TWinControl::GetClientRect() {
  if (handle_) {
    RECT r;
    ::GetClientRect(handle_, &r);
    return r;
  }
  // Without a window: the frame its styles would give, as the window manager computes it.
  TCreateParams params;
  CreateParams(params);
  RECT frame = Rect(0, 0, 0, 0);
  AdjustWindowRectEx(&frame, params.Style, FALSE, params.ExStyle);
  return Rect(0, 0, std::max(0, width_ - frame.Width()), std::max(0, height_ - frame.Height()));
}

TPoint TWinControl::GetClientOrigin() {
  if (handle_) {
    POINT p{0, 0};
    ::ClientToScreen(handle_, &p);
    return p;
  }
  TCreateParams params;
  CreateParams(params);
  RECT frame = Rect(0, 0, 0, 0);
  AdjustWindowRectEx(&frame, params.Style, FALSE, params.ExStyle);
  TPoint base = parent_ ? parent_->GetClientOrigin() : TPoint{0, 0};
  return {base.X + left_ - frame.Left, base.Y + top_ - frame.Top};
}

void TWinControl::Invalidate() { Perform(CM_INVALIDATE, 0, 0); }

void TWinControl::Update() {
  if (handle_) UpdateWindow(handle_);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

AnsiString TWinControl::GetText() { return TControl::GetText(); }

void TWinControl::SetText(const AnsiString& Value) {
  if (GetText() == Value) return;
  // Through the window procedure, so that whoever subclassed the window sees the new text.
  if (handle_)
    SendMessageA(handle_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
  else
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TWinControl::SetTabStop(bool Value) {
  if (tabStop_ == Value) return;
  tabStop_ = Value;
  if (handle_) {
    LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
    SetWindowLongPtrA(handle_, GWL_STYLE, Value ? (style | WS_TABSTOP) : (style & ~LONG_PTR(WS_TABSTOP)));
  }
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::SetCtl3D(bool Value) {
  parentCtl3D_ = false;
  if (ctl3D_ == Value) return;
  ctl3D_ = Value;
  Perform(CM_CTL3DCHANGED, 0, 0);
}

void TWinControl::SetParentCtl3D(bool Value) {
  if (parentCtl3D_ == Value) return;
  parentCtl3D_ = Value;
  if (parent_ && Value && !ComponentState().Contains(csReading)) Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

void TWinControl::SetBorderWidth(int32_t Value) {
  if (borderWidth_ == Value) return;
  borderWidth_ = Value;
  Realign();
  Invalidate();
}

// ============================================================================ TWinControl: alignment

void TWinControl::DisableAlign() { ++alignLevel_; }

void TWinControl::EnableAlign() {
  if (--alignLevel_ == 0 && ControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AlignControl(TControl* AControl) {
  if (ComponentState().Contains(csDestroying)) return;
  if (alignLevel_ != 0 || ComponentState().Contains(csLoading)) {
    ControlState.Include(csAlignmentNeeded);
    return;
  }
  DisableAlign();
  try {
    TRect r = GetClientRect();
    AlignControls(AControl, r);
  } catch (...) {
    ControlState.Exclude(csAlignmentNeeded);
    EnableAlign();
    throw;
  }
  ControlState.Exclude(csAlignmentNeeded);
  EnableAlign();
}

void TWinControl::AdjustClientRect(TRect& Rect) { InsetControlRect(Rect, borderWidth_); }

void InsetControlRect(TRect& Rect, int64_t Inset) {
  Rect.Left = ClampControlCoord(Rect.Left + Inset);
  Rect.Top = ClampControlCoord(Rect.Top + Inset);
  Rect.Right = ClampControlCoord(Rect.Right - Inset);
  Rect.Bottom = ClampControlCoord(Rect.Bottom - Inset);
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  bool any = false;
  for (int32_t i = 0; i < ControlCount() && !any; ++i) {
    TControl* c = Controls(i);
    any = c->align_ != alNone || IsAnchoredSpecially(c->anchors_);
  }
  if (!any) return;
  AdjustClientRect(Rect);
  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<TControl*> list;
    for (int32_t i = 0; i < ControlCount(); ++i) {
      TControl* c = Controls(i);
      if (c->align_ == align && (c->visible_ || (c->ComponentState().Contains(csDesigning) &&
                                                 !c->ControlStyle.Contains(csNoDesignVisible))))
        list.push_back(c);
    }
    // Controls stack in the order of their places along the edge; the one that just moved
    // goes before an equal.
    auto key = [align](TControl* c) {
      switch (align) {
        case alTop:
          return c->top_;
        case alBottom:
          return -(c->top_ + c->height_);
        case alLeft:
          return c->left_;
        case alRight:
          return -(c->left_ + c->width_);
        default:
          return 0;
      }
    };
    std::stable_sort(list.begin(), list.end(), [&](TControl* a, TControl* b) {
      int ka = key(a), kb = key(b);
      if (ka != kb) return ka < kb;
      return a == AControl && b != AControl;
    });
    for (TControl* c : list) {
      int32_t w = c->width_, h = c->height_;
      switch (align) {
        case alTop:
          c->SetBounds(Rect.Left, Rect.Top, Rect.Width(), h);
          Rect.Top = ClampControlCoord(int64_t(Rect.Top) + c->height_);
          break;
        case alBottom:
          c->SetBounds(Rect.Left, Rect.Bottom - h, Rect.Width(), h);
          Rect.Bottom = ClampControlCoord(int64_t(Rect.Bottom) - c->height_);
          break;
        case alLeft:
          c->SetBounds(Rect.Left, Rect.Top, w, Rect.Height());
          Rect.Left = ClampControlCoord(int64_t(Rect.Left) + c->width_);
          break;
        case alRight:
          c->SetBounds(Rect.Right - w, Rect.Top, w, Rect.Height());
          Rect.Right = ClampControlCoord(int64_t(Rect.Right) - c->width_);
          break;
        default:
          c->SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
          break;
      }
    }
  }
  AnchorControls();
}

void TWinControl::AnchorControls() {
  TRect pc = GetClientRect();
  for (int32_t i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->align_ != alNone || !c->anchorsValid_ || !IsAnchoredSpecially(c->anchors_)) continue;
    const TRect& r = c->anchorRules_;
    const TSize& old = c->anchorParentSize_;
    // In 64 bits: the proportional case multiplies two coordinates.
    int64_t l = c->left_, t = c->top_, w = c->width_, h = c->height_;
    // Both sides anchored: the distances stay and the size follows; one side: its distance
    // stays; neither: the centre keeps its place in proportion.
    bool left = c->anchors_.Contains(akLeft), right = c->anchors_.Contains(akRight);
    if (left && right) {
      l = r.Left;
      w = pc.Width() - r.Left - r.Right;
    } else if (right) {
      l = pc.Width() - r.Right - w;
    } else if (!left && old.cx > 0) {
      l = (r.Left + w / 2) * pc.Width() / old.cx - w / 2;
    }
    bool top = c->anchors_.Contains(akTop), bottom = c->anchors_.Contains(akBottom);
    if (top && bottom) {
      t = r.Top;
      h = pc.Height() - r.Top - r.Bottom;
    } else if (bottom) {
      t = pc.Height() - r.Bottom - h;
    } else if (!top && old.cy > 0) {
      t = (r.Top + h / 2) * pc.Height() / old.cy - h / 2;
    }
    c->inAnchorMove_ = true;
    try {
      c->SetBounds(ClampControlCoord(l), ClampControlCoord(t), ClampControlCoord(w), ClampControlCoord(h));
    } catch (...) {
      c->inAnchorMove_ = false;
      throw;
    }
    c->inAnchorMove_ = false;
  }
}

// ============================================================================ TWinControl: focus and keys

bool TWinControl::CanFocus() {
  TCustomForm* form = GetParentForm(this);
  if (!form) return false;
  for (TWinControl* c = this; c && c != form; c = c->parent_)
    if (!c->visible_ || !c->GetEnabled()) return false;
  return true;
}

bool TWinControl::Focused() { return handle_ && GetFocus() == handle_; }

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm(this))
    form->FocusControl(this);
  else if (parentWindow_)
    ::SetFocus(GetHandle());
  else
    ValidParentForm(this);
}

void TWinControl::RemoveFocus(bool Removing) {
  if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, Removing);
}

void TWinControl::SelectFirst() {
  TCustomForm* form = GetParentForm(this);
  if (!form) return;
  TWinControl* c = FindNextControl(nullptr, true, true, false);
  if (!c) c = FindNextControl(nullptr, true, false, false);
  if (c) c->SetFocus();
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop))
    next->SetFocus();
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
  for (TWinControl* c : tabList_) {
    List.push_back(c);
    c->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int32_t n = int32_t(list.size());
  auto it = std::find(list.begin(), list.end(), CurControl);
  int32_t start = it != list.end() ? int32_t(it - list.begin()) : (GoForward ? n - 1 : 0);
  int32_t i = start;
  do {
    i = GoForward ? (i + 1) % n : (i + n - 1) % n;
    TWinControl* c = list[size_t(i)];
    if (c->CanFocus() && (!CheckTabStop || c->tabStop_) && (!CheckParent || c->parent_ == this)) return c;
  } while (i != start);
  return nullptr;
}

int32_t TWinControl::GetTabOrder() const {
  if (!parent_) return -1;
  auto& list = parent_->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : int32_t(it - list.begin());
}

void TWinControl::SetTabOrder(int32_t Value) {
  if (ControlState.Contains(csReadingState)) {
    // The definition's order is sorted out once every sibling is there.
    pendingTabOrder_ = Value;
    return;
  }
  int32_t cur = GetTabOrder();
  if (cur < 0) return;
  auto& list = parent_->tabList_;
  int32_t target = std::clamp<int32_t>(Value, 0, int32_t(list.size()) - 1);
  if (target == cur) return;
  list.erase(list.begin() + cur);
  list.insert(list.begin() + target, this);
}

void TWinControl::FixupTabList() {
  size_t n = winControls_.size();
  std::vector<TWinControl*> slots(n, nullptr);
  for (TWinControl* c : winControls_) {
    int32_t j = c->pendingTabOrder_;
    if (j >= 0 && size_t(j) < n && !slots[size_t(j)]) slots[size_t(j)] = c;
    c->pendingTabOrder_ = -1;
  }
  for (size_t i = 0; i < n; ++i)
    if (slots[i]) slots[i]->SetTabOrder(int32_t(i));
}

void TWinControl::DoEnter() { OnEnter(this); }

void TWinControl::DoExit() { OnExit(this); }

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) { OnKeyDown(this, Key, Shift); }

void TWinControl::KeyUp(WORD& Key, TShiftState Shift) { OnKeyUp(this, Key, Shift); }

void TWinControl::KeyPress(char& Key) { OnKeyPress(this, Key); }

namespace {
// The form that previews a control's keys, when it asks to.
TCustomForm* PreviewForm(TWinControl* c) {
  TCustomForm* form = GetParentForm(c);
  return form && form != c && form->GetKeyPreview() ? form : nullptr;
}
}  // namespace

bool TWinControl::DoKey(TMessage& Message, bool (TWinControl::*Entry)(TMessage&),
                        void (TWinControl::*Handler)(WORD&, TShiftState)) {
  if (TCustomForm* form = PreviewForm(this))
    if ((static_cast<TWinControl*>(form)->*Entry)(Message)) return true;
  if (ControlStyle.Contains(csNoStdEvents)) return false;
  WORD key = WORD(Message.WParam);
  (this->*Handler)(key, KeyDataToShiftState(Message.LParam));
  Message.WParam = key;
  return key == 0;
}

bool TWinControl::DoKeyDown(TMessage& Message) {
  return DoKey(Message, &TWinControl::DoKeyDown, &TWinControl::KeyDown);
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  return DoKey(Message, &TWinControl::DoKeyUp, &TWinControl::KeyUp);
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  if (TCustomForm* form = PreviewForm(this))
    if (form->DoKeyPress(Message)) return true;
  if (ControlStyle.Contains(csNoStdEvents)) return false;
  // Characters arrive in UTF-16; the handlers take the single-byte code page.
  int32_t code = WideCharToAnsi(char32_t(Message.WParam));
  char key = code >= 0 ? char(code) : '?';
  char before = key;
  KeyPress(key);
  if (key == 0) {
    Message.WParam = 0;
    return true;
  }
  if (key != before) Message.WParam = AnsiCharToWide(key);
  return false;
}

bool TWinControl::IsMenuKey(TMessage& Message) {
  if (ComponentState().Contains(csDesigning)) return false;
  TCustomForm* form = GetParentForm(this);
  return form && form->IsShortCut(Message);
}

void TWinControl::CNKeyDown(TMessage& Message) {
  Message.Result = 1;
  if (IsMenuKey(Message)) return;
  if (!ComponentState().Contains(csDesigning)) {
    LRESULT mask = 0;
    switch (Message.WParam) {
      case VK_TAB:
        mask = DLGC_WANTTAB;
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        mask = DLGC_WANTARROWS;
        break;
      case VK_RETURN:
      case VK_ESCAPE:
      case VK_CANCEL:
        mask = DLGC_WANTALLKEYS;
        break;
      default:
        break;
    }
    // The form navigates with the key unless the control claims it.
    if (mask && Perform(CM_WANTSPECIALKEY, Message.WParam, Message.LParam) == 0 &&
        (Perform(WM_GETDLGCODE, 0, 0) & mask) == 0)
      if (TCustomForm* form = GetParentForm(this))
        if (form->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam) != 0) return;
  }
  Message.Result = 0;
}

void TWinControl::CNChar(TMessage& Message) {
  Message.Result = 0;
  if (ComponentState().Contains(csDesigning)) return;
  if ((Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0)
    if (TCustomForm* form = GetParentForm(this))
      if (form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0) Message.Result = 1;
}

void TWinControl::CNSysChar(TMessage& Message) {
  Message.Result = 0;
  if (ComponentState().Contains(csDesigning) || Message.WParam == VK_SPACE) return;
  if (TCustomForm* form = GetParentForm(this))
    Message.Result = form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam);
}

// ============================================================================ TWinControl: messages and
// painting

void TWinControl::WndProc(TMessage& Message) {
  UINT msg = Message.Msg;
  switch (msg) {
    case WM_SETFOCUS:
      if (TCustomForm* form = GetParentForm(this))
        if (!form->SetFocusedControl(this)) return;
      break;
    case WM_KILLFOCUS:
      if (ControlState.Contains(csFocusing)) return;
      break;
    default:
      // Leaving the window is reported, so that enter and leave can follow the mouse.
      if (msg == WM_MOUSEMOVE && handle_) {
        TRACKMOUSEEVENT tme;
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = handle_;
        TrackMouseEvent(&tme);
      }
      if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL && IsControlMouseMsg(Message)) {
        // A windowless child took it; what it left unanswered goes to the window's default.
        if (Message.Result == 0 && handle_) DefWndProc(handle_, msg, Message.WParam, Message.LParam);
        return;
      }
      break;
  }
  TControl::WndProc(Message);
}

bool TWinControl::IsControlMouseMsg(TMessage& Message) {
  TControl* control = nullptr;
  TPoint p = LParamToPoint(Message.LParam);
  if (handle_ && GetCapture() == handle_) {
    if (g_captureControl && g_captureControl != this && g_captureControl->parent_ == this)
      control = g_captureControl;
  } else {
    control = ControlAtPos(p, false);
  }
  if (!control) return false;
  Message.Result = control->Perform(Message.Msg, Message.WParam,
                                    PointToLParam({p.X - control->left_, p.Y - control->top_}));
  return true;
}

void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      return PaintHandler(Message);
    case WM_ERASEBKGND: {
      if (!Message.WParam) return;
      RECT r = GetClientRect();
      FillRect(reinterpret_cast<HDC>(Message.WParam), &r, brush_->GetHandle());
      Message.Result = 1;
      return;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (!DoKeyDown(Message)) DefaultHandler(Message);
      return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (!DoKeyUp(Message)) DefaultHandler(Message);
      return;
    case WM_CHAR:
      if (!DoKeyPress(Message)) DefaultHandler(Message);
      return;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
      return CNKeyDown(Message);
    case CN_CHAR:
      return CNChar(Message);
    case CN_SYSCHAR:
      return CNSysChar(Message);
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
    case CM_FOCUSCHANGED:
      return Broadcast(Message);
    case CM_ENTER:
      return DoEnter();
    case CM_EXIT:
      return DoExit();
    case WM_SIZE:
      return WMSize(Message);
    case WM_MOVE:
      DefaultHandler(Message);
      UpdateBounds();
      return;
    case WM_WINDOWPOSCHANGING:
      if (!(ComponentState() * TComponentState{csReading, csDestroying}).Empty()) break;
      if (auto* wp = reinterpret_cast<WINDOWPOS*>(Message.LParam); wp && !(wp->flags & SWP_NOSIZE)) {
        int32_t w = wp->cx, h = wp->cy;
        if (!CheckNewSize(w, h))
          wp->flags |= SWP_NOSIZE;
        else {
          wp->cx = w;
          wp->cy = h;
        }
      }
      break;
    case WM_SETCURSOR:
      return WMSetCursor(Message);
    case WM_CONTEXTMENU:
      return WMContextMenu(Message);
    case WM_COMMAND:
      if (TWinControl* c = FindControl(reinterpret_cast<HWND>(Message.LParam)); c && c != this) {
        Message.Result = c->Perform(CN_COMMAND, Message.WParam, Message.LParam);
        return;
      }
      break;
    case WM_NOTIFY:
      if (auto* nm = reinterpret_cast<const NMHDR*>(Message.LParam))
        if (TWinControl* c = FindControl(nm->hwndFrom); c && c != this) {
          Message.Result = c->Perform(CN_NOTIFY, Message.WParam, Message.LParam);
          return;
        }
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (TWinControl* c = FindControl(reinterpret_cast<HWND>(Message.LParam)); c && c != this) {
        Message.Result = c->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
        return;
      }
      break;
    case WM_NCDESTROY: {
      DefaultHandler(Message);
      WindowControls().erase(handle_);
      handle_ = nullptr;
      showing_ = false;
      return;
    }
    case CM_SHOWINGCHANGED:
      if (handle_)
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                         (showing_ ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
      return;
    case CM_VISIBLECHANGED:
      if (!visible_ && parent_) RemoveFocus(false);
      if (!ComponentState().Contains(csDesigning) || ControlStyle.Contains(csNoDesignVisible))
        UpdateControlState();
      return;
    case CM_ENABLEDCHANGED:
      if (!GetEnabled() && parent_) RemoveFocus(false);
      if (handle_ && !ComponentState().Contains(csDesigning)) EnableWindow(handle_, GetEnabled());
      Invalidate();
      return;
    case CM_COLORCHANGED:
      brush_->SetColor(GetColor());
      NotifyControls(CM_PARENTCOLORCHANGED);
      Invalidate();
      return;
    case CM_FONTCHANGED:
      NotifyControls(CM_PARENTFONTCHANGED);
      Invalidate();
      return;
    case CM_SHOWHINTCHANGED:
      NotifyControls(CM_PARENTSHOWHINTCHANGED);
      return;
    case CM_BIDIMODECHANGED:
      NotifyControls(CM_PARENTBIDIMODECHANGED);
      Invalidate();
      return;
    case CM_CTL3DCHANGED:
      NotifyControls(CM_PARENTCTL3DCHANGED);
      return;
    case CM_PARENTCTL3DCHANGED:
      if (parentCtl3D_ && parent_) {
        SetCtl3D(parent_->ctl3D_);
        parentCtl3D_ = true;
      }
      return;
    case CM_SYSCOLORCHANGE:
    case WM_SYSCOLORCHANGE:
      NotifyControls(CM_SYSCOLORCHANGE);
      Invalidate();
      DefaultHandler(Message);
      return;
    case CM_INVALIDATE:
      if (handle_) InvalidateRect(handle_, nullptr, ControlStyle.Contains(csOpaque) ? FALSE : TRUE);
      return;
    case CM_RECREATEWND: {
      // The focus may sit on this control or on any control inside it: the new windows take it
      // back, or a user typing in a field loses his place when its parent is rebuilt.
      TWinControl* focused = FindControl(GetFocus());
      if (focused != this && !(focused && ContainsControl(focused))) focused = nullptr;
      DestroyHandle();
      UpdateControlState();
      if (focused && focused->handle_ && focused->CanFocus()) ::SetFocus(focused->handle_);
      return;
    }
    case CM_CURSORCHANGED:
      if (handle_) {
        POINT p;
        GetCursorPos(&p);
        if (WindowFromPoint(p) == handle_)
          SendMessageA(handle_, WM_SETCURSOR, reinterpret_cast<WPARAM>(handle_),
                       MAKELPARAM(WORD(HTCLIENT), WORD(WM_MOUSEMOVE)));
      }
      return;
    default:
      break;
  }
  TControl::Dispatch(Message);
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (!handle_) return TControl::DefaultHandler(Message);
  Message.Result = CallWindowProcA(DefWndProc, handle_, Message.Msg, Message.WParam, Message.LParam);
  // The window keeps the text; the copy serves while there is none.
  if (Message.Msg == WM_SETTEXT) text_ = Message.LParam ? reinterpret_cast<const char*>(Message.LParam) : "";
}

void TWinControl::WMSize(TMessage& Message) {
  UpdateBounds();
  DefaultHandler(Message);
  Realign();
  if (!ComponentState().Contains(csLoading)) Resize();
}

void TWinControl::WMSetCursor(TMessage& Message) {
  if (reinterpret_cast<HWND>(Message.WParam) == handle_ && int16_t(LOWORD(Message.LParam)) == HTCLIENT &&
      ::Screen) {
    TCursor cursor = ::Screen->GetCursor();
    if (cursor == crDefault) {
      POINT p;
      GetCursorPos(&p);
      TControl* c = ControlAtPos(ScreenToClient(p), false);
      cursor = c ? c->GetCursor() : crDefault;
      if (cursor == crDefault) cursor = GetCursor();
    }
    if (cursor != crDefault) {
      ::SetCursor(::Screen->Cursors(cursor));
      Message.Result = 1;
      return;
    }
  }
  DefaultHandler(Message);
}

void TWinControl::WMContextMenu(TMessage& Message) {
  if (Message.Result != 0) return;
  TPoint screen = LParamToPoint(Message.LParam);
  if (screen != TPoint{-1, -1})
    if (TControl* c = ControlAtPos(ScreenToClient(screen), false))
      Message.Result = c->Perform(WM_CONTEXTMENU, 0, Message.LParam);
  if (Message.Result == 0) TControl::Dispatch(Message);
}

void TWinControl::PaintHandler(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  PAINTSTRUCT ps;
  if (!dc) dc = BeginPaint(handle_, &ps);
  struct TEnd {
    HWND h;
    PAINTSTRUCT* ps;
    bool own;
    ~TEnd() {
      if (own) EndPaint(h, ps);
    }
  } end{handle_, &ps, Message.WParam == 0};
  bool anyOpaque = false;
  for (TControl* c : controls_) anyOpaque |= c->visible_ && c->ControlStyle.Contains(csOpaque);
  if (!anyOpaque) {
    PaintWindow(dc);
  } else {
    // The window paints around the opaque windowless children, which paint themselves.
    int save = SaveDC(dc);
    int clip = SIMPLEREGION;
    for (TControl* c : controls_) {
      if (!c->visible_ || !c->ControlStyle.Contains(csOpaque)) continue;
      RECT r = c->GetBoundsRect();
      if (!RectVisible(dc, &r)) continue;
      clip = ExcludeClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
      if (clip == NULLREGION) break;
    }
    if (clip != NULLREGION) PaintWindow(dc);
    RestoreDC(dc, save);
  }
  PaintControls(dc, nullptr);
}

void TWinControl::PaintWindow(HDC DC) {
  // Our own classes draw through Paint; a window of another procedure paints itself.
  if (DefWndProc != DefWindowProcA && handle_) CallWindowProcA(DefWndProc, handle_, WM_PAINT, WPARAM(DC), 0);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  std::vector<TControl*> list = controls_;
  size_t i = 0;
  if (First) {
    auto it = std::find(list.begin(), list.end(), First);
    if (it != list.end()) i = size_t(it - list.begin());
  }
  for (; i < list.size(); ++i) {
    TControl* c = list[i];
    if (!(c->visible_ ||
          (c->ComponentState().Contains(csDesigning) && !c->ControlStyle.Contains(csNoDesignVisible))))
      continue;
    RECT r = c->GetBoundsRect();
    if (!RectVisible(DC, &r)) continue;
    if (ControlState.Contains(csPaintCopy)) c->ControlState.Include(csPaintCopy);
    int save = SaveDC(DC);
    MoveWindowOrg(DC, c->left_, c->top_);
    IntersectClipRect(DC, 0, 0, c->width_, c->height_);
    c->Perform(WM_PAINT, WPARAM(DC), 0);
    RestoreDC(DC, save);
    c->ControlState.Exclude(csPaintCopy);
  }
}

void TWinControl::PaintTo(HDC DC, int32_t X, int32_t Y) {
  ControlState.Include(csPaintCopy);
  int save = SaveDC(DC);
  MoveWindowOrg(DC, X, Y);
  IntersectClipRect(DC, 0, 0, width_, height_);
  // The frame first (a top-level window's, or a control's edges), then the client area.
  TPoint clientOffset{0, 0};
  if (handle_) {
    RECT wr, cr;
    GetWindowRect(handle_, &wr);
    POINT o{0, 0};
    ::ClientToScreen(handle_, &o);
    clientOffset = {o.X - wr.Left, o.Y - wr.Top};
    ::GetClientRect(handle_, &cr);
    if (clientOffset != TPoint{0, 0} || cr.Width() != width_ || cr.Height() != height_)
      SendMessageA(handle_, WM_PRINT, WPARAM(DC), PRF_NONCLIENT);
  }
  MoveWindowOrg(DC, clientOffset.X, clientOffset.Y);
  TRect client = GetClientRect();
  IntersectClipRect(DC, 0, 0, client.Width(), client.Height());
  Perform(WM_ERASEBKGND, WPARAM(DC), LPARAM(DC));
  Perform(WM_PAINT, WPARAM(DC), 0);
  for (TWinControl* c : std::vector<TWinControl*>(winControls_)) {
    if (!c->visible_) continue;
    int s = SaveDC(DC);
    c->PaintTo(DC, c->left_, c->top_);
    RestoreDC(DC, s);
  }
  RestoreDC(DC, save);
  ControlState.Exclude(csPaintCopy);
}

void TWinControl::Loaded() {
  TControl::Loaded();
  if (handle_) UpdateBounds();
  Realign();
}

void TWinControl::ReadState(TReader* Reader) {
  DisableAlign();
  try {
    TControl::ReadState(Reader);
  } catch (...) {
    EnableAlign();
    throw;
  }
  FixupTabList();
  EnableAlign();
}

// ============================================================================ painted controls =

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {
  canvas_ = std::make_unique<TControlCanvas>();
  canvas_->SetControl(this);
}

TGraphicControl::~TGraphicControl() { canvas_->SetControl(nullptr); }

void TGraphicControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT && Message.WParam) {
    TCanvasPaintScope scope(canvas_.get(), reinterpret_cast<HDC>(Message.WParam));
    Paint();
    return;
  }
  TControl::Dispatch(Message);
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {
  canvas_ = std::make_unique<TControlCanvas>();
  canvas_->SetControl(this);
}

TCustomControl::~TCustomControl() { canvas_->SetControl(nullptr); }

void TCustomControl::PaintWindow(HDC DC) {
  TCanvasPaintScope scope(canvas_.get(), DC);
  Paint();
}

// ============================================================================ hint window =====

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clInfoBk);
  GetFont()->SetColor(clInfoText);
  if (::Screen) GetFont()->Assign(::Screen->GetHintFont());
  SetVisible(false);
}

void THintWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WndParent = nullptr;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void THintWindow::ActivateHint(TRect Rect, const AnsiString& AHint) {
  SetCaption(AHint);
  // Kept on the screen: moved back inside when it would cross an edge.
  int32_t sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  int32_t w = Rect.Width(), h = Rect.Height();
  int32_t x = std::clamp(Rect.Left, 0, std::max(0, sw - w)), y = std::clamp(Rect.Top, 0, std::max(0, sh - h));
  SetBounds(x, y, w, h);
  SetWindowPos(GetHandle(), HWND_TOPMOST, x, y, w, h, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

void THintWindow::ActivateHintData(TRect Rect, const AnsiString& AHint, void*) { ActivateHint(Rect, AHint); }

TRect THintWindow::CalcHintRect(int32_t MaxWidth, const AnsiString& AHint, void*) {
  RECT r = Rect(0, 0, MaxWidth, 0);
  GetCanvas()->SetFont(GetFont());
  DrawTextA(GetCanvas()->GetHandle(), AHint.c_str(), int(AHint.size()), &r,
            DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  r.Right += 6;
  r.Bottom += 2;
  return r;
}

void THintWindow::Paint() {
  TCanvas* c = GetCanvas();
  RECT r = GetClientRect();
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(r);
  r.Left += 2;
  r.Top += 1;
  c->SetFont(GetFont());
  c->GetBrush()->SetStyle(bsClear);
  AnsiString text = GetCaption();
  DrawTextA(c->GetHandle(), text.c_str(), int(text.size()), &r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
  c->GetBrush()->SetStyle(bsSolid);
}

void THintWindow::ReleaseHandle() { DestroyHandle(); }

void THintWindow::Dispatch(TMessage& Message) {
  // The hint never takes the mouse: what lies below keeps it.
  if (Message.Msg == WM_NCHITTEST) {
    Message.Result = HTTRANSPARENT;
    return;
  }
  TCustomControl::Dispatch(Message);
}

// ============================================================================ free functions ==

TWinControl* FindControl(HWND Handle) {
  if (!Handle) return nullptr;
  auto it = WindowControls().find(Handle);
  return it == WindowControls().end() ? nullptr : it->second;
}

TWinControl* FindVCLWindow(TPoint Pos) {
  for (HWND h = WindowFromPoint(Pos); h; h = ::GetParent(h))
    if (TWinControl* c = FindControl(h)) return c;
  return nullptr;
}

TControl* FindDragTarget(TPoint Pos, bool AllowDisabled) {
  TWinControl* w = FindVCLWindow(Pos);
  if (!w) return nullptr;
  TControl* c = w->ControlAtPos(w->ScreenToClient(Pos), AllowDisabled);
  return c ? c : w;
}

TCustomForm* GetParentForm(TControl* Control) {
  if (!Control) return nullptr;
  TControl* top = Control;
  while (top->Parent()) top = top->Parent();
  return dynamic_cast<TCustomForm*>(top);
}

TCustomForm* ValidParentForm(TControl* Control) {
  TCustomForm* form = GetParentForm(Control);
  if (!form) throw EInvalidOperation(NoParentMessage(Control));
  return form;
}

TControl* GetCaptureControl() {
  TControl* c = FindControl(GetCapture());
  if (c && g_captureControl && g_captureControl->Parent() == c) return g_captureControl;
  return c;
}

void SetCaptureControl(TControl* Control) {
  ReleaseCapture();
  g_captureControl = nullptr;
  if (!Control) return;
  auto* w = dynamic_cast<TWinControl*>(Control);
  if (!w) {
    if (!Control->Parent()) return;
    g_captureControl = Control;
    w = Control->Parent();
  }
  SetCapture(w->GetHandle());
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (KeyData & KF_ALTDOWN_BIT) s.Include(ssAlt);
  return s;
}

TShiftState KeyboardStateToShiftState() {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  if (GetKeyState(VK_LBUTTON) < 0) s.Include(ssLeft);
  if (GetKeyState(VK_RBUTTON) < 0) s.Include(ssRight);
  if (GetKeyState(VK_MBUTTON) < 0) s.Include(ssMiddle);
  return s;
}

TShiftState KeysToShiftState(WORD Keys) {
  TShiftState s;
  if (Keys & MK_SHIFT) s.Include(ssShift);
  if (Keys & MK_CONTROL) s.Include(ssCtrl);
  if (Keys & MK_LBUTTON) s.Include(ssLeft);
  if (Keys & MK_RBUTTON) s.Include(ssRight);
  if (Keys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

namespace {
// The character after the first single "&", or 0.
char HotkeyOf(const AnsiString& s) {
  for (size_t i = 0; i + 1 < s.size(); ++i) {
    if (s[i] != '&') continue;
    if (s[i + 1] != '&') return s[i + 1];
    ++i;
  }
  return 0;
}
}  // namespace

bool IsAccel(WORD VK, const AnsiString& Str) {
  char hot = HotkeyOf(Str);
  if (!hot || VK > 0xFF) return false;
  return AnsiUpperCase(AnsiString(1, hot)) == AnsiUpperCase(AnsiString(1, char(VK)));
}

AnsiString StripHotkey(const AnsiString& Str) {
  AnsiString out;
  for (size_t i = 0; i < Str.size(); ++i) {
    if (Str[i] == '&' && i + 1 < Str.size())
      ++i;
    else if (Str[i] == '&')
      continue;
    out += Str[i];
  }
  return out;
}

AnsiString GetShortHint(const AnsiString& Hint) {
  size_t bar = Hint.find('|');
  return bar == AnsiString::npos ? Hint : Hint.substr(0, bar);
}

AnsiString GetLongHint(const AnsiString& Hint) {
  size_t bar = Hint.find('|');
  return bar == AnsiString::npos ? Hint : Hint.substr(bar + 1);
}

void MoveWindowOrg(HDC DC, int32_t DX, int32_t DY) {
  POINT p;
  GetWindowOrgEx(DC, &p);
  SetWindowOrgEx(DC, p.X - DX, p.Y - DY, nullptr);
}

TPopupMenuHandler SetPopupMenuHandler(TPopupMenuHandler Handler) {
  return std::exchange(PopupMenuHandlerSlot(), std::move(Handler));
}
