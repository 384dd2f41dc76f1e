#include "plot/iPlotMasterManager.h"

#include "platform/runtime/TypInfo.h"
#include "platform/ui/Forms.h"
#include "plot/iPlotAnnotation.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannelCustom.h"
#include "plot/iPlotDataCursor.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLegend.h"
#include "plot/iPlotLimit.h"
#include "plot/iPlotTable.h"
#include "plot/iPlotToolBar.h"
#include "widgets/iEditorBasicComponents.h"

const TiPlotObjectClass& PlotChannelBaseClass() {
  static const TiPlotObjectClass cls{&TiPlotChannelCustom::ClassInfo, nullptr};
  return cls;
}

const TClassInfo& TiPlotMasterManager::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TiPlotMasterManager, TObject>("TiPlotMasterManager");
  return info;
}

TiPlotMasterManager::TiPlotMasterManager(TiPlotObjectHost* APlot) : FOwner(APlot) {
  const TNotifyEvent ren(this, &TiPlotMasterManager::RenameHandler);
  const TNotifyEvent rem(this, &TiPlotMasterManager::RemoveHandler);
  const TNotifyEvent ins(this, &TiPlotMasterManager::InsertHandler);
  const TNotifyEvent chg(this, &TiPlotMasterManager::ChangeHandler);
  // Each manager announces itself to the insert handler, which files it.
  auto announce = [](TiPlotObjectManagerCustom* m) { m->AfterConstruction(); };
  announce(new TiPlotObjectManager(APlot, ren, rem, ins, chg));
  announce(new TiPlotToolBarManager(APlot, ren, rem, ins, chg, &PlotClassOf<TiPlotToolBar>()));
  announce(new TiPlotLegendManager(APlot, ren, rem, ins, chg, &PlotClassOf<TiPlotLegend>()));
  announce(new TiPlotTableManager(APlot, ren, rem, ins, chg, &PlotClassOf<TiPlotTable>()));
  announce(new TiPlotChannelManager(APlot, ren, rem, ins, chg, &PlotChannelBaseClass()));
  announce(new TiPlotDataCursorManager(APlot, ren, rem, ins, chg, &PlotClassOf<TiPlotDataCursor>()));
  announce(new TiPlotDataViewManager(APlot, ren, rem, ins, chg, &PlotClassOf<TiPlotDataView>()));
  announce(new TiPlotXAxisManager(APlot, ren, rem, ins, chg, &PlotClassOf<TiPlotXAxis>()));
  announce(new TiPlotYAxisManager(APlot, ren, rem, ins, chg, &PlotClassOf<TiPlotYAxis>()));
  announce(new TiPlotLimitManager(APlot, ren, rem, ins, chg, &PlotClassOf<TiPlotLimit>()));
  announce(new TiPlotLabelManager(APlot, ren, rem, ins, chg, &PlotClassOf<TiPlotLabel>()));
  announce(new TiPlotAnnotationManager(APlot, ren, rem, ins, chg, &PlotClassOf<TiPlotAnnotation>()));
  // The layout manager announces itself (its placeholders need it filed first).
  new TiPlotLayoutManager(APlot, ren, rem, ins, chg);
  (new TiPlotTranslationManager(rem, ins))->AfterConstruction();

  FChannelManager->SetAxisManagers(FXAxisManager, FYAxisManager);
  FDataViewManager->SetAxisManagers(FXAxisManager, FYAxisManager);
  FDataCursorManager->SetReferences(FChannelManager, FDataViewManager);
  FLimitManager->SetAxisManagers(FXAxisManager, FYAxisManager);
}

TiPlotMasterManager::~TiPlotMasterManager() {
  FreeEditor();
  // The plot has detached every object, so freeing them calls nothing back; each manager's
  // remove handler clears its field.
  delete FToolBarManager;
  delete FLegendManager;
  delete FTableManager;
  delete FChannelManager;
  delete FXAxisManager;
  delete FYAxisManager;
  delete FDataViewManager;
  delete FDataCursorManager;
  delete FLimitManager;
  delete FLabelManager;
  delete FAnnotationManager;
  delete FTranslationManager;
  delete FObjectManager;
  delete FLayoutManager;
}

TiPlotKindManager* TiPlotMasterManager::KindManagerOf(const TiPlotObject* Obj) const {
  TiPlotKindManager* kinds[] = {FToolBarManager, FLegendManager,  FTableManager,     FXAxisManager,
                                FYAxisManager,   FChannelManager, FDataViewManager,  FDataCursorManager,
                                FLimitManager,   FLabelManager,   FAnnotationManager};
  for (TiPlotKindManager* m : kinds)
    if (m && m->IsKind(Obj)) return m;
  return nullptr;
}

