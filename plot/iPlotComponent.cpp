#include "plot/iPlotComponent.h"

#include <algorithm>

#include "platform/os/gdi/Gdi.h"
#include "platform/runtime/Filer.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/TypInfo.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "plot/iPlotAnnotation.h"
#include "plot/iPlotDataCursor.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLegend.h"
#include "plot/iPlotLimit.h"
#include "plot/iPlotPreview.h"
#include "plot/iPlotTable.h"
#include "widgets/iEditorBasicComponents.h"
#include "widgets/iVCLComponent.h"

PL_ENUM_NAMES(TiPlotFormStyle, "ipfsModal", "ipfsStayOnTop")
PL_ENUM_NAMES(TiPlotExportFormat, "ipefMetaFile", "ipefBitmap", "ipefJPEG")
PL_ENUM_NAMES(TiPlotDataFileColumnSeparator, "ipdfcsTab", "ipdfcsComma")
PL_ENUM_NAMES(TiPlotDataFileFormat, "ipdffText", "ipdffCompactInterval")

// Sections: published description / construction / per-kind operations / properties / events /
// axis services / painting / copy, save as image and printing / streaming.

// ============================================================================================
// published description
// ============================================================================================

namespace {

using PC = TiPlotComponent;

// Typed item access through a kind's manager; a wrong class is the framework's invalid cast.
template <class T>
T* PlotComponentItem(TiPlotObjectManagerCustom* Manager, int32_t Index) {
  if (!Manager) throw EStringListError("List index out of bounds (" + IntToStr(Index) + ")");
  TiPlotObject* o = Manager->Items(Index);
  auto* t = dynamic_cast<T*>(o);
  if (!t) throw EInvalidCast("Invalid class typecast");
  return t;
}

int32_t PlotComponentCount(const TiPlotObjectManagerCustom* Manager) {
  return Manager ? Manager->Count() : 0;
}

}  // namespace

const TClassInfo& TiPlotComponent::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<PC, TiCustomComponent>("TiPlotComponent")
          .Prop("DataViewZHorz", &PC::GetDataViewZHorz, &PC::SetDataViewZHorz)
          .Prop("DataViewZVert", &PC::GetDataViewZVert, &PC::SetDataViewZVert)
          .Prop("XYAxesReverse", &PC::GetXYAxesReverse, &PC::SetXYAxesReverse)
          .Default(false)
          .Prop("UserCanEditObjects", &PC::GetUserCanEditObjects, &PC::SetUserCanEditObjects)
          .Default(true)
          .Prop("UserCanAddRemoveChannels", &PC::GetUserCanAddRemoveChannels,
                &PC::SetUserCanAddRemoveChannels)
          .Default(false)
          .Prop("OuterMarginLeft", &PC::GetOuterMarginLeft, &PC::SetOuterMarginLeft)
          .Default(5)
          .Prop("OuterMarginTop", &PC::GetOuterMarginTop, &PC::SetOuterMarginTop)
          .Default(5)
          .Prop("OuterMarginRight", &PC::GetOuterMarginRight, &PC::SetOuterMarginRight)
          .Default(5)
          .Prop("OuterMarginBottom", &PC::GetOuterMarginBottom, &PC::SetOuterMarginBottom)
          .Default(5)
          .Prop("PrintOrientation", &PC::GetPrintOrientation, &PC::SetPrintOrientation)
          .Default(poLandscape)
          .Prop("PrintMarginLeft", &PC::GetPrintMarginLeft, &PC::SetPrintMarginLeft)
          .Prop("PrintMarginTop", &PC::GetPrintMarginTop, &PC::SetPrintMarginTop)
          .Prop("PrintMarginRight", &PC::GetPrintMarginRight, &PC::SetPrintMarginRight)
          .Prop("PrintMarginBottom", &PC::GetPrintMarginBottom, &PC::SetPrintMarginBottom)
          .Prop("PrintShowDialog", &PC::GetPrintShowDialog, &PC::SetPrintShowDialog)
          .Default(true)
          .Prop("PrintDocumentName", &PC::GetPrintDocumentName, &PC::SetPrintDocumentName)
          .Prop("PrinterName", &PC::GetPrinterName, &PC::SetPrinterName)
          .Prop("HintsPause", &PC::GetHintsPause, &PC::SetHintsPause)
          .Default(500)
          .Prop("HintsHidePause", &PC::GetHintsHidePause, &PC::SetHintsHidePause)
          .Default(2500)
          .Prop("HintsShow", &PC::GetHintsShow, &PC::SetHintsShow)
          .Default(true)
          .Object("HintsFont", &PC::GetHintsFont, &PC::SetHintsFont)
          .Prop("EditorFormStyle", &PC::GetEditorFormStyle, &PC::SetEditorFormStyle)
          .Prop("CopyToClipBoardFormat", &PC::GetCopyToClipBoardFormat, &PC::SetCopyToClipBoardFormat)
          .Prop("TitleVisible", &PC::GetTitleVisible, &PC::SetTitleVisible)
          .Default(true)
          .Prop("TitleText", &PC::GetTitleText, &PC::SetTitleText)
          .Object("TitleFont", &PC::GetTitleFont, &PC::SetTitleFont)
          .Prop("TitleMargin", &PC::GetTitleMargin, &PC::SetTitleMargin)
          .Prop("LogFileName", &PC::GetLogFileName, &PC::SetLogFileName)
          .Prop("LogBufferSize", &PC::GetLogBufferSize, &PC::SetLogBufferSize)
          .Default(0)
          .Prop("LoggingActive", &PC::GetLoggingActive)
          .Event("OnMouseDownChannel", &PC::OnMouseDownChannel)
          .Event("OnMouseDownXAxis", &PC::OnMouseDownXAxis)
          .Event("OnMouseDownYAxis", &PC::OnMouseDownYAxis)
          .Event("OnMouseDownDataCursor", &PC::OnMouseDownDataCursor)
          .Event("OnMouseDownDataView", &PC::OnMouseDownDataView)
          .Event("OnMouseDownLegend", &PC::OnMouseDownLegend)
          .Event("OnMouseDownLimit", &PC::OnMouseDownLimit)
          .Event("OnMouseDownAnnotation", &PC::OnMouseDownAnnotation)
          .Event("OnMouseMoveChannel", &PC::OnMouseMoveChannel)
          .Event("OnMouseMoveXAxis", &PC::OnMouseMoveXAxis)
          .Event("OnMouseMoveYAxis", &PC::OnMouseMoveYAxis)
          .Event("OnMouseMoveDataCursor", &PC::OnMouseMoveDataCursor)
          .Event("OnMouseMoveDataView", &PC::OnMouseMoveDataView)
          .Event("OnMouseMoveLegend", &PC::OnMouseMoveLegend)
          .Event("OnMouseMoveLimit", &PC::OnMouseMoveLimit)
          .Event("OnMouseMoveAnnotation", &PC::OnMouseMoveAnnotation)
          .Event("OnMouseUpChannel", &PC::OnMouseUpChannel)
          .Event("OnMouseUpXAxis", &PC::OnMouseUpXAxis)
          .Event("OnMouseUpYAxis", &PC::OnMouseUpYAxis)
          .Event("OnMouseUpDataCursor", &PC::OnMouseUpDataCursor)
          .Event("OnMouseUpDataView", &PC::OnMouseUpDataView)
          .Event("OnMouseUpLegend", &PC::OnMouseUpLegend)
          .Event("OnMouseUpLimit", &PC::OnMouseUpLimit)
          .Event("OnMouseUpAnnotation", &PC::OnMouseUpAnnotation)
          .Event("OnClickChannel", &PC::OnClickChannel)
          .Event("OnClickXAxis", &PC::OnClickXAxis)
          .Event("OnClickYAxis", &PC::OnClickYAxis)
          .Event("OnClickDataCursor", &PC::OnClickDataCursor)
          .Event("OnClickDataView", &PC::OnClickDataView)
          .Event("OnClickLegend", &PC::OnClickLegend)
          .Event("OnClickLimit", &PC::OnClickLimit)
          .Event("OnClickAnnotation", &PC::OnClickAnnotation)
          .Event("OnClickDataPoint", &PC::OnClickDataPoint)
          .Event("OnDblClickChannel", &PC::OnDblClickChannel)
          .Event("OnDblClickXAxis", &PC::OnDblClickXAxis)
          .Event("OnDblClickYAxis", &PC::OnDblClickYAxis)
          .Event("OnDblClickDataCursor", &PC::OnDblClickDataCursor)
          .Event("OnDblClickDataView", &PC::OnDblClickDataView)
          .Event("OnDblClickLegend", &PC::OnDblClickLegend)
          .Event("OnDblClickLimit", &PC::OnDblClickLimit)
          .Event("OnDblClickAnnotation", &PC::OnDblClickAnnotation)
          .Event("OnDblClickDataPoint", &PC::OnDblClickDataPoint)
          .Event("OnGotFocusChannel", &PC::OnGotFocusChannel)
          .Event("OnGotFocusXAxis", &PC::OnGotFocusXAxis)
          .Event("OnGotFocusYAxis", &PC::OnGotFocusYAxis)
          .Event("OnGotFocusDataCursor", &PC::OnGotFocusDataCursor)
          .Event("OnGotFocusDataView", &PC::OnGotFocusDataView)
          .Event("OnGotFocusLegend", &PC::OnGotFocusLegend)
          .Event("OnGotFocusAnnotation", &PC::OnGotFocusAnnotation)
          .Event("OnLostFocusChannel", &PC::OnLostFocusChannel)
          .Event("OnLostFocusXAxis", &PC::OnLostFocusXAxis)
          .Event("OnLostFocusYAxis", &PC::OnLostFocusYAxis)
          .Event("OnLostFocusDataCursor", &PC::OnLostFocusDataCursor)
          .Event("OnLostFocusDataView", &PC::OnLostFocusDataView)
          .Event("OnLostFocusLegend", &PC::OnLostFocusLegend)
          .Event("OnLostFocusAnnotation", &PC::OnLostFocusAnnotation)
          .Event("OnPopupMenuChannel", &PC::OnPopupMenuChannel)
          .Event("OnPopupMenuXAxis", &PC::OnPopupMenuXAxis)
          .Event("OnPopupMenuYAxis", &PC::OnPopupMenuYAxis)
          .Event("OnPopupMenuDataCursor", &PC::OnPopupMenuDataCursor)
          .Event("OnPopupMenuDataView", &PC::OnPopupMenuDataView)
          .Event("OnPopupMenuLegend", &PC::OnPopupMenuLegend)
          .Event("OnPopupMenuLimit", &PC::OnPopupMenuLimit)
          .Event("OnPopupMenuAnnotation", &PC::OnPopupMenuAnnotation)
          .Event("OnDataCursorChange", &PC::OnDataCursorChange)
          .Event("OnBeforeDataCursorUpdate", &PC::OnBeforeDataCursorUpdate)
          .Event("OnDataCursorCustomizeHint", &PC::OnDataCursorCustomizeHint)
          .Event("OnXAxisMinChange", &PC::OnXAxisMinChange)
          .Event("OnXAxisSpanChange", &PC::OnXAxisSpanChange)
          .Event("OnXAxisMinSpanChange", &PC::OnXAxisMinSpanChange)
          .Event("OnYAxisMinChange", &PC::OnYAxisMinChange)
          .Event("OnYAxisSpanChange", &PC::OnYAxisSpanChange)
          .Event("OnYAxisMinSpanChange", &PC::OnYAxisMinSpanChange)
          .Event("OnXAxisCustomizeLabel", &PC::OnXAxisCustomizeLabel)
          .Event("OnYAxisCustomizeLabel", &PC::OnYAxisCustomizeLabel)
          .Event("OnXAxisCustomizeHint", &PC::OnXAxisCustomizeHint)
          .Event("OnYAxisCustomizeHint", &PC::OnYAxisCustomizeHint)
          .Event("OnToolBarCustomizeHint", &PC::OnToolBarCustomizeHint)
          .Event("OnToolBarButtonClick", &PC::OnToolBarButtonClick)
          .Event("OnBeforeZoomBox", &PC::OnBeforeZoomBox)
          .Event("OnLimitLine1PositionChange", &PC::OnLimitLine1PositionChange)
          .Event("OnLimitLine2PositionChange", &PC::OnLimitLine2PositionChange)
          .Event("OnAnnotationCoordinatesChange", &PC::OnAnnotationCoordinatesChange)
          .Event("OnAnnotationCoordinatesChangeFinished", &PC::OnAnnotationCoordinatesChangeFinished)
          .Event("OnBeforePrint", &PC::OnBeforePrint)
          .Event("OnAfterPrint", &PC::OnAfterPrint)
          .Event("OnBeforeLoadProperties", &PC::OnBeforeLoadProperties)
          .Event("OnAfterLoadProperties", &PC::OnAfterLoadProperties)
          .Event("OnAfterSaveProperties", &PC::OnAfterSaveProperties)
          .Event("OnAfterLoadData", &PC::OnAfterLoadData)
          .Event("OnAfterSaveData", &PC::OnAfterSaveData)
          .Event("OnAfterOpenEditor", &PC::OnAfterOpenEditor)
          .Event("OnAfterCloseEditor", &PC::OnAfterCloseEditor)
          .Object("AnnotationDefaultFont", &PC::GetAnnotationDefaultFont, &PC::SetAnnotationDefaultFont)
          .Prop("AnnotationDefaultBrushStlye", &PC::GetAnnotationDefaultBrushStlye,
                &PC::SetAnnotationDefaultBrushStlye)
          .Prop("AnnotationDefaultBrushColor", &PC::GetAnnotationDefaultBrushColor,
                &PC::SetAnnotationDefaultBrushColor)
          .Type(ColorTypeInfo())
          .Prop("AnnotationDefaultPenStlye", &PC::GetAnnotationDefaultPenStlye,
                &PC::SetAnnotationDefaultPenStlye)
          .Prop("AnnotationDefaultPenColor", &PC::GetAnnotationDefaultPenColor,
                &PC::SetAnnotationDefaultPenColor)
          .Type(ColorTypeInfo())
          .Prop("AnnotationDefaultPenWidth", &PC::GetAnnotationDefaultPenWidth,
                &PC::SetAnnotationDefaultPenWidth)
          .Prop("ClipAnnotationsToAxes", &PC::GetClipAnnotationsToAxes, &PC::SetClipAnnotationsToAxes)
          .Prop("BackGroundGradientEnabled", &PC::GetBackGroundGradientEnabled,
                &PC::SetBackGroundGradientEnabled)
          .Prop("BackGroundGradientDirection", &PC::GetBackGroundGradientDirection,
                &PC::SetBackGroundGradientDirection)
          .Prop("BackGroundGradientStartColor", &PC::GetBackGroundGradientStartColor,
                &PC::SetBackGroundGradientStartColor)
          .Type(ColorTypeInfo())
          .Prop("BackGroundGradientStopColor", &PC::GetBackGroundGradientStopColor,
                &PC::SetBackGroundGradientStopColor)
          .Type(ColorTypeInfo())
          .Prop("DataFileColumnSeparator", &PC::GetDataFileColumnSeparator, &PC::SetDataFileColumnSeparator)
          .Prop("DataFileFormat", &PC::GetDataFileFormat, &PC::SetDataFileFormat)
          .Prop("BackGroundColor", &TiComponent::GetBackGroundColor, &TiComponent::SetBackGroundColor)
          .Default(0)
          .Type(ColorTypeInfo())
          .Prop("BorderStyle", &TiComponent::GetBorderStyle, &TiComponent::SetBorderStyle)
          .Default(ibsLowered)
          .Prop("AutoFrameRate", &TiComponent::GetAutoFrameRate, &TiComponent::SetAutoFrameRate)
          .Default(true)
          .Prop("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop)
          .Default(false)
          .Prop("TabOrder", &TWinControl::GetTabOrder, &TWinControl::SetTabOrder)
          .Default(-1)
          .Prop("Width", &TControl::GetWidth, &TControl::SetWidth)
          .Default(500)
          .Type(ControlCoordTypeInfo())
          .Prop("Height", &TControl::GetHeight, &TControl::SetHeight)
          .Default(200)
          .Type(ControlCoordTypeInfo());
  return info;
}

