#include "plot/iPlotManagers.h"

#include <algorithm>

#include "platform/runtime/Filer.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/TypInfo.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotDataCursor.h"
#include "plot/iPlotDataView.h"
#include "plot/iXYPlotChannel.h"

// ============================================================================================
// base manager
// ============================================================================================

const TClassInfo& TiPlotObjectManagerCustom::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiPlotObjectManagerCustom, TObject>("TiPlotObjectManagerCustom");
  return info;
}

namespace {
TiPlotObjectHost* PlotManagersCheckedOwner(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                                           const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                                           const TNotifyEvent& AOnChange) {
  if (!AOwner) throw Exception("Owner must be Assigned");
  if (!AOnChange) throw Exception("OnChange event handler can not be null");
  if (!AOnInsert) throw Exception("OnInsert event handler can not be null");
  if (!AOnRemove) throw Exception("OnRemove event handler can not be null");
  if (!AOnRename) throw Exception("AOnRename event handler can not be null");
  return AOwner;
}

// The name's number after the base name, when the rest converts as an integer.
bool PlotManagersNameNumber(const AnsiString& Name, const AnsiString& UpperBase, int64_t& Number) {
  if (Name.size() < UpperBase.size() || UpperCase(Name.substr(0, UpperBase.size())) != UpperBase)
    return false;
  int32_t n = 0;
  if (!TryStrToInt(Name.substr(UpperBase.size()), n)) return false;
  Number = n;
  return true;
}

// The name of object 0 of a manager, or "" when there is none.
AnsiString PlotManagersFirstName(TiPlotObjectManagerCustom* Manager) {
  return Manager && Manager->Count() > 0 ? Manager->Items(0)->GetName() : AnsiString();
}

// Writes a string property a kind publishes; a class that does not publish it is left alone.
void PlotManagersSetStr(TiPlotObject* Obj, const char* Prop, const AnsiString& Value) {
  if (const TPropInfo* p = GetPropInfo(Obj->ClassType(), Prop)) SetStrProp(Obj, p, Value);
}
}  // namespace

TiPlotObjectManagerCustom::TiPlotObjectManagerCustom(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                                                     const TNotifyEvent& AOnRemove,
                                                     const TNotifyEvent& AOnInsert,
                                                     const TNotifyEvent& AOnChange)
    : FOwner(PlotManagersCheckedOwner(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange)),
      FOnChange(AOnChange),
      FOnInsert(AOnInsert),
      FOnRemove(AOnRemove),
      FOnRename(AOnRename) {}

TiPlotObjectManagerCustom::~TiPlotObjectManagerCustom() { FOnRemove(this); }

void TiPlotObjectManagerCustom::AfterConstruction() { FOnInsert(this); }

void TiPlotObjectManagerCustom::AfterRemove(TiPlotObject*) {}

void TiPlotObjectManagerCustom::Remove(TiPlotObject* Obj) {
  for (size_t i = FList.size(); i-- > 0;) {
    if (FList[i] != Obj) continue;
    FList.erase(FList.begin() + ptrdiff_t(i));
    AfterRemove(Obj);
    DoChange();
    return;
  }
}

void TiPlotObjectManagerCustom::NotifyRenamed(TiPlotObject* Obj) {
  // A copy: a notified object may change the lists.
  std::vector<TiPlotObject*> list = FList;
  for (TiPlotObject* o : list) o->NotifyObjectRenamed(Obj);
}

void TiPlotObjectManagerCustom::NotifySelected(TiPlotObject* Obj) {
  std::vector<TiPlotObject*> list = FList;
  for (TiPlotObject* o : list) o->NotifyObjectSelected(Obj);
}

void TiPlotObjectManagerCustom::Clear() {}

void TiPlotObjectManagerCustom::Delete(int32_t Index) {
  Items(Index);
  FList.erase(FList.begin() + Index);
}

