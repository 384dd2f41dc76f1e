#include "widgets/iOPCItem.h"

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Filer.h"
#include "platform/runtime/NumText.h"
#include "platform/runtime/Strings.h"
#include "widgets/iGPFunctions.h"
#include "widgets/iOPCDLLLoader.h"
#include "widgets/iVCLComponent.h"

const TClassInfo& TiOPCItem::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TiOPCItem, TPersistent>("TiOPCItem")
          .Prop("PropertyName", &TiOPCItem::GetPropertyName, &TiOPCItem::SetPropertyName)
          .Prop("GroupName", &TiOPCItem::GetGroupName, &TiOPCItem::SetGroupName)
          .Prop("ServerName", &TiOPCItem::GetServerName, &TiOPCItem::SetServerName)
          .Prop("ComputerName", &TiOPCItem::GetComputerName, &TiOPCItem::SetComputerName)
          .Prop("ItemName", &TiOPCItem::GetItemName, &TiOPCItem::SetItemName)
          .Prop("UpdateRate", &TiOPCItem::GetUpdateRate, &TiOPCItem::SetUpdateRate)
          .Default(500)
          .Prop("AutoConnect", &TiOPCItem::GetAutoConnect, &TiOPCItem::SetAutoConnect)
          .Default(true)
          .Prop("AutoError", &TiOPCItem::GetAutoError, &TiOPCItem::SetAutoError)
          .Default(false);
  return info;
}

TiOPCItem::~TiOPCItem() {
  try {
    Disconnect();
  } catch (...) {
  }
}

bool TiOPCItem::OwnerDesigning() const {
  return manager_ && manager_->Owner() && manager_->Owner()->IsDesignMode();
}

bool TiOPCItem::IsActive() {
  return manager_ && !OwnerDesigning() && OPCBridge().Loaded() && OPCBridge().SignalGetActive(handle_);
}

void TiOPCItem::Connect() {
  if (!OPCBridge().Loaded() || !manager_ || OwnerDesigning()) return;
  if (autoError_) UpdateErrorState();
  if (handle_ != 0) {
    OPCBridge().SignalRemove(handle_);
    handle_ = 0;
  }
  if (Trim(propertyName_).empty() || (Trim(groupName_).empty() && Trim(serverName_).empty()) ||
      Trim(itemName_).empty())
    return;
  handle_ =
      OPCBridge().SignalAdd(computerName_.c_str(), serverName_.c_str(), itemName_.c_str(), groupName_.c_str(),
                            updateRate_, false, propertyKind_, this, &TiOPCItem::DataCallback);
}

void TiOPCItem::Disconnect() {
  if (!OPCBridge().Loaded() || !manager_ || OwnerDesigning()) return;
  OPCBridge().SignalRemove(handle_);
  handle_ = 0;
}

void TiOPCItem::SendData(const Variant& Value) {
  if (OPCBridge().Loaded()) OPCBridge().SignalSendData(handle_, Value);
}

void TiOPCItem::Activate() {
  try {
    if (autoError_) UpdateErrorState();
    if (autoConnect_ && !OwnerDesigning()) Connect();
  } catch (...) {
  }
}

void TiOPCItem::UpdateErrorState() {
  if (manager_ && manager_->Owner() && IsActive()) manager_->Owner()->SetErrorActive(!QualityGood());
}

void TiOPCItem::DataCallback(void* Item, const Variant* Value, uint16_t Quality, int32_t Time1,
                             int32_t Time2) noexcept {
  // The bridge's code is below us: an exception must end here, reported like any handler's.
  try {
    auto* item = static_cast<TiOPCItem*>(Item);
    if (!item) return;
    item->value_ = Value ? *Value : Variant();
    item->quality_ = Quality;
    item->time1_ = Time1;
    item->time2_ = Time2;
    if (item->autoError_) item->UpdateErrorState();
    if (item->manager_ && item->manager_->Owner()) item->manager_->Owner()->ApplyOPCData(item);
  } catch (...) {
    ApplicationHandleException(nullptr);
  }
}

void TiOPCItem::ReconnectIfActive() {
  if (OPCBridge().Loaded() && IsActive()) Connect();
}

void TiOPCItem::SetServerName(const AnsiString& Value) {
  serverName_ = Value;
  ReconnectIfActive();
}
void TiOPCItem::SetComputerName(const AnsiString& Value) {
  computerName_ = Value;
  ReconnectIfActive();
}
void TiOPCItem::SetItemName(const AnsiString& Value) {
  itemName_ = Value;
  ReconnectIfActive();
}
void TiOPCItem::SetUpdateRate(int32_t Value) {
  updateRate_ = Value;
  ReconnectIfActive();
}
void TiOPCItem::SetGroupName(const AnsiString& Value) {
  groupName_ = Value;
  if (IsActive()) Connect();
}
void TiOPCItem::SetAutoConnect(bool Value) {
  autoConnect_ = Value;
  TiVCLComponent* owner = manager_ ? manager_->Owner() : nullptr;
  if (OPCBridge().Loaded() && owner && !owner->IsStreaming() && autoConnect_) Connect();
}
void TiOPCItem::SetPropertyName(const AnsiString& Value) {
  propertyName_ = Value;
  propertyKind_ = manager_ && manager_->Owner() ? PropertyKindByName(manager_->Owner(), Value) : 0;
}
void TiOPCItem::SetAutoError(bool Value) {
  autoError_ = Value;
  if (Value) UpdateErrorState();
}