// ============================================================================================
// construction
// ============================================================================================

TiPlotComponent::TiPlotComponent(TComponent* AOwner) : TiCustomComponent(AOwner) {
  SetBounds(Left(), Top(), 500, 200);
  SetBackGroundColor(0);
  SetBorderStyle(ibsLowered);
  SetUpdateFrameRate(60);
  SetAutoFrameRate(true);
  SetTabStop(false);
  FMaster = std::make_unique<TiPlotMasterManager>(this);
  FMaster->OnChange = TNotifyEvent(this, &TiPlotComponent::ObjectChanged);
  FMaster->OnRemove = TNotifyEvent(this, &TiPlotComponent::ObjectRemoved);
  FMaster->OnSelectionChanged = TNotifyEvent::Lambda([this](TObject*) { TiComponent::InvalidateNow(); });
  FPopupMenu = std::make_unique<TPopupMenu>(nullptr);
  FHintsFont = std::make_unique<TFont>();
  for (auto& list : FImageLists) {
    list = std::make_unique<TImageList>(nullptr);
    list->SetWidth(24);
    list->SetHeight(24);
  }
  FAnnotationDefaultFont = std::make_unique<TFont>();
  FAnnotationDefaultFont->SetColor(0xFFFFFF);
  FMaster->SetUserCanEditObjects(true);
  OnTimer = TNotifyEvent(this, &TiPlotComponent::HintTimerTick);
}

TiPlotComponent::~TiPlotComponent() {
  FHoverObject = nullptr;
  FOccupiedRects.clear();
  if (FMaster && FMaster->GetObjectManager()) FMaster->GetObjectManager()->DetachAll();
  FMaster.reset();
}

void TiPlotComponent::DisableLayout() { FMaster->SetLayoutActive(false); }
void TiPlotComponent::EnableLayout() { FMaster->SetLayoutActive(true); }

// ============================================================================================
// per-kind operations
// ============================================================================================

int32_t TiPlotComponent::ToolBarCount() const { return PlotComponentCount(FMaster->GetToolBarManager()); }
int32_t TiPlotComponent::LegendCount() const { return PlotComponentCount(FMaster->GetLegendManager()); }
int32_t TiPlotComponent::TableCount() const { return PlotComponentCount(FMaster->GetTableManager()); }
int32_t TiPlotComponent::XAxisCount() const { return PlotComponentCount(FMaster->GetXAxisManager()); }
int32_t TiPlotComponent::YAxisCount() const { return PlotComponentCount(FMaster->GetYAxisManager()); }
int32_t TiPlotComponent::DataViewCount() const { return PlotComponentCount(FMaster->GetDataViewManager()); }
int32_t TiPlotComponent::DataCursorCount() const {
  return PlotComponentCount(FMaster->GetDataCursorManager());
}
int32_t TiPlotComponent::ChannelCount() const { return PlotComponentCount(FMaster->GetChannelManager()); }
int32_t TiPlotComponent::AnnotationCount() const {
  return PlotComponentCount(FMaster->GetAnnotationManager());
}
int32_t TiPlotComponent::LimitCount() const { return PlotComponentCount(FMaster->GetLimitManager()); }
int32_t TiPlotComponent::LabelCount() const { return PlotComponentCount(FMaster->GetLabelManager()); }