TiPlotObject* TiPlotObjectManagerCustom::Items(int32_t Index) const {
  if (Index < 0 || Index >= Count())
    throw EStringListError("List index out of bounds (" + IntToStr(Index) + ")");
  return FList[size_t(Index)];
}

int32_t TiPlotObjectManagerCustom::IndexOf(const TiPlotObject* Obj) const {
  auto it = std::find(FList.begin(), FList.end(), Obj);
  return it == FList.end() ? -1 : int32_t(it - FList.begin());
}

TiPlotObject* TiPlotObjectManagerCustom::FindByName(const AnsiString& Name) const {
  const AnsiString upper = UpperCase(Name);
  for (TiPlotObject* o : FList)
    if (UpperCase(o->GetName()) == upper) return o;
  return nullptr;
}

void TiPlotObjectManagerCustom::AddToList(TiPlotObject* Obj) {
  if (IndexOf(Obj) < 0) FList.push_back(Obj);
}

AnsiString TiPlotObjectManagerCustom::GetUniqueName() {
  const AnsiString base = GetBaseName();
  const AnsiString upper = UpperCase(base);
  int64_t max = 0;
  for (TiPlotObject* o : FList) {
    int64_t n = 0;
    if (PlotManagersNameNumber(o->GetName(), upper, n) && n > max) max = n;
  }
  return base + " " + IntToStr(max + 1);
}

void TiPlotObjectManagerCustom::WriteCollection(TWriter* Writer) {
  Writer->WriteValue(vaCollection);
  for (TiPlotObject* o : FList) {
    Writer->WriteListBegin();
    const AnsiString className = StoredClassName(o);
    if (!className.empty()) {
      Writer->WriteStr(StoredClassKey());
      Writer->WriteString(className);
    }
    Writer->WriteProperties(o);
    Writer->WriteListEnd();
  }
  Writer->WriteListEnd();
}

void TiPlotObjectManagerCustom::ReadCollection(TReader* Reader) {
  Clear();
  if (Reader->NextValue() != vaNull) Clear();
  if (Reader->ReadValue() != vaCollection) return;
  while (!Reader->EndOfList()) {
    // A stored order index is not used.
    TValueType next = Reader->NextValue();
    if (next == vaInt8 || next == vaInt16 || next == vaInt32) Reader->ReadInteger();
    Reader->ReadListBegin();
    // The class, when stored, comes before the properties.
    AnsiString className;
    if (!Reader->EndOfList()) {
      const int64_t at = Reader->Stream()->GetPosition();
      if (SameText(Reader->ReadStr(), StoredClassKey()))
        className = Reader->ReadString();
      else
        Reader->Stream()->SetPosition(at);
    }
    TiPlotObject* obj = CreateStoredObject(className);
    try {
      while (!Reader->EndOfList()) Reader->ReadProperty(obj);
      Reader->ReadListEnd();
    } catch (...) {
      TiPlotObject::FreeObject(obj);
      throw;
    }
    obj->DoInserted();
  }
  Reader->ReadListEnd();
}

AnsiString TiPlotObjectManagerCustom::StoredClassName(const TiPlotObject*) const { return AnsiString(); }

TiPlotObject* TiPlotObjectManagerCustom::CreateStoredObject(const AnsiString& ClassName) {
  if (!ClassName.empty()) throw EReadError("Cannot create a stored object of class " + ClassName);
  return CreateObject();
}

void TiPlotObjectManagerCustom::DoChange() { FOnChange(this); }

// ============================================================================================
// owned manager
// ============================================================================================

const TClassInfo& TiPlotObjectOwnedManager::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiPlotObjectOwnedManager, TiPlotObjectManagerCustom>("TiPlotObjectOwnedManager");
  return info;
}

TiPlotObjectOwnedManager::~TiPlotObjectOwnedManager() { TiPlotObjectOwnedManager::Clear(); }

void TiPlotObjectOwnedManager::Remove(TiPlotObject* Obj) {
  std::vector<TiPlotObject*> list = List();
  for (TiPlotObject* o : list)
    if (o != Obj) o->NotifyObjectRemoved(Obj);
  TiPlotObjectManagerCustom::Remove(Obj);
}

