#include "platform/runtime/Collection.h"

#include <algorithm>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/TypInfo.h"

namespace {
[[noreturn]] void IndexError(int32_t index) {
  throw EListError("List index out of bounds (" + IntToStr(index) + ")");
}
}  // namespace

// ============================================================================================
// TCollectionItem
// ============================================================================================

const TClassInfo& TCollectionItem::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCollectionItem, TPersistent>("TCollectionItem");
  return info;
}

TCollectionItem::TCollectionItem(TCollection* Collection) {
  if (Collection) Collection->InsertItem(this, !Collection->constructing_);
}

TCollectionItem::~TCollectionItem() {
  if (collection_) collection_->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* Value) {
  if (collection_ == Value) return;
  if (Value && !InheritsFrom(Value->ItemClass())) throw EListError("Invalid property value");
  if (collection_) collection_->RemoveItem(this);
  if (Value) Value->InsertItem(this, true);
}

int32_t TCollectionItem::GetIndex() const {
  if (!collection_) return -1;
  auto& items = collection_->items_;
  return int32_t(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int32_t Value) {
  int32_t current = GetIndex();
  if (current < 0 || current == Value) return;
  auto& items = collection_->items_;
  if (Value < 0 || Value >= int32_t(items.size())) IndexError(Value);
  items.erase(items.begin() + current);
  items.insert(items.begin() + Value, this);
  Changed(true);
}

AnsiString TCollectionItem::GetDisplayName() { return ClassName(); }

TPersistent* TCollectionItem::GetOwner() { return collection_; }

AnsiString TCollectionItem::GetNamePath() {
  if (!collection_) return ClassName();
  return collection_->GetNamePath() + "[" + IntToStr(GetIndex()) + "]";
}

void TCollectionItem::Changed(bool AllItems) {
  if (collection_ && collection_->updateCount_ == 0) collection_->Update(AllItems ? nullptr : this);
}

// ============================================================================================
// TCollection
// ============================================================================================

const TClassInfo& TCollection::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCollection, TPersistent>("TCollection");
  return info;
}

const TClassInfo& TOwnedCollection::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TOwnedCollection, TCollection>("TOwnedCollection");
  return info;
}

TCollection::TCollection(const TClassInfo& ItemClass) : itemClass_(&ItemClass) {}

TCollection::~TCollection() {
  updateCount_ = 1;
  while (!items_.empty()) delete items_.back();
}

TCollectionItem* TCollection::Add() {
  constructing_ = true;
  TCollectionItem* item;
  try {
    item = itemClass_->CreateItem(this);
  } catch (...) {
    constructing_ = false;
    throw;
  }
  constructing_ = false;
  Announce(item);
  return item;
}

TCollectionItem* TCollection::Insert(int32_t Index) {
  if (Index < 0 || Index > Count()) IndexError(Index);
  TCollectionItem* item = Add();
  item->SetIndex(Index);
  return item;
}

void TCollection::Delete(int32_t Index) {
  TCollectionItem* item = Items(Index);
  Notify(item, cnDeleting);
  delete item;
}

void TCollection::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  try {
    while (!items_.empty()) delete items_.back();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TCollection::Changed() {
  if (updateCount_ == 0) Update(nullptr);
}

TCollectionItem* TCollection::Items(int32_t Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  return items_[size_t(Index)];
}

void TCollection::SetItem(int32_t Index, TCollectionItem* Value) { Items(Index)->Assign(Value); }

TCollectionItem* TCollection::FindItemID(int32_t ID) const {
  for (TCollectionItem* item : items_)
    if (item->id_ == ID) return item;
  return nullptr;
}

void TCollection::InsertItem(TCollectionItem* Item, bool announce) {
  items_.push_back(Item);
  Item->collection_ = this;
  Item->id_ = nextID_++;
  if (announce) Announce(Item);
}

void TCollection::Announce(TCollectionItem* Item) {
  Notify(Item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  Notify(Item, cnExtracting);
  auto it = std::find(items_.begin(), items_.end(), Item);
  if (it != items_.end()) items_.erase(it);
  Item->collection_ = nullptr;
  Changed();
}

void TCollection::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TCollection*>(Source);
  if (!source) return TPersistent::Assign(Source);
  BeginUpdate();
  try {
    Clear();
    for (TCollectionItem* item : source->items_) Add()->Assign(item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

AnsiString TCollection::PropName() {
  TPersistent* owner = GetOwner();
  if (!owner) return "";
  for (const TPropInfo* prop : GetPropList(owner, TTypeKinds{tkClass}))
    if (prop->HasGetter() && GetObjectProp(owner, prop) == this) return prop->Name;
  return "";
}

AnsiString TCollection::GetNamePath() {
  TPersistent* owner = GetOwner();
  if (!owner) return ClassName();
  AnsiString path = owner->GetNamePath();
  if (path.empty()) return ClassName();
  AnsiString prop = PropName();
  if (prop.empty()) return ClassName();
  return path + "." + prop;
}