TiPlotToolBar* TiPlotComponent::GetToolBar(int32_t Index) const {
  return PlotComponentItem<TiPlotToolBar>(FMaster->GetToolBarManager(), Index);
}
TiPlotLegend* TiPlotComponent::GetLegend(int32_t Index) const {
  return PlotComponentItem<TiPlotLegend>(FMaster->GetLegendManager(), Index);
}
TiPlotTable* TiPlotComponent::GetTable(int32_t Index) const {
  return PlotComponentItem<TiPlotTable>(FMaster->GetTableManager(), Index);
}
TiPlotXAxis* TiPlotComponent::GetXAxis(int32_t Index) const {
  return PlotComponentItem<TiPlotXAxis>(FMaster->GetXAxisManager(), Index);
}
TiPlotYAxis* TiPlotComponent::GetYAxis(int32_t Index) const {
  return PlotComponentItem<TiPlotYAxis>(FMaster->GetYAxisManager(), Index);
}
TiPlotDataView* TiPlotComponent::GetDataView(int32_t Index) const {
  return PlotComponentItem<TiPlotDataView>(FMaster->GetDataViewManager(), Index);
}
TiPlotDataCursor* TiPlotComponent::GetDataCursor(int32_t Index) const {
  return PlotComponentItem<TiPlotDataCursor>(FMaster->GetDataCursorManager(), Index);
}
TiPlotChannelCustom* TiPlotComponent::GetChannel(int32_t Index) const {
  return PlotComponentItem<TiPlotChannelCustom>(FMaster->GetChannelManager(), Index);
}
TiPlotAnnotation* TiPlotComponent::GetAnnotation(int32_t Index) const {
  return PlotComponentItem<TiPlotAnnotation>(FMaster->GetAnnotationManager(), Index);
}
TiPlotLimit* TiPlotComponent::GetLimit(int32_t Index) const {
  return PlotComponentItem<TiPlotLimit>(FMaster->GetLimitManager(), Index);
}
TiPlotLabel* TiPlotComponent::GetLabel(int32_t Index) const {
  return PlotComponentItem<TiPlotLabel>(FMaster->GetLabelManager(), Index);
}

void TiPlotComponent::ObjectRemoved(TObject* Obj) {
  // A button inside an object goes with the object.
  if (Obj == FHoverObject || Obj == FHoverOwner) FHoverObject = FHoverOwner = nullptr;
  if (Obj == FPressedObject || Obj == FPressedOwner) FPressedObject = FPressedOwner = nullptr;
  if (Obj == FHintObject) FHintObject = nullptr;
}

void TiPlotComponent::ObjectChanged(TObject*) { RequestRepaint(); }

void TiPlotComponent::RemoveAllToolBars() { FMaster->GetToolBarManager()->Clear(); }
void TiPlotComponent::RemoveAllLegends() { FMaster->GetLegendManager()->Clear(); }
void TiPlotComponent::RemoveAllTables() { FMaster->GetTableManager()->Clear(); }
void TiPlotComponent::RemoveAllXAxes() { FMaster->GetXAxisManager()->Clear(); }
void TiPlotComponent::RemoveAllYAxes() { FMaster->GetYAxisManager()->Clear(); }
void TiPlotComponent::RemoveAllDataViews() { FMaster->GetDataViewManager()->Clear(); }
void TiPlotComponent::RemoveAllDataCursors() { FMaster->GetDataCursorManager()->Clear(); }
void TiPlotComponent::RemoveAllChannels() { FMaster->GetChannelManager()->Clear(); }
void TiPlotComponent::RemoveAllAnnotations() { FMaster->GetAnnotationManager()->Clear(); }
void TiPlotComponent::RemoveAllLimits() { FMaster->GetLimitManager()->Clear(); }

void TiPlotComponent::RemoveAllLabels() {
  TiPlotLabelManager* labels = FMaster->GetLabelManager();
  while (labels->Count() > 1) labels->Items(1)->Free();
}

void TiPlotComponent::RemoveAllTranslations() { FMaster->GetTranslationManager()->Clear(); }

void TiPlotComponent::DoDelete(TiPlotObjectManagerCustom* Manager, int32_t Index, bool Repaint) {
  Manager->Items(Index)->Free();
  if (Repaint) RequestRepaint();
}

void TiPlotComponent::DeleteToolBar(int32_t Index) { DoDelete(FMaster->GetToolBarManager(), Index, true); }
void TiPlotComponent::DeleteLegend(int32_t Index) { DoDelete(FMaster->GetLegendManager(), Index, true); }
void TiPlotComponent::DeleteTable(int32_t Index) { DoDelete(FMaster->GetTableManager(), Index, true); }
void TiPlotComponent::DeleteXAxis(int32_t Index) { DoDelete(FMaster->GetXAxisManager(), Index, true); }
void TiPlotComponent::DeleteYAxis(int32_t Index) { DoDelete(FMaster->GetYAxisManager(), Index, true); }
void TiPlotComponent::DeleteDataView(int32_t Index) { DoDelete(FMaster->GetDataViewManager(), Index, true); }
void TiPlotComponent::DeleteDataCursor(int32_t Index) {
  DoDelete(FMaster->GetDataCursorManager(), Index, true);
}
void TiPlotComponent::DeleteChannel(int32_t Index) { DoDelete(FMaster->GetChannelManager(), Index, true); }
void TiPlotComponent::DeleteAnnotation(int32_t Index) {
  DoDelete(FMaster->GetAnnotationManager(), Index, true);
}
void TiPlotComponent::DeleteLimit(int32_t Index) { DoDelete(FMaster->GetLimitManager(), Index, true); }

void TiPlotComponent::DeleteLabel(int32_t Index) {
  if (Index == 0) throw Exception("Label Index 0 can not be Deleted (Resevered for Title)");
  DoDelete(FMaster->GetLabelManager(), Index, false);
}

void TiPlotComponent::DeleteTranslation(int32_t Index) {
  FMaster->GetTranslationManager()->DeletePair(Index);
  RequestRepaint();
}

int32_t TiPlotComponent::AddChannel() { return FMaster->AddChannel(); }
int32_t TiPlotComponent::AddDataView() { return FMaster->AddDataView(); }
int32_t TiPlotComponent::AddDataCursor() { return FMaster->AddDataCursor(); }
int32_t TiPlotComponent::AddXAxis() { return FMaster->AddXAxis(); }
int32_t TiPlotComponent::AddYAxis() { return FMaster->AddYAxis(); }
int32_t TiPlotComponent::AddLegend() { return FMaster->AddLegend(); }
int32_t TiPlotComponent::AddTable() { return FMaster->AddTable(); }
int32_t TiPlotComponent::AddToolBar() { return FMaster->AddToolBar(); }
int32_t TiPlotComponent::AddLimit() { return FMaster->AddLimit(); }
int32_t TiPlotComponent::AddLabel() { return FMaster->AddLabel(); }

int32_t TiPlotComponent::AddAnnotation() {
  int32_t index = FMaster->AddAnnotation();
  TiPlotAnnotation* a = GetAnnotation(index);
  a->SetFont(FAnnotationDefaultFont.get());
  a->SetBrushStyle(FAnnotationDefaultBrushStyle);
  a->SetBrushColor(FAnnotationDefaultBrushColor);
  a->SetPenStyle(FAnnotationDefaultPenStyle);
  a->SetPenColor(FAnnotationDefaultPenColor);
  a->SetPenWidth(FAnnotationDefaultPenWidth);
  return index;
}

TiPlotChannelCustom* TiPlotComponent::FindChannel(const AnsiString& Name) const {
  return static_cast<TiPlotChannelCustom*>(FMaster->GetChannelManager()->FindByName(Name));
}
TiPlotAxis* TiPlotComponent::FindXAxis(const AnsiString& Name) {
  return static_cast<TiPlotAxis*>(FMaster->GetXAxisManager()->FindByName(Name));
}
TiPlotAxis* TiPlotComponent::FindYAxis(const AnsiString& Name) {
  return static_cast<TiPlotAxis*>(FMaster->GetYAxisManager()->FindByName(Name));
}

// ============================================================================================
// properties
// ============================================================================================

TiPlotLayoutObject* TiPlotComponent::Placeholder(bool Horizontal) const {
  TiPlotLayoutManager* layout = FMaster->GetLayoutManager();
  if (!layout) return nullptr;
  return Horizontal ? static_cast<TiPlotLayoutObject*>(layout->GetDataViewHorz()) : layout->GetDataViewVert();
}

int32_t TiPlotComponent::GetDataViewZHorz() const {
  TiPlotLayoutObject* p = Placeholder(true);
  return p ? p->GetZOrder() : 0;
}
void TiPlotComponent::SetDataViewZHorz(int32_t Value) {
  if (TiPlotLayoutObject* p = Placeholder(true)) p->SetZOrder(Value);
}
int32_t TiPlotComponent::GetDataViewZVert() const {
  TiPlotLayoutObject* p = Placeholder(false);
  return p ? p->GetZOrder() : 0;
}
void TiPlotComponent::SetDataViewZVert(int32_t Value) {
  if (TiPlotLayoutObject* p = Placeholder(false)) p->SetZOrder(Value);
}