void TiPlotObjectOwnedManager::Clear() {
  std::vector<TiPlotObject*> copy = List();
  for (TiPlotObject* o : copy) {
    // Each destructor's remove handler takes the object out of every manager, this one too;
    // a detached object (the plot is being destroyed) is taken out here.
    int32_t i = IndexOf(o);
    TiPlotObject::FreeObject(o);
    if (i >= 0 && i < Count() && Items(i) == o) Delete(i);
  }
}

// ============================================================================================
// all-objects manager
// ============================================================================================

const TClassInfo& TiPlotObjectManager::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiPlotObjectManager, TiPlotObjectManagerCustom>("TiPlotObjectManager");
  return info;
}

TiPlotObjectManager::~TiPlotObjectManager() = default;

TiPlotObject* TiPlotObjectManager::CreateObject() {
  throw Exception("Object Manager does not support creation of objects");
}

void TiPlotObjectManager::Add(TiPlotObject* Obj) {
  if (Obj) AddToList(Obj);
}

void TiPlotObjectManager::DeselectAll() {
  std::vector<TiPlotObject*> list = List();
  for (TiPlotObject* o : list) o->SetSelected(false);
}

void TiPlotObjectManager::SetShiftState(TShiftState Shift) {
  for (TiPlotObject* o : List()) o->SetShiftState(Shift);
}

// The objects selected when the loop reaches them; an object freed by an earlier one's handling
// is no longer in the list and is skipped.
#define PLOT_MANAGERS_FOR_SELECTED(call)               \
  std::vector<TiPlotObject*> list = List();            \
  for (TiPlotObject * o : list) {                      \
    if (IndexOf(o) < 0 || !o->GetSelected()) continue; \
    call;                                              \
  }

void TiPlotObjectManager::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y,
                                    int32_t ScreenX, int32_t ScreenY, TPopupMenu* PopupMenu) {
  PLOT_MANAGERS_FOR_SELECTED(o->MouseDown(Button, Shift, X, Y, ScreenX, ScreenY, PopupMenu))
}

void TiPlotObjectManager::MouseMove(TiHintData& HintData, TShiftState Shift, int32_t X, int32_t Y,
                                    bool DblClick) {
  PLOT_MANAGERS_FOR_SELECTED(o->MouseMove(HintData, Shift, X, Y, DblClick))
}

void TiPlotObjectManager::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  PLOT_MANAGERS_FOR_SELECTED(o->MouseUp(Button, Shift, X, Y))
}

void TiPlotObjectManager::KeyDown(WORD& Key, TShiftState Shift) {
  PLOT_MANAGERS_FOR_SELECTED(o->KeyDown(Key, Shift))
}

bool TiPlotObjectManager::MouseWheel(int32_t WheelDelta, TShiftState Shift, TPoint MousePos) {
  bool handled = false;
  PLOT_MANAGERS_FOR_SELECTED(handled = o->MouseWheel(WheelDelta, Shift, MousePos) || handled)
  return handled;
}

#undef PLOT_MANAGERS_FOR_SELECTED

void TiPlotObjectManager::DetachAll() {
  for (TiPlotObject* o : List()) o->Detach();
}

// ============================================================================================
// per-kind managers
// ============================================================================================

const TClassInfo& TiPlotKindManager::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiPlotKindManager, TiPlotObjectOwnedManager>("TiPlotKindManager");
  return info;
}

TiPlotKindManager::TiPlotKindManager(TiPlotObjectHost* AOwner, const TNotifyEvent& AOnRename,
                                     const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert,
                                     const TNotifyEvent& AOnChange, const char* ABaseName,
                                     const TiPlotObjectClass* AKindClass)
    : TiPlotObjectOwnedManager(AOwner, AOnRename, AOnRemove, AOnInsert, AOnChange),
      FBaseName(ABaseName),
      FKindClass(AKindClass) {}

