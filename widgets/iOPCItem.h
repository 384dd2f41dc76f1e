// OPC item binding: items that tie a published property of a control to an item of an OPC server
// through the optional bridge library, and the per-control list that owns them.
#pragma once

#include <memory>
#include <vector>

#include "platform/runtime/Persistent.h"
#include "widgets/iTypes.h"

class TiVCLComponent;

class TiOPCItemManager {
 public:
  explicit TiOPCItemManager(TiVCLComponent* Owner) : owner_(Owner) {}
  ~TiOPCItemManager();
  TiVCLComponent* Owner() const { return owner_; }
  int32_t Count() const { return 0; }
  bool HasItems() const { return Count() > 0; }

 private:
  TiVCLComponent* owner_;
};