// ============================================================================ manager =========

TiOPCItemManager::~TiOPCItemManager() { Clear(); }

TiOPCItem* TiOPCItemManager::Add() {
  items_.push_back(std::make_unique<TiOPCItem>(this));
  return items_.back().get();
}

void TiOPCItemManager::Clear() { items_.clear(); }

TiOPCItem* TiOPCItemManager::GetItem(int32_t Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("Index out of Bounds");
  return items_[size_t(Index)].get();
}

int32_t TiOPCItemManager::IndexOf(const TiOPCItem* Item) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == Item) return int32_t(i);
  return -1;
}

void TiOPCItemManager::WriteItems(TWriter* Writer) {
  Writer->WriteValue(vaCollection);
  for (const auto& item : items_) {
    Writer->WriteListBegin();
    WritePublishedProperties(Writer, item.get());
    Writer->WriteListEnd();
  }
  Writer->WriteListEnd();
}

void TiOPCItemManager::ReadItems(TReader* Reader) {
  Reader->CheckValue(vaCollection);
  // Read aside and swapped in at the end, so that a damaged list leaves the bound items alone.
  std::vector<std::unique_ptr<TiOPCItem>> read;
  while (!Reader->EndOfList()) {
    if (read.size() >= size_t(MaxStoredItems)) throw EReadError("Too many OPC items");
    const TValueType next = Reader->NextValue();
    if (next == vaInt8 || next == vaInt16 || next == vaInt32 || next == vaInt64)
      Reader->ReadInteger();  // a collection's order index: the list order holds
    read.push_back(std::make_unique<TiOPCItem>(this));
    Reader->ReadListBegin();
    while (!Reader->EndOfList()) Reader->ReadProperty(read.back().get());
    Reader->ReadListEnd();
  }
  Reader->ReadListEnd();
  items_.swap(read);
  read.clear();
  for (const auto& item : items_) item->Activate();
}

// ============================================================================ property access =

namespace {
constexpr int32_t kiOPCMaxDepth = 16;

const TPropInfo* iOPCFind(TObject* object, const AnsiString& prefix, const AnsiString& name, TObject*& holder,
                          int32_t depth) {
  if (!object || depth > kiOPCMaxDepth) return nullptr;
  for (const TPropInfo* p : GetPropList(object, tkProperties)) {
    if (!p->HasSetter()) continue;
    const AnsiString path = Trim(prefix).empty() ? p->Name : prefix + "." + p->Name;
    if (p->Kind() == tkClass) {
      if (auto* sub = dynamic_cast<TPersistent*>(GetObjectProp(object, p)))
        if (const TPropInfo* found = iOPCFind(sub, path, name, holder, depth + 1)) return found;
      continue;
    }
    if (SameText(path, name)) {
      holder = object;
      return p;
    }
  }
  return nullptr;
}
}  // namespace

void SetPropertyFromVariant(TObject* Object, const AnsiString& Prefix, const Variant& Value,
                            const AnsiString& PropertyName) {
  TObject* holder = nullptr;
  const TPropInfo* p = iOPCFind(Object, Prefix, PropertyName, holder, 0);
  if (!p) return;
  const AnsiString text = VarToStr(Value);
  switch (p->Kind()) {
    case tkInteger:
    case tkChar:
    case tkWChar:
    case tkSet:
      SetOrdProp(holder, p, StrToInt64(text));
      break;
    case tkEnumeration: {
      const EnumNames* e = p->PropType->Enum();
      int64_t v;
      if (SameText(text, "True"))
        v = 1;
      else if (SameText(text, "False"))
        v = 0;
      else if (e && e->MinValue == 0 && e->Names.size() == 2)
        v = text == "0" ? 0 : 1;
      else
        v = StrToInt64(text);
      SetOrdProp(holder, p, v);
      break;
    }
    case tkFloat:
      SetFloatProp(holder, p, StrToFloat(text));
      break;
    case tkString:
    case tkLString:
      SetStrProp(holder, p, text);
      break;
    default:
      break;
  }
}

uint8_t PropertyKindByName(TObject* Object, const AnsiString& Name) {
  TObject* holder = nullptr;
  const TPropInfo* p = iOPCFind(Object, "", Name, holder, 0);
  return p ? uint8_t(p->Kind()) : 0;
}
