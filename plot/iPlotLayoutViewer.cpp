#include "plot/iPlotLayoutViewer.h"

#include <algorithm>
#include <cstdlib>

#include "platform/runtime/MathUtils.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLegend.h"
#include "plot/iPlotTable.h"
#include "plot/iPlotToolBar.h"
#include "plot/iPlotTranslation.h"

// Sections: kinds and small arithmetic / geometry / painting / mouse.

// ============================================================================================
// kinds and small arithmetic
// ============================================================================================

namespace {

bool ViewerIsDataView(const TObject* o) { return dynamic_cast<const TiPlotDataView*>(o) != nullptr; }
bool ViewerIsPlaceholder(const TObject* o) { return dynamic_cast<const TiPlotDataViewLayout*>(o) != nullptr; }
bool ViewerIsAxis(const TObject* o) { return dynamic_cast<const TiPlotAxis*>(o) != nullptr; }
bool ViewerIsLabel(const TObject* o) { return dynamic_cast<const TiPlotLabel*>(o) != nullptr; }
bool ViewerIsLegend(const TObject* o) { return dynamic_cast<const TiPlotLegend*>(o) != nullptr; }
bool ViewerIsTable(const TObject* o) { return dynamic_cast<const TiPlotTable*>(o) != nullptr; }
bool ViewerIsToolBar(const TObject* o) { return dynamic_cast<const TiPlotToolBar*>(o) != nullptr; }

int32_t ViewerRound(long double v) { return static_cast<int32_t>(Round(v)); }

// Whether a dragged object may join the band of M beside it.
bool ViewerMayShare(const TObject* dragged, const TObject* m) {
  if (ViewerIsAxis(dragged) && ViewerIsAxis(m)) return true;
  if (ViewerIsLabel(dragged) && (ViewerIsLabel(m) || ViewerIsLegend(m))) return true;
  return ViewerIsLegend(dragged) && ViewerIsLabel(m);
}

}  // namespace

const TClassInfo& TiPlotLayoutViewer::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiPlotLayoutViewer, TiCustomComponent>("TiPlotLayoutViewer")
                                     .Event("OnChange", &TiPlotLayoutViewer::OnChange);
  return info;
}

TiPlotLayoutViewer::TiPlotLayoutViewer(TComponent* AOwner)
    : TiCustomComponent(AOwner), FViewerFont(std::make_unique<TFont>()) {
  FViewerFont->SetName("Arial");
  FViewerFont->SetSize(10);
}

TiPlotLayoutViewer::~TiPlotLayoutViewer() = default;

void TiPlotLayoutViewer::SetLayoutManager(TiPlotLayoutManager* Value) {
  if (FLayoutManager == Value) return;
  FLayoutManager = Value;
  FDragMode = 0;
  FDragged = FResizeCandidate = FSwapTarget = nullptr;
  FDropBlock = nullptr;
  FBlocks.clear();
  RepaintSchematic();
}

void TiPlotLayoutViewer::RepaintSchematic() { RequestRepaint(); }

void TiPlotLayoutViewer::FireChange() { OnChange(this); }

// ============================================================================================
// geometry
// ============================================================================================