bool TiPlotComponent::GetTitleVisible() const { return LabelCount() > 0 && GetLabel(0)->GetVisible(); }
void TiPlotComponent::SetTitleVisible(bool Value) {
  if (LabelCount() > 0) GetLabel(0)->SetVisible(Value);
}
AnsiString TiPlotComponent::GetTitleText() const { return LabelCount() > 0 ? GetLabel(0)->GetCaption() : ""; }
void TiPlotComponent::SetTitleText(const AnsiString& Value) {
  if (LabelCount() > 0) GetLabel(0)->SetCaption(Value);
}
TFont* TiPlotComponent::GetTitleFont() const { return LabelCount() > 0 ? GetLabel(0)->GetFont() : GetFont(); }
void TiPlotComponent::SetTitleFont(TFont* Value) {
  if (LabelCount() > 0) GetLabel(0)->SetFont(Value);
}
double TiPlotComponent::GetTitleMargin() const {
  return LabelCount() > 0 ? GetLabel(0)->GetMarginBottom() : 0;
}
void TiPlotComponent::SetTitleMargin(double Value) {
  if (LabelCount() > 0) GetLabel(0)->SetMarginBottom(Value);
}

void TiPlotComponent::SetLogFileName(const AnsiString& Value) {
  if (Value == FLogFileName) return;
  if (FLoggingActive) throw Exception("Log File Name can not be changed while logging is active.");
  FLogFileName = Value;
}

void TiPlotComponent::SetBackGroundGradientDirection(TiFillDirection Value) {
  if (Value == FBackGroundGradientDirection) return;
  FBackGroundGradientDirection = Value;
  RequestRepaint();
}

void TiPlotComponent::SetDataFileColumnSeparator(TiPlotDataFileColumnSeparator Value) {
  if (FLoggingActive) throw Exception("Data File Column Seperator can not be changed while logging active");
  FDataFileColumnSeparator = Value;
}

void TiPlotComponent::SetDataFileFormat(TiPlotDataFileFormat Value) {
  if (FLoggingActive) throw Exception("Data File Format can not be changed while logging active");
  FDataFileFormat = Value;
}

TCustomImageList* TiPlotComponent::ImageList(int32_t Index) const {
  return Index >= 0 && Index < 3 ? FImageLists[Index].get() : nullptr;
}

// ============================================================================================
// events
// ============================================================================================

TiPlotEventKind TiPlotComponent::EventKindOf(const TiPlotObject* Obj, int32_t& Index) const {
  const std::pair<TiPlotObjectManagerCustom*, TiPlotEventKind> kinds[] = {
      {FMaster->GetChannelManager(), ipekChannel},   {FMaster->GetXAxisManager(), ipekXAxis},
      {FMaster->GetYAxisManager(), ipekYAxis},       {FMaster->GetDataCursorManager(), ipekDataCursor},
      {FMaster->GetDataViewManager(), ipekDataView}, {FMaster->GetLegendManager(), ipekLegend},
      {FMaster->GetLimitManager(), ipekLimit},       {FMaster->GetAnnotationManager(), ipekAnnotation}};
  for (const auto& [manager, kind] : kinds) {
    if (!manager) continue;
    Index = manager->IndexOf(Obj);
    if (Index >= 0) return kind;
  }
  Index = -1;
  return ipekNone;
}

namespace {
// The members of one event family, in the order of TiPlotEventKind (nullptr: the kind has none).
template <class E>
using PlotEventFamily = E TiPlotComponent::*[ipekNone];

const PlotEventFamily<TiPlotObjectMouseEvent> kPlotMouseDown = {
    &PC::OnMouseDownChannel,  &PC::OnMouseDownXAxis,  &PC::OnMouseDownYAxis, &PC::OnMouseDownDataCursor,
    &PC::OnMouseDownDataView, &PC::OnMouseDownLegend, &PC::OnMouseDownLimit, &PC::OnMouseDownAnnotation};
const PlotEventFamily<TiPlotObjectMouseMoveEvent> kPlotMouseMove = {
    &PC::OnMouseMoveChannel,  &PC::OnMouseMoveXAxis,  &PC::OnMouseMoveYAxis, &PC::OnMouseMoveDataCursor,
    &PC::OnMouseMoveDataView, &PC::OnMouseMoveLegend, &PC::OnMouseMoveLimit, &PC::OnMouseMoveAnnotation};
const PlotEventFamily<TiPlotObjectMouseEvent> kPlotMouseUp = {
    &PC::OnMouseUpChannel,  &PC::OnMouseUpXAxis,  &PC::OnMouseUpYAxis, &PC::OnMouseUpDataCursor,
    &PC::OnMouseUpDataView, &PC::OnMouseUpLegend, &PC::OnMouseUpLimit, &PC::OnMouseUpAnnotation};
const PlotEventFamily<TiPlotObjectEvent> kPlotClick = {
    &PC::OnClickChannel,  &PC::OnClickXAxis,  &PC::OnClickYAxis, &PC::OnClickDataCursor,
    &PC::OnClickDataView, &PC::OnClickLegend, &PC::OnClickLimit, &PC::OnClickAnnotation};
const PlotEventFamily<TiPlotObjectEvent> kPlotDblClick = {
    &PC::OnDblClickChannel,  &PC::OnDblClickXAxis,  &PC::OnDblClickYAxis, &PC::OnDblClickDataCursor,
    &PC::OnDblClickDataView, &PC::OnDblClickLegend, &PC::OnDblClickLimit, &PC::OnDblClickAnnotation};
const PlotEventFamily<TiPlotPopupMenuEvent> kPlotPopupMenu = {
    &PC::OnPopupMenuChannel,  &PC::OnPopupMenuXAxis,  &PC::OnPopupMenuYAxis, &PC::OnPopupMenuDataCursor,
    &PC::OnPopupMenuDataView, &PC::OnPopupMenuLegend, &PC::OnPopupMenuLimit, &PC::OnPopupMenuAnnotation};
const PlotEventFamily<TiPlotObjectEvent> kPlotGotFocus = {&PC::OnGotFocusChannel,
                                                          &PC::OnGotFocusXAxis,
                                                          &PC::OnGotFocusYAxis,
                                                          &PC::OnGotFocusDataCursor,
                                                          &PC::OnGotFocusDataView,
                                                          &PC::OnGotFocusLegend,
                                                          nullptr,
                                                          &PC::OnGotFocusAnnotation};
const PlotEventFamily<TiPlotObjectEvent> kPlotLostFocus = {&PC::OnLostFocusChannel,
                                                           &PC::OnLostFocusXAxis,
                                                           &PC::OnLostFocusYAxis,
                                                           &PC::OnLostFocusDataCursor,
                                                           &PC::OnLostFocusDataView,
                                                           &PC::OnLostFocusLegend,
                                                           nullptr,
                                                           &PC::OnLostFocusAnnotation};
}  // namespace

// The family member of Obj's kind when it may fire now, else nullptr.
#define PLOT_COMPONENT_EVENT(family, Obj, index)                                                \
  int32_t index = -1;                                                                           \
  TiPlotEventKind kind = TiComponent::IsStreaming() ? ipekNone : EventKindOf(Obj, index);       \
  auto* event = kind == ipekNone || family[kind] == nullptr ? nullptr : &(this->*family[kind]); \
  if (!event || !*event) return;

void TiPlotComponent::DoObjectMouseDown(TiPlotObject* Obj, TMouseButton Button, TShiftState Shift, int32_t X,
                                        int32_t Y) {
  PLOT_COMPONENT_EVENT(kPlotMouseDown, Obj, index)
  (*event)(index, Button, Shift, X, Y);
}

void TiPlotComponent::DoObjectMouseMove(TiPlotObject* Obj, TShiftState Shift, int32_t X, int32_t Y) {
  PLOT_COMPONENT_EVENT(kPlotMouseMove, Obj, index)
  (*event)(index, Shift, X, Y);
}

void TiPlotComponent::DoObjectMouseUp(TiPlotObject* Obj, TMouseButton Button, TShiftState Shift, int32_t X,
                                      int32_t Y) {
  PLOT_COMPONENT_EVENT(kPlotMouseUp, Obj, index)
  (*event)(index, Button, Shift, X, Y);
}

void TiPlotComponent::DoObjectClick(TiPlotObject* Obj) {
  if (FDblClickActive) {
    FDblClickActive = false;
    PLOT_COMPONENT_EVENT(kPlotDblClick, Obj, index)
    (*event)(index);
    return;
  }
  PLOT_COMPONENT_EVENT(kPlotClick, Obj, index)
  (*event)(index);
}

void TiPlotComponent::DoObjectPopupMenu(TiPlotObject* Obj, bool& Cancel, int32_t ScreenX, int32_t ScreenY) {
  PLOT_COMPONENT_EVENT(kPlotPopupMenu, Obj, index)
  (*event)(index, Cancel, ScreenX, ScreenY);
}

void TiPlotComponent::DoObjectGotFocus(TiPlotObject* Obj) {
  PLOT_COMPONENT_EVENT(kPlotGotFocus, Obj, index)
  (*event)(index);
}

void TiPlotComponent::DoObjectLostFocus(TiPlotObject* Obj) {
  PLOT_COMPONENT_EVENT(kPlotLostFocus, Obj, index)
  (*event)(index);
}

#undef PLOT_COMPONENT_EVENT

void TiPlotComponent::DoClickDataPoint(int32_t ChannelIndex, int32_t DataIndex) {
  if (TiComponent::IsStreaming()) return;
  if (FDblClickActive) {
    FDblClickActive = false;
    OnDblClickDataPoint(ChannelIndex, DataIndex);
  } else {
    OnClickDataPoint(ChannelIndex, DataIndex);
  }
}

