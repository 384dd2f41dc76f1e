#include "plot/iPlotTranslation.h"

#include <algorithm>

#include "platform/runtime/Filer.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/TypInfo.h"

const TClassInfo& TiPlotTranslationObject::ClassInfo() {
  using T = TiPlotTranslationObject;
  static const TClassInfo info =
      TClassInfo::Of<T, TPersistent>("TiPlotTranslationObject")
          .Prop("OriginalString", &T::GetOriginalString, &T::SetOriginalString)
          .Prop("ReplacementString", &T::GetReplacementString, &T::SetReplacementString);
  return info;
}

TiPlotTranslationObject::TiPlotTranslationObject(const TNotifyEvent& AOnRemove, const TNotifyEvent& AOnInsert)
    : FOnRemove(AOnRemove) {
  AOnInsert(this);
}

TiPlotTranslationObject::~TiPlotTranslationObject() { FOnRemove(this); }

const TClassInfo& TiPlotTranslationManager::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiPlotTranslationManager, TObject>("TiPlotTranslationManager");
  return info;
}

TiPlotTranslationManager::TiPlotTranslationManager(const TNotifyEvent& AOnRemove,
                                                   const TNotifyEvent& AOnInsert)
    : FOnRemove(AOnRemove), FOnInsert(AOnInsert) {
  if (!AOnInsert) throw Exception("OnInsert event handler can not be null");
  if (!AOnRemove) throw Exception("OnRemove event handler can not be null");
}

TiPlotTranslationManager::~TiPlotTranslationManager() {
  Clear();
  FOnRemove(this);
}

void TiPlotTranslationManager::AfterConstruction() { FOnInsert(this); }

void TiPlotTranslationManager::Clear() {
  std::vector<TiPlotTranslationObject*> copy = FPairs;
  for (TiPlotTranslationObject* p : copy) {
    delete p;
    // A pair whose remove handler did not reach this table still leaves it.
    RemovePair(p);
  }
}

TiPlotTranslationObject* TiPlotTranslationManager::Pairs(int32_t Index) const {
  if (Index < 0 || Index >= Count())
    throw EStringListError("List index out of bounds (" + IntToStr(Index) + ")");
  return FPairs[size_t(Index)];
}

void TiPlotTranslationManager::DeletePair(int32_t Index) {
  TiPlotTranslationObject* p = Pairs(Index);
  delete p;
  RemovePair(p);
}

void TiPlotTranslationManager::AddPair(TiPlotTranslationObject* Pair) {
  if (Pair && std::find(FPairs.begin(), FPairs.end(), Pair) == FPairs.end())
    FPairs.insert(FPairs.begin(), Pair);
}

void TiPlotTranslationManager::RemovePair(TiPlotTranslationObject* Pair) {
  auto it = std::find(FPairs.begin(), FPairs.end(), Pair);
  if (it != FPairs.end()) FPairs.erase(it);
}

AnsiString TiPlotTranslationManager::TranslateText(const AnsiString& Text) const {
  for (TiPlotTranslationObject* p : FPairs)
    if (p->GetOriginalString() == Text) return p->GetReplacementString();
  return Text;
}

TiPlotTranslationObject* TiPlotTranslationManager::NewPair(const AnsiString& Original,
                                                           const AnsiString& Replacement) {
  auto* p = new TiPlotTranslationObject(FOnRemove, FOnInsert);
  p->SetOriginalString(Original);
  p->SetReplacementString(Replacement);
  return p;
}

void TiPlotTranslationManager::WriteCollection(TWriter* Writer) {
  Writer->WriteValue(vaCollection);
  for (auto it = FPairs.rbegin(); it != FPairs.rend(); ++it) {
    Writer->WriteListBegin();
    Writer->WriteProperties(*it);
    Writer->WriteListEnd();
  }
  Writer->WriteListEnd();
}

void TiPlotTranslationManager::ReadCollection(TReader* Reader) {
  Clear();
  if (Reader->ReadValue() != vaCollection) return;
  while (!Reader->EndOfList()) {
    TValueType next = Reader->NextValue();
    if (next == vaInt8 || next == vaInt16 || next == vaInt32) Reader->ReadInteger();
    TiPlotTranslationObject* p = NewPair("Unknown", "Unknown");
    Reader->ReadListBegin();
    while (!Reader->EndOfList()) Reader->ReadProperty(p);
    Reader->ReadListEnd();
  }
  Reader->ReadListEnd();
}