void TiPlotLayoutViewer::BuildGeometry(TCanvas* Canvas) {
  FInnerRect = TRect{5, 5, Width() - 5, Height() - 5};
  if (!FLayoutManager) return;
  Canvas->GetFont()->Assign(FViewerFont.get());
  FBandHeight = ViewerRound(1.1L * Canvas->TextHeight("ABC"));
  const int32_t hB = FBandHeight;
  const int32_t L = FLayoutManager->LeftBandCount(), R = FLayoutManager->RightBandCount();
  const int32_t T = FLayoutManager->TopBandCount(), B = FLayoutManager->BottomBandCount();
  FDataViewRect = TRect{FInnerRect.Left + L * hB, FInnerRect.Top + T * hB, FInnerRect.Right - R * hB,
                        FInnerRect.Bottom - B * hB};
  FDataViewWidth = FDataViewRect.Right - FDataViewRect.Left;
  FDataViewHeight = FDataViewRect.Bottom - FDataViewRect.Top;
  const TRect& dv = FDataViewRect;

  // While a move hovers over a block the blocks stay, so the drop block stays valid.
  if (!FDropBlock) {
    std::vector<std::unique_ptr<TBlockObject>> made;
    auto add = [&](const TRect& r, int32_t z, bool horizontal, bool dataView, bool outermost) {
      auto b = std::make_unique<TBlockObject>();
      b->Rect = r;
      b->ZOrder = z;
      b->Horizontal = horizontal;
      b->DataViewBlock = dataView;
      b->OutermostTop = outermost;
      made.push_back(std::move(b));
    };
    for (int32_t o = 0; o < L; ++o)
      add({FInnerRect.Left + o * hB, dv.Top, FInnerRect.Left + (o + 1) * hB, dv.Bottom}, o, false, false,
          false);
    add(dv, L, false, true, false);
    for (int32_t t = 0; t < R; ++t)
      add({dv.Right + t * hB, dv.Top, dv.Right + (t + 1) * hB, dv.Bottom}, L + 1 + t, false, false, false);
    for (int32_t i = 0; i < T; ++i)
      add({FInnerRect.Left, FInnerRect.Top + i * hB, FInnerRect.Right, FInnerRect.Top + (i + 1) * hB},
          T + B - i, true, false, i == 0);
    add(dv, B, true, true, false);
    for (int32_t w = 0; w < B; ++w)
      add({FInnerRect.Left, dv.Bottom + w * hB, FInnerRect.Right, dv.Bottom + (w + 1) * hB}, B - 1 - w, true,
          false, false);
    // Each block went to the front of the list: the last made is found first.
    std::reverse(made.begin(), made.end());
    FBlocks = std::move(made);
  }

  for (TiPlotLayoutObject* o : FLayoutManager->LayoutObjects()) PlaceObjectRect(o);
}

void TiPlotLayoutViewer::PlaceObjectRect(TiPlotLayoutObject* Obj) {
  const TRect& dv = FDataViewRect;
  if (ViewerIsDataView(Obj) || ViewerIsPlaceholder(Obj)) {
    Obj->SetViewerRect(dv);
    return;
  }
  const int32_t hB = FBandHeight;
  const int32_t Z = Obj->GetZOrder();
  TRect r{0, 0, 0, 0};
  if (Obj->GetHorizontal()) {
    const int32_t P = FLayoutManager->GetDataViewHorz()->GetZOrder();
    if (Z > P) {
      r.Top = dv.Top - (Z - P) * hB;
      r.Bottom = dv.Top - (Z - P - 1) * hB;
    } else {
      r.Top = dv.Bottom + (P - Z - 1) * hB;
      r.Bottom = dv.Bottom + (P - Z) * hB;
    }
    if (ViewerIsAxis(Obj)) {
      r.Left = ViewerRound(dv.Left + Obj->GetStartPercent() * FDataViewWidth / 100.0L);
      r.Right = ViewerRound(dv.Left + Obj->GetStopPercent() * FDataViewWidth / 100.0L);
    } else {
      const int32_t span = FInnerRect.Right - FInnerRect.Left;
      r.Left = FInnerRect.Left + ViewerRound(span * static_cast<long double>(Obj->GetStartPercent()) / 100);
      r.Right = FInnerRect.Left + ViewerRound(span * static_cast<long double>(Obj->GetStopPercent()) / 100);
    }
  } else {
    const int32_t P = FLayoutManager->GetDataViewVert()->GetZOrder();
    if (Z > P) {
      r.Left = dv.Right + (Z - P - 1) * hB;
      r.Right = dv.Right + (Z - P) * hB;
    } else {
      r.Left = dv.Left - (P - Z) * hB;
      r.Right = dv.Left - (P - Z - 1) * hB;
    }
    r.Top = dv.Bottom - ViewerRound(FDataViewHeight * static_cast<long double>(Obj->GetStopPercent()) / 100);
    r.Bottom =
        dv.Bottom - ViewerRound(FDataViewHeight * static_cast<long double>(Obj->GetStartPercent()) / 100);
  }
  Obj->SetViewerRect(r);
}