std::vector<TiPlotObjectManagerCustom*> TiPlotMasterManager::NotifyManagers() const {
  return {FToolBarManager, FLegendManager,  FTableManager,      FXAxisManager,
          FYAxisManager,   FChannelManager, FDataViewManager,   FDataCursorManager,
          FLimitManager,   FLabelManager,   FAnnotationManager, FLayoutManager};
}

// ============================================================================================
// handlers
// ============================================================================================

void TiPlotMasterManager::InsertHandler(TObject* Sender) {
  if (auto* obj = dynamic_cast<TiPlotObject*>(Sender)) {
    FObjectManager->Add(obj);
    if (FLayoutManager && dynamic_cast<TiPlotLayoutObject*>(obj)) FLayoutManager->Add(obj);
    if (TiPlotKindManager* m = KindManagerOf(obj)) m->Add(obj);
    obj->SetOnSelected(TNotifyEvent(this, &TiPlotMasterManager::SelectedHandler));
    obj->SetOnSelectionChanged(OnSelectionChanged);
    obj->SetUserCanEdit(FUserCanEditObjects);
    obj->SetOnEditRequest(TNotifyEvent(this, &TiPlotMasterManager::ShowEditorFor));
    obj->SetXYAxesReverse(FXYAxesReverse);
    EditorObjectInserted(obj);
    return;
  }
  if (auto* pair = dynamic_cast<TiPlotTranslationObject*>(Sender)) {
    if (FTranslationManager) FTranslationManager->AddPair(pair);
    return;
  }
  if (auto* m = dynamic_cast<TiPlotTranslationManager*>(Sender)) {
    FTranslationManager = m;
  } else if (auto* m1 = dynamic_cast<TiPlotObjectManager*>(Sender)) {
    FObjectManager = m1;
  } else if (auto* m2 = dynamic_cast<TiPlotToolBarManager*>(Sender)) {
    FToolBarManager = m2;
  } else if (auto* m3 = dynamic_cast<TiPlotLegendManager*>(Sender)) {
    FLegendManager = m3;
  } else if (auto* m4 = dynamic_cast<TiPlotTableManager*>(Sender)) {
    FTableManager = m4;
  } else if (auto* m5 = dynamic_cast<TiPlotXAxisManager*>(Sender)) {
    FXAxisManager = m5;
  } else if (auto* m6 = dynamic_cast<TiPlotYAxisManager*>(Sender)) {
    FYAxisManager = m6;
  } else if (auto* m7 = dynamic_cast<TiPlotChannelManager*>(Sender)) {
    FChannelManager = m7;
  } else if (auto* m8 = dynamic_cast<TiPlotDataViewManager*>(Sender)) {
    FDataViewManager = m8;
  } else if (auto* m9 = dynamic_cast<TiPlotDataCursorManager*>(Sender)) {
    FDataCursorManager = m9;
  } else if (auto* m10 = dynamic_cast<TiPlotLimitManager*>(Sender)) {
    FLimitManager = m10;
  } else if (auto* m11 = dynamic_cast<TiPlotLabelManager*>(Sender)) {
    FLabelManager = m11;
  } else if (auto* m12 = dynamic_cast<TiPlotAnnotationManager*>(Sender)) {
    FAnnotationManager = m12;
  } else if (auto* m13 = dynamic_cast<TiPlotLayoutManager*>(Sender)) {
    FLayoutManager = m13;
  }
}

