// The layout schematic of the plot's property editor: the data view in the middle and every
// layout object as a labelled box in its band around it, in the plot's own band order.  With the
// mouse an object is moved into another band, between bands, to another side of the data view
// (turning it), swapped with an object of its band, or has one end dragged in 1.25 % steps.
//
// Thread contract: UI thread only.
#pragma once

#include <memory>
#include <vector>

#include "plot/iPlotLayoutManager.h"
#include "widgets/iCustomComponent.h"

class TiPlotMasterManager;
class TiPlotTranslationManager;

// A drop target of the schematic: one band, or the data view seen from one orientation.
class TBlockObject {
 public:
  TRect Rect{0, 0, 0, 0};
  int32_t ZOrder = 0;
  bool Horizontal = false;
  bool DataViewBlock = false;
  bool OutermostTop = false;
};

class TiPlotLayoutViewer : public TiCustomComponent {
  PL_CLASS(TiPlotLayoutViewer)
 public:
  explicit TiPlotLayoutViewer(TComponent* AOwner);
  ~TiPlotLayoutViewer() override;

  // The plot's managers (none owned); the editor sets them when it opens.
  void SetLayoutManager(TiPlotLayoutManager* Value);
  TiPlotLayoutManager* GetLayoutManager() const { return FLayoutManager; }
  void SetMasterManager(TiPlotMasterManager* Value) { FMasterManager = Value; }
  TiPlotMasterManager* GetMasterManager() const { return FMasterManager; }
  void SetTranslationManager(TiPlotTranslationManager* Value) { FTranslationManager = Value; }

  void PaintToCanvas(TCanvas* Canvas) override;

  // The first object whose schematic box holds the point; data views answer for the data view,
  // the placeholders never.
  TiPlotLayoutObject* ObjectAt(int32_t X, int32_t Y) const;

  TNotifyEvent OnChange;

  // The geometry of the last paint, for the editor and for tests.
  int32_t BandHeight() const { return FBandHeight; }
  const TRect& DataViewRect() const { return FDataViewRect; }
  const std::vector<std::unique_ptr<TBlockObject>>& Blocks() const { return FBlocks; }
  // Builds the geometry without painting (a paint does it first).
  void BuildGeometry(TCanvas* Canvas);

 protected:
  void HandleMouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void HandleMouseMove(TShiftState Shift, int32_t X, int32_t Y) override;
  void HandleMouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;

 private:
  TBlockObject* BlockAt(int32_t X, int32_t Y) const;
  TiPlotLayoutObject* FindBandMember(TiPlotLayoutObject* Obj, bool Horizontal, int32_t ZOrder) const;
  void PlaceObjectRect(TiPlotLayoutObject* Obj);
  void DropIntoBand(TiPlotLayoutObject* Member);
  void FireChange();
  void RepaintSchematic();

  TiPlotLayoutManager* FLayoutManager = nullptr;
  TiPlotMasterManager* FMasterManager = nullptr;
  TiPlotTranslationManager* FTranslationManager = nullptr;
  std::unique_ptr<TFont> FViewerFont;
  std::vector<std::unique_ptr<TBlockObject>> FBlocks;
  int32_t FBandHeight = 0;
  TRect FInnerRect{0, 0, 0, 0};
  TRect FDataViewRect{0, 0, 0, 0};
  int32_t FDataViewWidth = 0;
  int32_t FDataViewHeight = 0;
  bool FButtonHeld = false;
  int32_t FPressX = 0;
  int32_t FPressY = 0;
  int32_t FDragMode = 0;    // 0 none, 1 move, 2 resize
  int32_t FResizeEdge = 0;  // 0 the start end, 1 the stop end
  double FStartAtPress = 0;
  double FStopAtPress = 0;
  TiPlotLayoutObject* FDragged = nullptr;
  TiPlotLayoutObject* FResizeCandidate = nullptr;
  TiPlotLayoutObject* FSwapTarget = nullptr;
  TBlockObject* FDropBlock = nullptr;
  int32_t FDropPosition = 0;  // 0 into the band, 1 before it, 2 after it
};