TiPlotLayoutObject* TiPlotLayoutViewer::ObjectAt(int32_t X, int32_t Y) const {
  if (!FLayoutManager) return nullptr;
  for (TiPlotLayoutObject* o : FLayoutManager->LayoutObjects()) {
    if (ViewerIsPlaceholder(o)) continue;
    if (o->GetViewerRect().Contains(TPoint{X, Y})) return o;
  }
  return nullptr;
}

TBlockObject* TiPlotLayoutViewer::BlockAt(int32_t X, int32_t Y) const {
  const int32_t hB = FBandHeight;
  for (const auto& b : FBlocks) {
    const TRect& r = b->Rect;
    if (!r.Contains(TPoint{X, Y})) continue;
    if (b->OutermostTop && Y < (r.Top + r.Bottom) / 2) continue;
    if (b->DataViewBlock) {
      const bool nearEdge =
          b->Horizontal ? (Y >= r.Bottom - hB || Y < r.Top + hB) : (X < r.Left + hB || X >= r.Right - hB);
      if (!nearEdge) continue;
    }
    return b.get();
  }
  return nullptr;
}

TiPlotLayoutObject* TiPlotLayoutViewer::FindBandMember(TiPlotLayoutObject* Obj, bool Horizontal,
                                                       int32_t ZOrder) const {
  if (!FLayoutManager) return nullptr;
  TiPlotLayoutObject* otherPlaceholder =
      Horizontal ? static_cast<TiPlotLayoutObject*>(FLayoutManager->GetDataViewVert())
                 : FLayoutManager->GetDataViewHorz();
  for (TiPlotLayoutObject* o : FLayoutManager->LayoutObjects()) {
    if (o == Obj || ViewerIsDataView(o) || o == otherPlaceholder) continue;
    if (o->GetHorizontal() == Horizontal && o->GetZOrder() == ZOrder) return o;
  }
  return nullptr;
}

// ============================================================================================
// painting
// ============================================================================================

void TiPlotLayoutViewer::PaintToCanvas(TCanvas* Canvas) {
  BuildGeometry(Canvas);
  TBrush* brush = Canvas->GetBrush();
  brush->SetStyle(bsSolid);
  brush->SetColor(TColor(0xFF0000));
  Canvas->FillRect(Canvas->GetClipRect());
  brush->SetColor(clWhite);
  Canvas->FillRect(FInnerRect);
  if (!FLayoutManager) return;

  Canvas->GetFont()->Assign(FViewerFont.get());
  for (TiPlotLayoutObject* o : FLayoutManager->LayoutObjects()) {
    // The horizontal placeholder, named "Data View", stands for the data view.
    if (ViewerIsDataView(o) || o == FLayoutManager->GetDataViewVert()) continue;
    const TRect& r = o->GetViewerRect();
    brush->SetColor(o == FDragged ? TColor(0x00FFFF) : TColor(0xC0C0C0));
    brush->SetStyle(o->GetVisible() ? bsSolid : bsDiagCross);
    Canvas->FillRect(r);
    brush->SetStyle(bsClear);
    const AnsiString name =
        FTranslationManager ? FTranslationManager->TranslateText(o->GetName()) : o->GetName();
    TRect extent{0, 0, 0, 0};
    DrawRotatedText(Canvas, name, r, extent, o->GetHorizontal() ? 0 : 1);
  }

  TRect indicator{0, 0, 0, 0};
  bool show = false;
  const int32_t hB = FBandHeight;
  if (FSwapTarget) {
    indicator = FSwapTarget->GetViewerRect();
    show = true;
  } else if (FDropBlock) {
    indicator = FDropBlock->Rect;
    auto shift = [&indicator](int32_t dx, int32_t dy) {
      indicator.Left += dx;
      indicator.Right += dx;
      indicator.Top += dy;
      indicator.Bottom += dy;
    };
    if (FDropBlock->Horizontal) {
      if (FDropPosition == 1) shift(0, hB / 2);
      if (FDropPosition == 2) shift(0, -(hB / 2 - 1));
    } else {
      if (FDropPosition == 1) shift(-(hB / 2), 0);
      if (FDropPosition == 2) shift(hB / 2 + 1, 0);
    }
    if (FDropBlock->DataViewBlock) {
      if (FDropBlock->Horizontal) {
        indicator.Left = FInnerRect.Left;
        indicator.Right = FInnerRect.Right;
        if (FDropPosition == 1) indicator.Top = indicator.Bottom - hB;
        if (FDropPosition == 2) indicator.Bottom = indicator.Top + hB;
      } else {
        if (FDropPosition == 1) indicator.Right = indicator.Left + hB;
        if (FDropPosition == 2) indicator.Left = indicator.Right - hB;
      }
    }
    show = true;
  }
  if (show) {
    TPen* pen = Canvas->GetPen();
    pen->SetColor(clBlack);
    pen->SetWidth(2);
    pen->SetStyle(psSolid);
    brush->SetStyle(bsClear);
    Canvas->Rectangle(indicator);
    pen->SetWidth(1);
  }
}