void TiPlotMasterManager::RemoveHandler(TObject* Sender) {
  OnRemove(Sender);
  if (auto* pair = dynamic_cast<TiPlotTranslationObject*>(Sender)) {
    if (FTranslationManager) FTranslationManager->RemovePair(pair);
    return;
  }
  if (auto* obj = dynamic_cast<TiPlotObject*>(Sender)) {
    EditorObjectRemoved(obj);
    TiPlotObjectManagerCustom* order[] = {
        FObjectManager, FLayoutManager, FToolBarManager,   FLegendManager,   FTableManager,
        FXAxisManager,  FYAxisManager,  FChannelManager,   FDataViewManager, FDataCursorManager,
        FLimitManager,  FLabelManager,  FAnnotationManager};
    for (TiPlotObjectManagerCustom* m : order)
      if (m) m->Remove(obj);
    return;
  }
  TObject* fields[] = {FObjectManager,     FToolBarManager,    FLegendManager,  FTableManager,
                       FXAxisManager,      FYAxisManager,      FChannelManager, FDataViewManager,
                       FDataCursorManager, FLimitManager,      FLabelManager,   FAnnotationManager,
                       FLayoutManager,     FTranslationManager};
  for (size_t i = 0; i < std::size(fields); ++i) {
    if (fields[i] != Sender) continue;
    switch (i) {
      case 0:
        FObjectManager = nullptr;
        break;
      case 1:
        FToolBarManager = nullptr;
        break;
      case 2:
        FLegendManager = nullptr;
        break;
      case 3:
        FTableManager = nullptr;
        break;
      case 4:
        FXAxisManager = nullptr;
        break;
      case 5:
        FYAxisManager = nullptr;
        break;
      case 6:
        FChannelManager = nullptr;
        break;
      case 7:
        FDataViewManager = nullptr;
        break;
      case 8:
        FDataCursorManager = nullptr;
        break;
      case 9:
        FLimitManager = nullptr;
        break;
      case 10:
        FLabelManager = nullptr;
        break;
      case 11:
        FAnnotationManager = nullptr;
        break;
      case 12:
        FLayoutManager = nullptr;
        break;
      case 13:
        FTranslationManager = nullptr;
        break;
    }
  }
}

void TiPlotMasterManager::RenameHandler(TObject* Sender) {
  auto* obj = dynamic_cast<TiPlotObject*>(Sender);
  if (!obj) return;
  for (TiPlotObjectManagerCustom* m : NotifyManagers())
    if (m) m->NotifyRenamed(obj);
  EditorObjectRenamed(obj);
}

void TiPlotMasterManager::ChangeHandler(TObject* Sender) { OnChange(Sender); }

void TiPlotMasterManager::SelectedHandler(TObject* Sender) {
  auto* obj = dynamic_cast<TiPlotObject*>(Sender);
  if (!obj) return;
  for (TiPlotObjectManagerCustom* m : NotifyManagers())
    if (m) m->NotifySelected(obj);
}


// ============================================================================================
// add operations
// ============================================================================================

int32_t TiPlotMasterManager::AddObject(const TiPlotObjectClass* Class, TiPlotObjectManagerCustom* Manager) {
  if (!Class || !Class->Create || !Manager) throw Exception("This plot has no class for such objects");
  TiPlotObject* obj = Class->Create(FOwner, TNotifyEvent(this, &TiPlotMasterManager::RenameHandler),
                                    TNotifyEvent(this, &TiPlotMasterManager::RemoveHandler),
                                    TNotifyEvent(this, &TiPlotMasterManager::InsertHandler),
                                    TNotifyEvent(this, &TiPlotMasterManager::ChangeHandler));
  try {
    obj->DoInserted();
  } catch (...) {
    TiPlotObject::FreeObject(obj);
    throw;
  }
  return Manager->Count() - 1;
}

int32_t TiPlotMasterManager::AddChannel() { return AddObject(FChannelClass, FChannelManager); }
int32_t TiPlotMasterManager::AddChannelOf(const TiPlotObjectClass* Class) {
  return AddObject(Class, FChannelManager);
}
int32_t TiPlotMasterManager::AddDataView() {
  return AddObject(&PlotClassOf<TiPlotDataView>(), FDataViewManager);
}
int32_t TiPlotMasterManager::AddDataCursor() {
  return AddObject(&PlotClassOf<TiPlotDataCursor>(), FDataCursorManager);
}
int32_t TiPlotMasterManager::AddLimit() { return AddObject(&PlotClassOf<TiPlotLimit>(), FLimitManager); }
int32_t TiPlotMasterManager::AddLabel() { return AddObject(&PlotClassOf<TiPlotLabel>(), FLabelManager); }
int32_t TiPlotMasterManager::AddAnnotation() {
  return AddObject(&PlotClassOf<TiPlotAnnotation>(), FAnnotationManager);
}
int32_t TiPlotMasterManager::AddLegend() { return AddObject(&PlotClassOf<TiPlotLegend>(), FLegendManager); }
int32_t TiPlotMasterManager::AddTable() { return AddObject(&PlotClassOf<TiPlotTable>(), FTableManager); }
int32_t TiPlotMasterManager::AddToolBar() {
  return AddObject(&PlotClassOf<TiPlotToolBar>(), FToolBarManager);
}
int32_t TiPlotMasterManager::AddXAxis() { return AddObject(&PlotClassOf<TiPlotXAxis>(), FXAxisManager); }
int32_t TiPlotMasterManager::AddYAxis() { return AddObject(&PlotClassOf<TiPlotYAxis>(), FYAxisManager); }