void TiPlotComponent::DoToolBarButtonClick(int32_t Index, TiPlotToolBarButtonType ButtonType) {
  if (!TiComponent::IsStreaming()) OnToolBarButtonClick(Index, ButtonType);
}

void TiPlotComponent::DoToolBarCustomizeHint(int32_t Index, AnsiString& AText) {
  if (!TiComponent::IsStreaming()) OnToolBarCustomizeHint(Index, AText);
}

// ---- data cursor events ---------------------------------------------------------------------

int32_t TiPlotComponent::DataCursorEventIndex(const TiPlotDataCursor* Cursor) const {
  TiPlotDataCursorManager* manager = FMaster->GetDataCursorManager();
  return TiComponent::IsStreaming() || !manager ? -1 : manager->IndexOf(Cursor);
}

void TiPlotComponent::DoBeforeDataCursorUpdate(TiPlotDataCursor* Cursor) {
  const int32_t index = DataCursorEventIndex(Cursor);
  if (index >= 0) OnBeforeDataCursorUpdate(index);
}

void TiPlotComponent::DoDataCursorChange(TiPlotDataCursor* Cursor) {
  const int32_t index = DataCursorEventIndex(Cursor);
  if (index >= 0) OnDataCursorChange(index);
}

void TiPlotComponent::DoDataCursorCustomizeHint(TiPlotDataCursor* Cursor, AnsiString& AText) {
  const int32_t index = DataCursorEventIndex(Cursor);
  if (index >= 0) OnDataCursorCustomizeHint(index, AText);
}

// ============================================================================================
// toolbar actions
// ============================================================================================

void TiPlotComponent::PauseAllAxes() {
  for (int32_t i = 0; i < XAxisCount(); ++i) GetXAxis(i)->SetTrackingEnabled(false);
  for (int32_t i = 0; i < YAxisCount(); ++i) GetYAxis(i)->SetTrackingEnabled(false);
}

void TiPlotComponent::ResumeAllAxes() {
  for (int32_t i = 0; i < XAxisCount(); ++i) GetXAxis(i)->SetTrackingEnabled(true);
  for (int32_t i = 0; i < YAxisCount(); ++i) GetYAxis(i)->SetTrackingEnabled(true);
}

bool TiPlotComponent::SelectMode() const { return ToolBarCount() > 0 && GetToolBar(0)->SelectActive(); }

void TiPlotComponent::SetSelectMode(bool Value) {
  if (ToolBarCount() > 0 && GetToolBar(0)->SelectActive() != Value) GetToolBar(0)->ClickSelect();
}

// ============================================================================================
// mouse, keys and hints
// ============================================================================================

TiMouseRecord TiPlotComponent::MouseRecordAt(int32_t X, int32_t Y, TShiftState Shift) const {
  TiMouseRecord r;
  r.X = X;
  r.Y = Y;
  const bool reverse = FMaster->GetXYAxesReverse();
  r.OrientedX = reverse ? Y : X;
  r.OrientedY = reverse ? X : Y;
  r.Shift = Shift;
  r.DblClick = FDblClickActive;
  return r;
}

TiPlotObject* TiPlotComponent::ObjectAtPoint(const TiMouseRecord& MouseRecord) {
  TiPlotObject* owner = nullptr;
  return ObjectAtPoint(MouseRecord, owner);
}

TiPlotObject* TiPlotComponent::ObjectAtPoint(const TiMouseRecord& MouseRecord, TiPlotObject*& Owner) {
  Owner = nullptr;
  auto area = [](TiPlotObject* o) {
    return dynamic_cast<TiPlotDataView*>(o) || dynamic_cast<TiPlotDataViewLayout*>(o) ||
           dynamic_cast<TiPlotLegend*>(o);
  };
  const std::vector<TiPlotObject*> objects = GetObjectManager()->List();
  for (int pass = 0; pass < 3; ++pass) {
    for (TiPlotObject* o : objects) {
      if (!o->GetEnabled() || !o->GetVisible() || area(o) != (pass == 2)) continue;
      if (pass == 0 && !o->GetSelected()) continue;
      if (!o->HitTest(MouseRecord)) continue;
      Owner = o;
      return o->SubObjectAt(MouseRecord.X, MouseRecord.Y);
    }
  }
  return nullptr;
}

void TiPlotComponent::HideHint() {
  StopTimer();
  const bool drawn = FHintDrawn;
  FHintShowing = false;
  if (drawn) InvalidateNow();
}

void TiPlotComponent::HintTimerTick(TObject*) {
  StopTimer();
  if (FHintShowing) {
    HideHint();
    if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
  } else {
    FHintShowing = true;
    StartTimer(0, FHintsHidePause);
    // Held so that the hint goes when the mouse leaves the window.
    if (HandleAllocated() && GetCapture() != Handle()) SetCapture(Handle());
  }
  InvalidateNow();
}

void TiPlotComponent::HandleMouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TiPlotObjectManager* objects = GetObjectManager();
  objects->SetShiftState(Shift);
  FMouseDown = true;
  const TiMouseRecord record = MouseRecordAt(X, Y, Shift);
  FocusControlWindow(this);
  HideHint();
  const TPoint screen = ClientToScreen(TPoint{X, Y});

  if (Button == mbRight) objects->DeselectAll();
  TiPlotObject* target = ObjectAtPoint(record, FPressedOwner);
  FPressedObject = target;
  if (!target) {
    objects->DeselectAll();
    return;
  }
  const bool axis = dynamic_cast<TiPlotAxis*>(target) != nullptr;
  if (Shift.Contains(ssShift)) {
    FAxisClick = axis;
    target->SetSelected(true);
  } else if (Shift.Contains(ssCtrl)) {
    FAxisClick = axis;
    target->SetSelected(axis ? !target->GetSelected() : true);
  } else if (!dynamic_cast<TiPlotToolBar*>(target) && !dynamic_cast<TiPlotToolBarButton*>(target)) {
    target->SetSelected(true);
  }
  // Buttons, annotations and limits take their press even when they are not selected.
  const bool alone = Button == mbRight || dynamic_cast<TiPlotAnnotation*>(target) ||
                     dynamic_cast<TiPlotButton*>(target) || dynamic_cast<TiPlotLimit*>(target);
  if (alone)
    target->MouseDown(Button, Shift, X, Y, screen.X, screen.Y, FPopupMenu.get());
  else
    objects->MouseDown(Button, Shift, X, Y, screen.X, screen.Y, FPopupMenu.get());
}

void TiPlotComponent::HandleMouseMove(TShiftState Shift, int32_t X, int32_t Y) {
  if (IsDesignMode() || FAxisClick) return;
  TiPlotObjectManager* objects = GetObjectManager();
  if (!FMouseDown && (X < 0 || Y < 0 || X >= Width() || Y >= Height()) && HandleAllocated() &&
      GetCapture() == Handle())
    ReleaseCapture();
  objects->SetShiftState(Shift);
  const TiMouseRecord record = MouseRecordAt(X, Y, Shift);
  // A hint that shows stays up when the mouse moves on to another point with a hint.
  const bool wasShowing = FHintShowing;
  HideHint();
  TiHintData hint;

  if (Shift.Contains(ssLeft) || Shift.Contains(ssRight)) {
    TiPlotObject* pressed = FPressedObject;
    if (dynamic_cast<TiPlotAnnotation*>(pressed) || dynamic_cast<TiPlotToolBar*>(pressed) ||
        dynamic_cast<TiPlotToolBarButton*>(pressed))
      pressed->MouseMove(hint, Shift, X, Y, FDblClickActive);
    else
      objects->MouseMove(hint, Shift, X, Y, FDblClickActive);
    SetCursor(crDefault);
    return;
  }

  // A release this window never saw ends the press first.
  if (FPressedObject) FPressedObject->MouseUp(mbLeft, Shift, X, Y);
  objects->MouseUp(mbLeft, Shift, X, Y);
  TiPlotObject* owner = nullptr;
  TiPlotObject* target = ObjectAtPoint(record, owner);
  if (FHoverObject && FHoverObject != target) {
    TiPlotObject* left = FHoverObject;
    FHoverObject = FHoverOwner = nullptr;
    left->MouseLeave();
  }
  if (!target) {
    SetCursor(crDefault);
    return;
  }
  SetCursor(target->GetCursor(record));
  hint.Text = "";
  target->MouseMove(hint, Shift, X, Y, FDblClickActive);
  if (FHintsShow && !hint.Text.empty()) {
    FHintText = hint.Text;
    FHintX = hint.Left;
    FHintY = hint.Top;
    StopTimer();
    if (FHintSuppress || FMouseDown) {
      FHintSuppress = false;
    } else {
      FHintShowing = wasShowing;
      StartTimer(0, wasShowing ? FHintsHidePause : FHintsPause);
      if (wasShowing) InvalidateNow();
    }
  }
  FHoverObject = target;
  FHoverOwner = owner;
}

void TiPlotComponent::HandleMouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  if (IsDesignMode()) return;
  FMouseDown = false;
  GetObjectManager()->SetShiftState(Shift);
  HideHint();
  FAxisClick = false;
  if (FPressedObject) FPressedObject->MouseUp(Button, Shift, X, Y);
  GetObjectManager()->MouseUp(Button, Shift, X, Y);
  FPressedObject = FPressedOwner = nullptr;
  FDblClickActive = false;
}

void TiPlotComponent::HandleDblClick() { FDblClickActive = true; }

bool TiPlotComponent::HandleMouseWheel(int32_t WheelDelta, TShiftState Shift, TPoint MousePos) {
  GetObjectManager()->MouseWheel(WheelDelta, Shift, MousePos);
  return true;
}