// ============================================================================================
// mouse
// ============================================================================================

void TiPlotLayoutViewer::HandleMouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TiPlotLayoutObject* obj = ObjectAt(X, Y);
  if (!obj || ViewerIsDataView(obj) || ViewerIsToolBar(obj)) return;
  FDragged = obj;
  FButtonHeld = true;
  FPressX = X;
  FPressY = Y;
  if (Button != mbLeft && !Shift.Contains(ssLeft)) FDropPosition = 0;
  if (FResizeCandidate) {
    FDragMode = 2;
    FStartAtPress = obj->GetStartPercent();
    FStopAtPress = obj->GetStopPercent();
  } else {
    FDragMode = 1;
  }
  RepaintSchematic();
}

void TiPlotLayoutViewer::HandleMouseMove(TShiftState Shift, int32_t X, int32_t Y) {
  SetCursor(crDefault);
  const bool leftHeld = Shift.Contains(ssLeft);
  if (FDragMode == 1 && !leftHeld) return;
  FSwapTarget = nullptr;
  FDropBlock = nullptr;
  TiPlotLayoutObject* obj = ObjectAt(X, Y);
  TBlockObject* blk = BlockAt(X, Y);

  if (FDragMode == 0) {
    if (!obj) {
      FResizeCandidate = nullptr;
    } else if (ViewerIsAxis(obj) || ViewerIsLabel(obj) || ViewerIsTable(obj) || ViewerIsLegend(obj)) {
      const TRect& r = obj->GetViewerRect();
      int32_t edge = -1;
      if (obj->GetHorizontal()) {
        if (std::abs(X - r.Left) <= 6)
          edge = 0;
        else if (std::abs(X - r.Right) <= 6)
          edge = 1;
      } else {
        if (std::abs(Y - r.Bottom) <= 6)
          edge = 0;
        else if (std::abs(Y - r.Top) <= 6)
          edge = 1;
      }
      if (edge >= 0) {
        FResizeEdge = edge;
        SetCursor(obj->GetHorizontal() ? crSizeWE : crSizeNS);
        FResizeCandidate = obj;
      } else {
        FResizeCandidate = nullptr;
      }
    }
  } else if (FDragMode == 1 && FButtonHeld) {
    if (obj && !ViewerIsDataView(obj) && obj != FDragged &&
        obj->GetHorizontal() == FDragged->GetHorizontal() && obj->GetZOrder() == FDragged->GetZOrder())
      FSwapTarget = obj;
    if (blk) {
      if (!(ViewerIsAxis(FDragged) && blk->Horizontal != FDragged->GetHorizontal())) {
        FDropBlock = blk;
        TiPlotLayoutObject* m = FindBandMember(FDragged, blk->Horizontal, blk->ZOrder);
        if (!m) return;
        const TRect& r = blk->Rect;
        const int32_t h = r.Bottom - r.Top, w = r.Right - r.Left;
        if (!ViewerMayShare(FDragged, m)) {
          if (blk->Horizontal)
            FDropPosition = Y > r.Top + h / 2 ? 1 : 2;
          else
            FDropPosition = X < r.Left + w / 2 ? 1 : 2;
        } else if (blk->OutermostTop) {
          if (Y > r.Top + 2 * h / 3)
            FDropPosition = 1;
          else
            FDropBlock = nullptr;
        } else if (blk->Horizontal) {
          FDropPosition = Y > r.Top + 2 * h / 3 ? 1 : (Y > r.Top + h / 3 ? 0 : 2);
        } else {
          FDropPosition = X < r.Left + w / 3 ? 1 : (X < r.Left + 2 * w / 3 ? 0 : 2);
        }
      }
    }
  } else if (FDragMode == 2 && FButtonHeld && FDragged) {
    long double change = 0;
    if (FDragged->GetHorizontal()) {
      if (FDataViewWidth > 0) change = static_cast<long double>(X - FPressX) / FDataViewWidth * 100;
    } else if (FDataViewHeight > 0) {
      change = static_cast<long double>(FPressY - Y) / FDataViewHeight * 100;
    }
    const double rounded = static_cast<double>(Round(change / 1.25L)) * 1.25;
    if (FResizeEdge == 0)
      FDragged->SetStartPercent(FStartAtPress + rounded);
    else
      FDragged->SetStopPercent(FStopAtPress + rounded);
  }
  RepaintSchematic();
}