// ============================================================================================
// form translation
// ============================================================================================

void TiPlotMasterManager::TranslateForm(TCustomForm* Form) {
  if (!Form || !FTranslationManager || FTranslationManager->Count() == 0) return;
  TiPlotTranslationManager* t = FTranslationManager;
  // Only texts that have a pair change: setting an edit's or a list's text has side effects.
  const auto text = [t](const AnsiString& Text, auto&& Set) {
    const AnsiString to = t->TranslateText(Text);
    if (to != Text) Set(to);
  };
  const auto items = [t](TStrings* List) {
    for (int32_t i = 0; i < List->Count(); ++i) {
      const AnsiString to = t->TranslateText(List->Strings(i));
      if (to != List->Strings(i)) List->Put(i, to);
    }
  };
  text(Form->GetCaption(), [&](const AnsiString& v) { Form->SetCaption(v); });
  for (int32_t i = 0; i < Form->ComponentCount(); ++i) {
    TComponent* c = Form->Components(i);
    if (auto* check = dynamic_cast<TiComponentEditorCheckBox*>(c))
      text(check->GetCaption(), [&](const AnsiString& v) { check->SetCaption(v); });
    else if (auto* group = dynamic_cast<TiComponentEditorRadioGroup*>(c)) {
      text(group->GetCaption(), [&](const AnsiString& v) { group->SetCaption(v); });
      items(group->GetItems());
    } else if (auto* combo = dynamic_cast<TiComponentEditorComboBox*>(c))
      items(combo->GetItems());
    else if (auto* control = dynamic_cast<TControl*>(c))
      text(control->GetText(), [&](const AnsiString& v) { control->SetText(v); });
    else if (auto* menu = dynamic_cast<TPopupMenu*>(c))
      for (int32_t k = 0; k < menu->Items()->Count(); ++k) {
        TMenuItem* item = menu->Items()->Items(k);
        text(item->GetCaption(), [&](const AnsiString& v) { item->SetCaption(v); });
      }
  }
}

// ============================================================================================
// plot-wide state
// ============================================================================================

std::vector<TiPlotObject*> TiPlotMasterManager::FlagObjects() const {
  std::vector<TiPlotObject*> out;
  TiPlotObjectManagerCustom* order[] = {
      FChannelManager, FXAxisManager,      FYAxisManager, FDataViewManager, FToolBarManager,   FLegendManager,
      FTableManager,   FDataCursorManager, FLimitManager, FLabelManager,    FAnnotationManager};
  for (TiPlotObjectManagerCustom* m : order)
    if (m) out.insert(out.end(), m->List().begin(), m->List().end());
  return out;
}

void TiPlotMasterManager::SetUserCanEditObjects(bool Value) {
  FUserCanEditObjects = Value;
  for (TiPlotObject* o : FlagObjects()) o->SetUserCanEdit(Value);
}

void TiPlotMasterManager::SetXYAxesReverse(bool Value) {
  FXYAxesReverse = Value;
  if (FLayoutManager) FLayoutManager->SetXYAxesReverse(Value);
  for (TiPlotObject* o : FlagObjects()) o->SetXYAxesReverse(Value);
  OnSelectionChanged(this);
}

void TiPlotMasterManager::SetChannelClass(const TiPlotObjectClass* Value) {
  FChannelClass = Value;
  if (FChannelManager) FChannelManager->SetChannelClass(Value);
}

void TiPlotMasterManager::SetToolBarsVisible(bool Value) {
  if (!FToolBarManager) return;
  for (TiPlotObject* o : FToolBarManager->List()) o->SetVisible(Value);
}

void TiPlotMasterManager::DeselectAll() {
  if (FObjectManager) FObjectManager->DeselectAll();
}

void TiPlotMasterManager::SetLayoutActive(bool Value) {
  if (FLayoutManager) FLayoutManager->SetActive(Value);
}

void TiPlotMasterManager::ClearAllChannels() {
  for (TiPlotObject* o : FChannelManager->List()) static_cast<TiPlotChannelCustom*>(o)->Clear();
  for (TiPlotObject* o : FXAxisManager->List()) static_cast<TiPlotAxis*>(o)->ResetFirstValue();
  for (TiPlotObject* o : FYAxisManager->List()) static_cast<TiPlotAxis*>(o)->ResetFirstValue();
}
