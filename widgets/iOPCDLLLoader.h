// The optional OPC bridge library: loaded by name at start-up; its entries are resolved by name
// and called through one small interface, so that tests can install a stand-in.  Without the
// library every explicit call raises "Tarvik OPC DLL Not Found." and bound items stay idle.
//
// Thread contract: UI thread only; the bridge calls the data callback on the UI thread.
#pragma once

#include <cstdint>

#include "platform/runtime/Types.h"

class Variant;

// Item, value, quality word, two time integers.  Never lets an exception out (it is called from
// the bridge's own code).
using TiOPCDataCallback = void (*)(void* Item, const Variant* Value, uint16_t Quality, int32_t Time1,
                                   int32_t Time2) noexcept;

class TiOPCBridge {
 public:
  virtual ~TiOPCBridge() = default;
  virtual bool Loaded() const = 0;
  // The signal handle, 0 when the connection failed.
  virtual int32_t SignalAdd(const char* ComputerName, const char* ServerName, const char* ItemName,
                            const char* GroupName, int32_t UpdateRate, bool Flag, uint8_t PropertyKind,
                            void* Item, TiOPCDataCallback Callback) = 0;
  virtual void SignalRemove(int32_t Handle) = 0;
  virtual bool SignalGetActive(int32_t Handle) = 0;
  virtual void SignalSendData(int32_t Handle, const Variant& Value) = 0;
};

// The library "iOPC.dll" opened by name (the platform's library search); a missing entry is only
// an error when it is called: Function "SignalAdd" not found in "iOPC.dll".
class TiOPCDLLLoader : public TiOPCBridge {
 public:
  explicit TiOPCDLLLoader(const char* LibraryName = "iOPC.dll");
  ~TiOPCDLLLoader() override;
  TiOPCDLLLoader(const TiOPCDLLLoader&) = delete;
  TiOPCDLLLoader& operator=(const TiOPCDLLLoader&) = delete;

  bool Loaded() const override { return handle_ != nullptr; }
  int32_t SignalAdd(const char* ComputerName, const char* ServerName, const char* ItemName,
                    const char* GroupName, int32_t UpdateRate, bool Flag, uint8_t PropertyKind, void* Item,
                    TiOPCDataCallback Callback) override;
  void SignalRemove(int32_t Handle) override;
  bool SignalGetActive(int32_t Handle) override;
  void SignalSendData(int32_t Handle, const Variant& Value) override;

 private:
  void* Entry(const char* Name) const;

  AnsiString libraryName_;
  void* handle_ = nullptr;
};

// The bridge in use: the library loaded at start-up unless a test installed another.
TiOPCBridge& OPCBridge();
// Installs Bridge (nullptr: the loaded library again) and returns the one it replaces.
TiOPCBridge* SetOPCBridge(TiOPCBridge* Bridge);