void TiPlotLayoutViewer::DropIntoBand(TiPlotLayoutObject* Member) {
  std::vector<TiPlotLayoutObject*> band;
  for (TiPlotLayoutObject* o : FLayoutManager->LayoutObjects())
    if (!ViewerIsDataView(o) && o != FDragged && o->GetHorizontal() == FDropBlock->Horizontal &&
        o->GetZOrder() == FDropBlock->ZOrder)
      band.push_back(o);
  band.push_back(FDragged);
  const int32_t n = static_cast<int32_t>(band.size());
  for (int32_t k = 0; k < n; ++k) {
    band[k]->SetStopPercent((k + 1) * 100.0 / n);
    band[k]->SetStartPercent(k * 100.0 / n);
  }
  if (Member) {
    FLayoutManager->CloseGap(FDragged);
    FLayoutManager->InsertAt(FDragged, Member->GetZOrder(), 0);
  }
}

void TiPlotLayoutViewer::HandleMouseUp(TMouseButton, TShiftState, int32_t, int32_t) {
  FButtonHeld = false;
  if (FDragMode == 1 && FDropBlock && FDragged && FLayoutManager) {
    TiPlotLayoutObject* m = FindBandMember(FDragged, FDropBlock->Horizontal, FDropBlock->ZOrder);
    if (FSwapTarget) {
      const double start = FDragged->GetStartPercent(), stop = FDragged->GetStopPercent();
      FDragged->SetPercents(FSwapTarget->GetStartPercent(), FSwapTarget->GetStopPercent());
      FSwapTarget->SetPercents(start, stop);
      FireChange();
    } else if (FDropBlock->Horizontal != FDragged->GetHorizontal()) {
      // A band number no other object has (gaps in the numbering) cannot be placed: ignored.
      if (m) {
        FLayoutManager->CloseGap(FDragged);
        FDragged->SetHorizontal(FDropBlock->Horizontal);
        FLayoutManager->InsertAt(FDragged, m->GetZOrder(), FDropPosition);
        FireChange();
      }
    } else if (FDropPosition == 1 || FDropPosition == 2) {
      if (m) {
        FLayoutManager->CloseGap(FDragged);
        FLayoutManager->InsertAt(FDragged, m->GetZOrder(), FDropPosition);
      }
      FDragged->SetPercents(0, 100);
      FireChange();
    } else if (FDropPosition == 0) {
      DropIntoBand(m);
      FireChange();
    }
  } else if (FDragMode == 2 && FResizeCandidate) {
    FireChange();
  }
  FDragMode = 0;
  SetCursor(crDefault);
  FSwapTarget = nullptr;
  FDropBlock = nullptr;
  FDragged = nullptr;
  FResizeCandidate = nullptr;
  RepaintSchematic();
}