void TiPlotComponent::WantSpecialKey(WORD& CharCode, LRESULT& Result) {
  if (CharCode >= VK_LEFT && CharCode <= VK_DOWN) Result = 1;
}

void TiPlotComponent::HandleKeyDown(WORD& Key, TShiftState Shift) { GetObjectManager()->KeyDown(Key, Shift); }

void TiPlotComponent::WMCaptureChanged(TMessage& Message) {
  if (HandleAllocated() && HWND(Message.LParam) == Handle()) return;
  HideHint();
  FHintSuppress = true;
  if (TiPlotObject* hovered = FHoverObject) {
    FHoverObject = FHoverOwner = nullptr;
    hovered->MouseLeave();
  }
}

void TiPlotComponent::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_CAPTURECHANGED) WMCaptureChanged(Message);
  TiCustomComponent::Dispatch(Message);
}

AnsiString TiPlotComponent::TranslateText(const AnsiString& Text) {
  TiPlotTranslationManager* t = FMaster ? FMaster->GetTranslationManager() : nullptr;
  return t ? t->TranslateText(Text) : Text;
}

void TiPlotComponent::ShowPopupMenu(TPopupMenu* Menu, int32_t ScreenX, int32_t ScreenY) {
  if (Menu) Menu->Popup(ScreenX, ScreenY);
}

// ============================================================================================
// axis services
// ============================================================================================

void TiPlotComponent::DoAxisMinChange(TiPlotAxis* Axis, double OldValue, double NewValue) {
  if (TiComponent::IsStreaming()) return;
  int32_t index = -1;
  TiPlotEventKind kind = EventKindOf(Axis, index);
  if (kind == ipekXAxis) OnXAxisMinChange(index, OldValue, NewValue);
  if (kind == ipekYAxis) OnYAxisMinChange(index, OldValue, NewValue);
}

void TiPlotComponent::DoAxisSpanChange(TiPlotAxis* Axis, double OldValue, double NewValue) {
  if (TiComponent::IsStreaming()) return;
  int32_t index = -1;
  TiPlotEventKind kind = EventKindOf(Axis, index);
  if (kind == ipekXAxis) OnXAxisSpanChange(index, OldValue, NewValue);
  if (kind == ipekYAxis) OnYAxisSpanChange(index, OldValue, NewValue);
}

void TiPlotComponent::DoAxisMinSpanChange(TiPlotAxis* Axis, double OldMin, double OldSpan, double NewMin,
                                          double NewSpan) {
  if (TiComponent::IsStreaming()) return;
  int32_t index = -1;
  TiPlotEventKind kind = EventKindOf(Axis, index);
  if (kind == ipekXAxis) OnXAxisMinSpanChange(index, OldMin, OldSpan, NewMin, NewSpan);
  if (kind == ipekYAxis) OnYAxisMinSpanChange(index, OldMin, OldSpan, NewMin, NewSpan);
}

void TiPlotComponent::DoAxisCustomizeLabel(TiPlotAxis* Axis, double Value, AnsiString& ALabel) {
  if (TiComponent::IsStreaming()) return;
  int32_t index = -1;
  TiPlotEventKind kind = EventKindOf(Axis, index);
  if (kind == ipekXAxis) OnXAxisCustomizeLabel(index, Value, ALabel);
  if (kind == ipekYAxis) OnYAxisCustomizeLabel(index, Value, ALabel);
}

void TiPlotComponent::DoAxisCustomizeHint(TiPlotAxis* Axis, AnsiString& AText) {
  if (TiComponent::IsStreaming()) return;
  int32_t index = -1;
  TiPlotEventKind kind = EventKindOf(Axis, index);
  if (kind == ipekXAxis) OnXAxisCustomizeHint(index, AText);
  if (kind == ipekYAxis) OnYAxisCustomizeHint(index, AText);
}

// ============================================================================================
// limit and annotation services
// ============================================================================================

void TiPlotComponent::DoLimitLinePositionChange(TiPlotLimit* Limit, int32_t Line, double OldValue,
                                                double NewValue) {
  if (TiComponent::IsStreaming()) return;
  const int32_t index = FMaster->GetLimitManager()->IndexOf(Limit);
  if (index < 0) return;
  (Line == 1 ? OnLimitLine1PositionChange : OnLimitLine2PositionChange)(index, OldValue, NewValue);
}

void TiPlotComponent::DoAnnotationCoordinatesChange(TiPlotAnnotation* Annotation, bool Finished) {
  if (TiComponent::IsStreaming()) return;
  const int32_t index = FMaster->GetAnnotationManager()->IndexOf(Annotation);
  if (index < 0) return;
  (Finished ? OnAnnotationCoordinatesChangeFinished : OnAnnotationCoordinatesChange)(index);
}

int32_t TiPlotComponent::AxisCount(bool XAxes) { return XAxes ? XAxisCount() : YAxisCount(); }

TiPlotAxis* TiPlotComponent::GetAxis(bool XAxes, int32_t Index) {
  return XAxes ? static_cast<TiPlotAxis*>(GetXAxis(Index)) : GetYAxis(Index);
}

void TiPlotComponent::AxisDataRange(TiPlotAxis* Axis, bool Fast, double& Lo, double& Hi) {
  const bool x = FMaster->GetXAxisManager()->IndexOf(Axis) >= 0;
  for (TiPlotObject* o : FMaster->GetChannelManager()->List()) {
    auto* c = static_cast<TiPlotChannelCustom*>(o);
    if (!SameText(x ? c->GetXAxisName() : c->GetYAxisName(), Axis->GetName())) continue;
    double hi, lo;
    if (Fast) {
      // The running extremes are kept while points arrive; a channel without points has none.
      if (c->GetRunningCount() == 0) continue;
      hi = x ? c->GetXMaxValue() : c->GetYMaxValue();
      lo = x ? c->GetXMinValue() : c->GetYMinValue();
    } else {
      hi = x ? c->GetXMax() : c->GetYMax();
      lo = x ? c->GetXMin() : c->GetYMin();
    }
    Hi = std::max(Hi, hi);
    Lo = std::min(Lo, lo);
  }
}

void TiPlotComponent::DoClickDataPoint(TiPlotChannelCustom* Channel, int32_t PointIndex) {
  DoClickDataPoint(FMaster->GetChannelManager()->IndexOf(Channel), PointIndex);
}

// ============================================================================================
// painting
// ============================================================================================

void TiPlotComponent::AddToPaintOrder(const AnsiString& Key, TiPlotObject* Obj) {
  // Sorted without regard to case; an entry goes before the entries of an equal key.
  const AnsiString upper = UpperCase(Key);
  auto it = std::lower_bound(FPaintOrder.begin(), FPaintOrder.end(), upper,
                             [](const std::pair<AnsiString, TiPlotObject*>& e, const AnsiString& k) {
                               return UpperCase(e.first) < k;
                             });
  FPaintOrder.insert(it, {Key, Obj});
}

bool TiPlotComponent::ReserveRect(const TRect& Rect) {
  const TRect view = DataViewCount() > 0 ? GetDataView(0)->GetLayoutRect() : TRect{0, 0, 0, 0};
  for (const TiPlotRectObject& r : FOccupiedRects) {
    if (Rect.Left < r.Rect.Right && r.Rect.Left < Rect.Right && Rect.Top < r.Rect.Bottom &&
        r.Rect.Top < Rect.Bottom)
      return false;
    const TRect u{std::min(view.Left, Rect.Left), std::min(view.Top, Rect.Top),
                  std::max(view.Right, Rect.Right), std::max(view.Bottom, Rect.Bottom)};
    if (u.Left != view.Left || u.Top != view.Top || u.Right != view.Right || u.Bottom != view.Bottom)
      return false;
  }
  FOccupiedRects.push_back({Rect});
  return true;
}

void TiPlotComponent::SetHint(bool Showing, const AnsiString& Text, int32_t X, int32_t Y) {
  FHintShowing = Showing;
  FHintText = Text;
  FHintX = X;
  FHintY = Y;
}

void TiPlotComponent::PaintObject(TCanvas* Canvas, TiPlotObject* Obj, const TRect* Clip) {
  if (!Clip) {
    Obj->Draw(Canvas, GetBackGroundColor());
    return;
  }
  HDC dc = Canvas->GetHandle();
  IntersectClipRect(dc, Clip->Left, Clip->Top, Clip->Right, Clip->Bottom);
  try {
    Obj->Draw(Canvas, GetBackGroundColor());
  } catch (...) {
    SelectClipRgn(dc, nullptr);
    throw;
  }
  SelectClipRgn(dc, nullptr);
}