TiPlotObject* TiPlotKindManager::CreateObject() {
  if (!FKindClass || !FKindClass->Create) throw Exception("No class for " + FBaseName + " objects");
  return FKindClass->Create(GetOwnerHost(), GetOnRename(), GetOnRemove(), GetOnInsert(), GetOnChange());
}

void TiPlotKindManager::Add(TiPlotObject* Obj) {
  if (!IsKind(Obj)) return;
  AddToList(Obj);
  if (!Obj->GetName().empty()) return;
  Obj->SetName(GetUniqueName());
  ApplyDefaults(Obj);
}

#define PLOT_MANAGER_CLASS(T, B)                             \
  const TClassInfo& T::ClassInfo() {                         \
    static const TClassInfo info = TClassInfo::Of<T, B>(#T); \
    return info;                                             \
  }
PLOT_MANAGER_CLASS(TiPlotToolBarManager, TiPlotKindManager)
PLOT_MANAGER_CLASS(TiPlotLegendManager, TiPlotKindManager)
PLOT_MANAGER_CLASS(TiPlotTableManager, TiPlotKindManager)
PLOT_MANAGER_CLASS(TiPlotAxisManager, TiPlotKindManager)
PLOT_MANAGER_CLASS(TiPlotXAxisManager, TiPlotAxisManager)
PLOT_MANAGER_CLASS(TiPlotYAxisManager, TiPlotAxisManager)
PLOT_MANAGER_CLASS(TiPlotChannelManager, TiPlotKindManager)
PLOT_MANAGER_CLASS(TiPlotDataViewManager, TiPlotKindManager)
PLOT_MANAGER_CLASS(TiPlotDataCursorManager, TiPlotKindManager)
PLOT_MANAGER_CLASS(TiPlotLimitManager, TiPlotKindManager)
PLOT_MANAGER_CLASS(TiPlotLabelManager, TiPlotKindManager)
PLOT_MANAGER_CLASS(TiPlotAnnotationManager, TiPlotKindManager)
#undef PLOT_MANAGER_CLASS

void TiPlotAxisManager::ApplyDefaults(TiPlotObject* Obj) { PlotManagersSetStr(Obj, "Title", Obj->GetName()); }

TiPlotObject* TiPlotChannelManager::CreateObject() {
  if (!FChannelClass || !FChannelClass->Create) return TiPlotKindManager::CreateObject();
  return FChannelClass->Create(GetOwnerHost(), GetOnRename(), GetOnRemove(), GetOnInsert(), GetOnChange());
}

namespace {

// The channel classes a stored plot may name.
const TiPlotObjectClass* const kStoredChannelClasses[] = {&PlotClassOf<TiPlotChannel>(),
                                                          &PlotClassOf<TiXYPlotChannel>()};

}  // namespace

AnsiString TiPlotChannelManager::StoredClassName(const TiPlotObject* Obj) const {
  const TClassInfo& cls = Obj->ClassType();
  const TClassInfo& own = TiPlotChannel::ClassInfo();
  if (&cls == &own && FChannelClass && &FChannelClass->Info() == &own) return AnsiString();
  // A class a stored plot cannot name comes back only as the channel class, as before.
  for (const TiPlotObjectClass* known : kStoredChannelClasses)
    if (&known->Info() == &cls) return cls.Name();
  return AnsiString();
}

const TiPlotObjectClass* TiPlotChannelManager::StoredClass(const AnsiString& ClassName) const {
  if (ClassName.empty()) return FChannelClass;
  for (const TiPlotObjectClass* cls : kStoredChannelClasses)
    if (SameText(cls->Info().Name(), ClassName)) return cls;
  throw EReadError("Unknown channel class " + ClassName);
}

TiPlotObject* TiPlotChannelManager::CreateStoredObject(const AnsiString& ClassName) {
  if (ClassName.empty()) return CreateObject();
  return StoredClass(ClassName)->Create(GetOwnerHost(), GetOnRename(), GetOnRemove(), GetOnInsert(),
                                        GetOnChange());
}

const std::vector<TColor>& TiPlotChannelManager::Palette() {
  static const std::vector<TColor> palette{
      0x0000FF, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0x00FF00, 0xFFFFFF, 0x000080, 0x008000, 0x008080,
      0x800000, 0x800080, 0x808000, 0x808080, 0x0000C0, 0x00C000, 0x00C0C0, 0xC00000, 0xC000C0, 0xC0C000,
      0xC0C0C0, 0x0080FF, 0x8000FF, 0x8080FF, 0xFF0080, 0xFF8000, 0xFF8080, 0x00FF80, 0x80FF00, 0x80FF80};
  return palette;
}

TColor TiPlotChannelManager::NextColor() {
  const std::vector<TColor>& palette = Palette();
  if (Count() < 2) return palette[0];
  std::vector<TiColorCountObject> counts;
  for (TColor c : palette) counts.push_back({c, 0});
  for (TiPlotObject* o : List()) {
    const TPropInfo* p = GetPropInfo(o->ClassType(), "Color");
    // The new channel still has the colour its constructor gave it.
    TColor c = p ? TColor(GetOrdProp(o, p)) : palette[0];
    for (TiColorCountObject& e : counts)
      if (e.Color == c) ++e.Count;
  }
  const TiColorCountObject* best = &counts[0];
  for (const TiColorCountObject& e : counts)
    if (e.Count < best->Count) best = &e;
  return best->Color;
}

void TiPlotChannelManager::ApplyDefaults(TiPlotObject* Obj) {
  PlotManagersSetStr(Obj, "TitleText", Obj->GetName());
  if (const TPropInfo* p = GetPropInfo(Obj->ClassType(), "Color")) SetOrdProp(Obj, p, NextColor());
  if (FXAxisManager && FXAxisManager->Count() > 0)
    PlotManagersSetStr(Obj, "XAxisName", PlotManagersFirstName(FXAxisManager));
  if (FYAxisManager && FYAxisManager->Count() > 0)
    PlotManagersSetStr(Obj, "YAxisName", PlotManagersFirstName(FYAxisManager));
}

void TiPlotDataViewManager::ApplyDefaults(TiPlotObject* Obj) {
  if (FXAxisManager && FXAxisManager->Count() > 0)
    PlotManagersSetStr(Obj, "GridXAxisName", PlotManagersFirstName(FXAxisManager));
  if (FYAxisManager && FYAxisManager->Count() > 0)
    PlotManagersSetStr(Obj, "GridYAxisName", PlotManagersFirstName(FYAxisManager));
}

void TiPlotDataCursorManager::ApplyDefaults(TiPlotObject* Obj) {
  auto* cursor = dynamic_cast<TiPlotDataCursor*>(Obj);
  if (cursor && FDataViewManager && FDataViewManager->Count() > 0)
    cursor->SetDataView(dynamic_cast<TiPlotDataView*>(FDataViewManager->Items(0)));
  if (FChannelManager && FChannelManager->Count() > 0)
    PlotManagersSetStr(Obj, "ChannelName", PlotManagersFirstName(FChannelManager));
}

void TiPlotLimitManager::ApplyDefaults(TiPlotObject* Obj) {
  if (FXAxisManager && FXAxisManager->Count() > 0)
    PlotManagersSetStr(Obj, "XAxisName", PlotManagersFirstName(FXAxisManager));
  if (FYAxisManager && FYAxisManager->Count() > 0)
    PlotManagersSetStr(Obj, "YAxisName", PlotManagersFirstName(FYAxisManager));
}

void TiPlotLabelManager::ApplyDefaults(TiPlotObject* Obj) {
  PlotManagersSetStr(Obj, "Caption", Obj->GetName());
}

void TiPlotAnnotationManager::Add(TiPlotObject* Obj) {
  if (IsKind(Obj)) AddToList(Obj);
}
