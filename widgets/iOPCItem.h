// OPC item binding: items that tie a published property of a control to an item of an OPC server
// through the optional bridge library, and the per-control list that owns them.
#pragma once

#include <memory>
#include <vector>

#include "platform/runtime/Persistent.h"
#include "platform/runtime/Variants.h"
#include "widgets/iTypes.h"

class TiVCLComponent;
class TiOPCItemManager;
class TReader;
class TWriter;

class TiOPCItem : public TPersistent {
  PL_CLASS(TiOPCItem)
 public:
  explicit TiOPCItem(TiOPCItemManager* Manager = nullptr) : manager_(Manager) {}
  ~TiOPCItem() override;

  const AnsiString& GetPropertyName() const { return propertyName_; }
  void SetPropertyName(const AnsiString& Value);
  const AnsiString& GetGroupName() const { return groupName_; }
  void SetGroupName(const AnsiString& Value);
  const AnsiString& GetServerName() const { return serverName_; }
  void SetServerName(const AnsiString& Value);
  const AnsiString& GetComputerName() const { return computerName_; }
  void SetComputerName(const AnsiString& Value);
  const AnsiString& GetItemName() const { return itemName_; }
  void SetItemName(const AnsiString& Value);
  int32_t GetUpdateRate() const { return updateRate_; }
  void SetUpdateRate(int32_t Value);
  bool GetAutoConnect() const { return autoConnect_; }
  void SetAutoConnect(bool Value);
  bool GetAutoError() const { return autoError_; }
  void SetAutoError(bool Value);

  bool IsActive();
  void Connect();
  void Disconnect();
  void SendData(const Variant& Value);
  // After the item was read from a stream; exceptions are swallowed.
  void Activate();
  int32_t Handle() const { return handle_; }
  const Variant& Value() const { return value_; }
  uint16_t Quality() const { return quality_; }
  bool QualityGood() const { return (quality_ & 0xC0) == 0xC0; }
  uint8_t PropertyKind() const { return propertyKind_; }

 private:
  friend class TiOPCItemManager;
  static void DataCallback(void* Item, const Variant* Value, uint16_t Quality, int32_t Time1,
                           int32_t Time2) noexcept;
  void UpdateErrorState();
  bool OwnerDesigning() const;
  void ReconnectIfActive();

  TiOPCItemManager* manager_;
  AnsiString propertyName_, groupName_, serverName_, computerName_ = "Local", itemName_;
  int32_t updateRate_ = 500;
  bool autoConnect_ = true;
  bool autoError_ = false;
  uint8_t propertyKind_ = 0;
  int32_t handle_ = 0;
  Variant value_;
  int32_t time1_ = 0, time2_ = 0;
  uint16_t quality_ = 0;
};

class TiOPCItemManager {
 public:
  explicit TiOPCItemManager(TiVCLComponent* Owner) : owner_(Owner) {}
  ~TiOPCItemManager();
  TiVCLComponent* Owner() const { return owner_; }
  TiOPCItem* Add();
  void Clear();
  int32_t Count() const { return int32_t(items_.size()); }
  bool HasItems() const { return !items_.empty(); }
  // Raises "Index out of Bounds" outside 0..Count-1.
  TiOPCItem* GetItem(int32_t Index) const;
  int32_t IndexOf(const TiOPCItem* Item) const;

  // A stored list longer than this is refused: no control has that many properties to bind.
  static constexpr int32_t MaxStoredItems = 1024;
  // The stored list: a collection, each item a list of its stored published properties.
  void WriteItems(TWriter* Writer);
  // Replaces the items by the stored list, then activates each.  A list that does not read
  // raises EReadError and leaves the items as they were.
  void ReadItems(TReader* Reader);

 private:
  TiVCLComponent* owner_;
  std::vector<std::unique_ptr<TiOPCItem>> items_;
};

// Sets the published property at PropertyName (a dotted path below Prefix) from the value's text.
void SetPropertyFromVariant(TObject* Object, const AnsiString& Prefix, const Variant& Value,
                            const AnsiString& PropertyName);
// The type kind of the published property with a setter at Name (dotted paths through
// sub-objects), 0 when none.
uint8_t PropertyKindByName(TObject* Object, const AnsiString& Name);