void TiPlotComponent::PaintToCanvas(TCanvas* Canvas) {
  if (ToolBarCount() == 0 || LegendCount() == 0 || DataViewCount() == 0) return;
  ClearOccupiedRects();
  FPaintOrder.clear();

  TiPlotLegend* legend0 = GetLegend(0);
  legend0->SetAllChannelsCursor(false);
  const std::vector<TiPlotObject*> cursors = FMaster->GetDataCursorManager()->List();
  for (TiPlotObject* o : cursors) {
    auto* c = static_cast<TiPlotDataCursor*>(o);
    c->UpdateReading();
    if (c->GetVisible() && c->GetChannelName() == "<All>" && c->GetChannelShowAllInLegend())
      legend0->SetAllChannelsCursor(true);
  }
  auto generateTicks = [&] {
    for (int32_t i = 0; i < XAxisCount(); ++i) GetXAxis(i)->GenerateTicks(Canvas);
    for (int32_t i = 0; i < YAxisCount(); ++i) GetYAxis(i)->GenerateTicks(Canvas);
  };
  generateTicks();
  TiPlotDataView* view0 = GetDataView(0);
  TiPlotLayoutManager* layout = FMaster->GetLayoutManager();
  TiPlotPlaceArea area;
  area.Width = Width();
  area.Height = Height();
  area.Border = GetBorderStyle() == ibsNone ? 0 : 2;
  area.MarginLeft = FOuterMarginLeft;
  area.MarginTop = FOuterMarginTop;
  area.MarginRight = FOuterMarginRight;
  area.MarginBottom = FOuterMarginBottom;
  for (int pass = 0; pass < 2; ++pass) layout->PlaceObjects(Canvas, area, view0);
  generateTicks();
  for (TiPlotObject* o : cursors) static_cast<TiPlotDataCursor*>(o)->UpdateReading();
  for (TiPlotObject* o : FMaster->GetChannelManager()->List()) o->PreparePaint();
  for (int32_t i = 0; i < XAxisCount(); ++i) GetXAxis(i)->PreparePaint();
  for (int32_t i = 0; i < YAxisCount(); ++i) GetYAxis(i)->PreparePaint();
  for (TiPlotObject* o : FMaster->GetAnnotationManager()->List()) {
    auto* a = static_cast<TiPlotAnnotation*>(o);
    a->SetDataView(view0);
    a->SetXYAxesReverse(FMaster->GetXYAxesReverse());
  }
  for (TiPlotObject* o : cursors) static_cast<TiPlotDataCursor*>(o)->SetDataView(view0);

  if (FBackGroundGradientEnabled)
    DrawGradient(Canvas, TRect{0, 0, Width(), Height()}, FBackGroundGradientDirection,
                 FBackGroundGradientStartColor, FBackGroundGradientStopColor);
  else
    DrawBackGround(Canvas, GetBackGroundColor());
  view0->DrawBackground(Canvas);

  const std::vector<TiPlotObject*> limits = FMaster->GetLimitManager()->List();
  for (TiPlotObject* o : limits)
    if (static_cast<TiPlotLimit*>(o)->DrawsBehind()) AddToPaintOrder(o->LayerKey() + "A", o);
  AddToPaintOrder(view0->LayerKey() + "B", view0);
  for (TiPlotObject* o : limits)
    if (!static_cast<TiPlotLimit*>(o)->DrawsBehind()) AddToPaintOrder(o->LayerKey() + "C", o);
  for (int32_t i = 0; i < YAxisCount(); ++i)
    if (GetYAxis(i)->GetCartesianStyle() != ipcsNone)
      AddToPaintOrder(GetYAxis(i)->LayerKey() + "D", GetYAxis(i));
  for (int32_t i = 0; i < XAxisCount(); ++i)
    if (GetXAxis(i)->GetCartesianStyle() != ipcsNone)
      AddToPaintOrder(GetXAxis(i)->LayerKey() + "E", GetXAxis(i));
  for (TiPlotObject* o : FMaster->GetChannelManager()->List())
    if (o->GetPaintEnabled()) AddToPaintOrder(o->LayerKey() + "F", o);
  for (TiPlotObject* o : FMaster->GetAnnotationManager()->List()) AddToPaintOrder(o->LayerKey() + "G", o);

  const TRect& v = view0->GetLayoutRect();
  const TRect clip{v.Left, v.Top, v.Right + 1, v.Bottom + 1};
  const auto order = FPaintOrder;
  for (const auto& entry : order) PaintObject(Canvas, entry.second, &clip);

  DrawFrameObjects(Canvas);
  for (TiPlotObject* o : cursors) o->Draw(Canvas, GetBackGroundColor());
  for (TiPlotObject* o : FMaster->GetLegendManager()->List()) o->Draw(Canvas, GetBackGroundColor());
  for (TiPlotObject* o : FMaster->GetTableManager()->List()) o->Draw(Canvas, GetBackGroundColor());

  if (FHintShowing) {
    Canvas->GetFont()->Assign(FHintsFont.get());
    Canvas->GetBrush()->SetColor(clInfoBk);
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetFont()->SetColor(clInfoText);
    const TRect box{FHintX, FHintY, FHintX + Canvas->TextWidth(FHintText) + 4,
                    FHintY + Canvas->TextHeight(FHintText) + 4};
    Canvas->TextRect(box, FHintX + 2, FHintY + 2, FHintText);
    FHintDrawn = true;
  } else {
    FHintDrawn = false;
  }
}

void TiPlotComponent::DrawFrameObjects(TCanvas* Canvas) {
  Canvas->GetBrush()->SetColor(GetBackGroundColor());
  Canvas->GetBrush()->SetStyle(bsSolid);
  DrawBorder(Canvas);
  for (int32_t i = 0; i < XAxisCount(); ++i)
    if (GetXAxis(i)->GetCartesianStyle() == ipcsNone) GetXAxis(i)->Draw(Canvas, GetBackGroundColor());
  for (int32_t i = 0; i < YAxisCount(); ++i)
    if (GetYAxis(i)->GetCartesianStyle() == ipcsNone) GetYAxis(i)->Draw(Canvas, GetBackGroundColor());
  for (TiPlotObject* o : FMaster->GetLabelManager()->List()) o->Draw(Canvas, GetBackGroundColor());
  for (TiPlotObject* o : FMaster->GetToolBarManager()->List()) o->Draw(Canvas, GetBackGroundColor());
}

// ============================================================================================
// copy, save as image and printing
// ============================================================================================

std::vector<bool> TiPlotComponent::HideToolBars() {
  std::vector<bool> visible;
  for (int32_t i = 0; i < ToolBarCount(); ++i) visible.push_back(GetToolBar(i)->GetVisible());
  FMaster->SetToolBarsVisible(false);
  return visible;
}

void TiPlotComponent::RestoreToolBars(const std::vector<bool>& Visible) {
  // A toolbar added meanwhile keeps what it has.
  for (int32_t i = 0; i < ToolBarCount() && size_t(i) < Visible.size(); ++i)
    GetToolBar(i)->SetVisible(Visible[size_t(i)]);
}

void TiPlotComponent::CopyToClipboard() {
  BeginUpdate();
  std::vector<bool> toolBars;
  try {
    toolBars = HideToolBars();
    FMaster->DeselectAll();
    switch (FCopyToClipBoardFormat) {
      case ipefMetaFile: {
        if (!FMetafile) FMetafile = std::make_unique<TMetafile>();
        FMetafile->SetWidth(Width());
        FMetafile->SetHeight(Height());
        {
          TMetafileCanvas canvas(FMetafile.get(), nullptr, "Tarvik", "Strip Chart");
          PaintUncached(&canvas);
        }
        Clipboard()->Assign(FMetafile.get());
        break;
      }
      case ipefBitmap: {
        TBitmap bitmap;
        bitmap.SetSize(Width(), Height());
        PaintUncached(bitmap.GetCanvas());
        Clipboard()->Assign(&bitmap);
        break;
      }
      case ipefJPEG: {
        TPicture::RegisterClipboardFormat(TJPEGImage::ClipboardFormat, &NewGraphic<TJPEGImage>);
        std::unique_ptr<TJPEGImage> jpeg(RenderJpegImage(this, 100, false));
        if (jpeg) {
          TPicture picture;
          picture.SetGraphic(jpeg.get());
          Clipboard()->Assign(&picture);
        }
        break;
      }
    }
  } catch (...) {
    RestoreToolBars(toolBars);
    EndUpdate();
    throw;
  }
  RestoreToolBars(toolBars);
  EndUpdate();
}

void TiPlotComponent::SaveImageDialog() {
  if (!FSavePicker) {
    FSavePicker = new TiComponentEditorSavePicker(this);
    FSavePicker->SetVisible(false);
    FSavePicker->SetParent(this);
  }
  FSavePicker->Filter =
      "Bitmap (*.bmp)|*.bmp|Enhanced Metafile (*.emf)|*.emf|JPEG File (*.jpg)|*.jpg|PNG (*.png)|*.png";
  FSavePicker->FileName = "Untitled";
  if (!FSavePicker->Execute()) return;
  FMaster->DeselectAll();
  const AnsiString& name = FSavePicker->FileName;
  // The ending in any case: "Plot.PNG" is a PNG file as much as "plot.png".
  const AnsiString ending = LowerCase(name.size() >= 3 ? name.substr(name.size() - 3) : name);
  if (ending == "bmp")
    ExportBitmapFile(this, name);
  else if (ending == "emf")
    ExportMetafile(this, name);
  else if (ending == "jpg")
    ExportJpegFile(this, name, 100, true);
  else if (ending == "png")
    ExportPngFile(this, name, 9);
}

void TiPlotComponent::Print() {
  try {
    TPrinter* printer = Printer();
    if (printer->GetPrinting()) printer->EndDoc();
    printer->SetOrientation(FPrintOrientation);
    printer->Title = FPrintDocumentName;
    if (FPrintShowDialog) {
      TPrintDialog dialog(nullptr);
      if (!dialog.Execute()) return;
    }
    BeginUpdate();
    try {
      OnBeforePrint(this);
      PrintPage();
      OnAfterPrint(this);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
  } catch (const Exception& e) {
    throw Exception("Error Printing : " + e.Message);
  }
}

void TiPlotComponent::PrintPage() {
  TPrinter* printer = Printer();
  const AnsiString wanted = Trim(FPrinterName);
  if (!wanted.empty()) {
    const int32_t index = printer->GetPrinters()->IndexOf(wanted);
    if (index >= 0) {
      printer->SetPrinterIndex(index);
      // Selecting a printer starts from its own settings: the page keeps the plot's orientation.
      printer->SetOrientation(FPrintOrientation);
    }
  }
  double paperW = 0, paperH = 0;
  PrinterPaperSize(paperW, paperH);
  HDC dc = printer->GetHandle();
  const int32_t dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
  const int32_t offX = GetDeviceCaps(dc, PHYSICALOFFSETX), offY = GetDeviceCaps(dc, PHYSICALOFFSETY);
  const double pw = double(Round(dpiX * paperW)), ph = double(Round(dpiY * paperH));
  printer->BeginDoc();
  FMaster->DeselectAll();
  std::vector<bool> toolBars;
  try {
    toolBars = HideToolBars();
    const double sx = (pw - (FPrintMarginLeft + FPrintMarginRight) * dpiX) / Width();
    const double sy = (ph - (FPrintMarginTop + FPrintMarginBottom) * dpiY) / Height();
    const double scale = sx >= sy ? sy : sx;
    const TRect target{int32_t(Round(dpiX * FPrintMarginLeft)) - offX,
                       int32_t(Round(dpiY * FPrintMarginTop)) - offY,
                       int32_t(Round(dpiX * FPrintMarginLeft - offX + Width() * scale)),
                       int32_t(Round(dpiY * FPrintMarginTop - offY + Height() * scale))};
    TMetafile metafile;
    metafile.SetWidth(Width());
    metafile.SetHeight(Height());
    {
      TMetafileCanvas canvas(&metafile, nullptr, "Tarvik", "");
      PaintUncached(&canvas);
    }
    printer->GetCanvas()->StretchDraw(target, &metafile);
  } catch (...) {
    RestoreToolBars(toolBars);
    // A page that failed is not sent.
    printer->Abort();
    throw;
  }
  RestoreToolBars(toolBars);
  printer->EndDoc();
}

void TiPlotComponent::PrintPreview() {
  auto* form = TCustomForm::Create<TiPlotPreviewForm>(Application);
  try {
    form->SetPlot(this);
    FMaster->TranslateForm(form);
    form->ShowModal();
  } catch (...) {
    form->Free();
    throw;
  }
  form->Free();
}

TPicture* TiPlotComponent::RenderMetafile() {
  if (!FMetafile) FMetafile = std::make_unique<TMetafile>();
  if (!FPicture) FPicture = std::make_unique<TPicture>();
  FMetafile->SetWidth(Width());
  FMetafile->SetHeight(Height());
  {
    TMetafileCanvas canvas(FMetafile.get(), nullptr, "Tarvik", "iPlot");
    PaintUncached(&canvas);
  }
  FPicture->SetGraphic(FMetafile.get());
  return FPicture.get();
}

// ============================================================================================
// streaming
// ============================================================================================

void TiPlotComponent::BeginStreaming() {
  FMaster->SetLayoutActive(false);
  BeginUpdate();
}

void TiPlotComponent::EndWriting() {
  FMaster->SetLayoutActive(true);
  EndUpdate();
}

void TiPlotComponent::ReadDataViewZHorz(TReader* Reader) { SetDataViewZHorz(Reader->ReadInteger()); }
void TiPlotComponent::WriteDataViewZHorz(TWriter* Writer) { Writer->WriteInteger(GetDataViewZHorz()); }
void TiPlotComponent::ReadDataViewZVert(TReader* Reader) { SetDataViewZVert(Reader->ReadInteger()); }
void TiPlotComponent::WriteDataViewZVert(TWriter* Writer) { Writer->WriteInteger(GetDataViewZVert()); }

void TiPlotComponent::ReadImageList(int32_t Index, TStream* Stream) {
  FImageLists[Index]->Clear();
  try {
    FImageLists[Index]->ReadData(Stream);
  } catch (const Exception&) {
    FImageLists[Index]->Clear();
    throw EReadError("Failed to read ImageList data from stream");
  }
}

void TiPlotComponent::WriteImageList(int32_t Index, TStream* Stream) {
  try {
    FImageLists[Index]->WriteData(Stream);
  } catch (const Exception&) {
    throw EWriteError("Failed to write ImageList data to stream");
  }
}

void TiPlotComponent::ReadManager(TiPlotObjectManagerCustom* Manager, TReader* Reader) {
  Manager->ReadCollection(Reader);
}

#define PLOT_COMPONENT_STREAM(Name, Getter)                                           \
  void TiPlotComponent::Read##Name(TReader* R) { ReadManager(FMaster->Getter(), R); } \
  void TiPlotComponent::Write##Name(TWriter* W) { FMaster->Getter()->WriteCollection(W); }
PLOT_COMPONENT_STREAM(ToolBars, GetToolBarManager)
PLOT_COMPONENT_STREAM(Legends, GetLegendManager)
PLOT_COMPONENT_STREAM(Tables, GetTableManager)
PLOT_COMPONENT_STREAM(XAxes, GetXAxisManager)
PLOT_COMPONENT_STREAM(YAxes, GetYAxisManager)
PLOT_COMPONENT_STREAM(Channels, GetChannelManager)
PLOT_COMPONENT_STREAM(DataViews, GetDataViewManager)
PLOT_COMPONENT_STREAM(DataCursors, GetDataCursorManager)
PLOT_COMPONENT_STREAM(Limits, GetLimitManager)
PLOT_COMPONENT_STREAM(Labels, GetLabelManager)
#undef PLOT_COMPONENT_STREAM

void TiPlotComponent::ReadTranslations(TReader* R) { FMaster->GetTranslationManager()->ReadCollection(R); }
void TiPlotComponent::WriteTranslations(TWriter* W) { FMaster->GetTranslationManager()->WriteCollection(W); }

void TiPlotComponent::DefineProperties(TFiler* Filer) {
  // Only a reader ends its work in Loaded; after any other filer the plot goes live again at once.
  const bool writing = dynamic_cast<TReader*>(Filer) == nullptr;
  BeginStreaming();
  try {
    Filer->DefineProperty("DataViewZHorz", TReaderProc(this, &TiPlotComponent::ReadDataViewZHorz),
                          TWriterProc(this, &TiPlotComponent::WriteDataViewZHorz), true);
    Filer->DefineProperty("DataViewZVert", TReaderProc(this, &TiPlotComponent::ReadDataViewZVert),
                          TWriterProc(this, &TiPlotComponent::WriteDataViewZVert), true);
    Filer->DefineBinaryProperty("ImageList0", TStreamProc(this, &TiPlotComponent::ReadImageList0),
                                TStreamProc(this, &TiPlotComponent::WriteImageList0),
                                FImageLists[0]->Count() > 0);
    Filer->DefineBinaryProperty("ImageList1", TStreamProc(this, &TiPlotComponent::ReadImageList1),
                                TStreamProc(this, &TiPlotComponent::WriteImageList1),
                                FImageLists[1]->Count() > 0);
    Filer->DefineBinaryProperty("ImageList2", TStreamProc(this, &TiPlotComponent::ReadImageList2),
                                TStreamProc(this, &TiPlotComponent::WriteImageList2),
                                FImageLists[2]->Count() > 0);
    struct Entry {
      const char* name;
      TiPlotObjectManagerCustom* manager;
      void (TiPlotComponent::*read)(TReader*);
      void (TiPlotComponent::*write)(TWriter*);
    };
    const Entry entries[] = {
        {"ToolBarManager", FMaster->GetToolBarManager(), &PC::ReadToolBars, &PC::WriteToolBars},
        {"LegendManager", FMaster->GetLegendManager(), &PC::ReadLegends, &PC::WriteLegends},
        {"TableManager", FMaster->GetTableManager(), &PC::ReadTables, &PC::WriteTables},
        {"XAxisManager", FMaster->GetXAxisManager(), &PC::ReadXAxes, &PC::WriteXAxes},
        {"YAxisManager", FMaster->GetYAxisManager(), &PC::ReadYAxes, &PC::WriteYAxes},
        {"ChannelManager", FMaster->GetChannelManager(), &PC::ReadChannels, &PC::WriteChannels},
        {"DataViewManager", FMaster->GetDataViewManager(), &PC::ReadDataViews, &PC::WriteDataViews},
        {"DataCursorManager", FMaster->GetDataCursorManager(), &PC::ReadDataCursors, &PC::WriteDataCursors},
        {"LimitManager", FMaster->GetLimitManager(), &PC::ReadLimits, &PC::WriteLimits},
        {"LabelManager", FMaster->GetLabelManager(), &PC::ReadLabels, &PC::WriteLabels}};
    for (const Entry& e : entries)
      if (e.manager)
        Filer->DefineProperty(e.name, TReaderProc(this, e.read), TWriterProc(this, e.write),
                              e.manager->HasItems());
    if (TiPlotTranslationManager* t = FMaster->GetTranslationManager())
      Filer->DefineProperty("TranslationManager", TReaderProc(this, &PC::ReadTranslations),
                            TWriterProc(this, &PC::WriteTranslations), t->HasItems());
    TiCustomComponent::DefineProperties(Filer);
    if (ToolBarCount() > 0 && LabelCount() > 0) {
      TiPlotToolBar* bar = GetToolBar(0);
      TiPlotLabel* label = GetLabel(0);
      if (bar->GetHorizontal() == label->GetHorizontal() && bar->GetZOrder() == label->GetZOrder())
        bar->SetZOrder(bar->GetZOrder() + 1);
    }
  } catch (...) {
    if (writing) EndWriting();
    throw;
  }
  // A written plot stays live: the layout runs again and the lock ends.
  if (writing) EndWriting();
}

void TiPlotComponent::Loaded() {
  TiCustomComponent::Loaded();
  FMaster->SetLayoutActive(true);
  EndUpdate();
}
