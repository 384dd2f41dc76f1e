#include "widgets/iOPCDLLLoader.h"

#include <dlfcn.h>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Variants.h"

namespace {
using TSignalAdd = int32_t (*)(const char*, const char*, const char*, const char*, int32_t, bool, uint8_t,
                               void*, TiOPCDataCallback);
using TSignalHandle = void (*)(int32_t);
using TSignalGetActive = bool (*)(int32_t);
using TSignalSendData = void (*)(int32_t, const Variant*);

TiOPCDLLLoader& iOPCLibrary() {
  static TiOPCDLLLoader library;
  return library;
}
TiOPCBridge* g_iOPCBridge = nullptr;

// Tried at start-up, as the library did at module initialisation.
struct TiOPCStartup {
  TiOPCStartup() { iOPCLibrary(); }
} g_iOPCStartup;
}  // namespace

TiOPCDLLLoader::TiOPCDLLLoader(const char* LibraryName) : libraryName_(LibraryName) {
  handle_ = dlopen(LibraryName, RTLD_NOW | RTLD_LOCAL);
}

TiOPCDLLLoader::~TiOPCDLLLoader() {
  if (handle_) dlclose(handle_);
}

void* TiOPCDLLLoader::Entry(const char* Name) const {
  if (!handle_) throw Exception("Tarvik OPC DLL Not Found.");
  void* f = dlsym(handle_, Name);
  if (!f) throw Exception(AnsiString("Function \"") + Name + "\" not found in \"" + libraryName_ + "\".");
  return f;
}

int32_t TiOPCDLLLoader::SignalAdd(const char* ComputerName, const char* ServerName, const char* ItemName,
                                  const char* GroupName, int32_t UpdateRate, bool Flag, uint8_t PropertyKind,
                                  void* Item, TiOPCDataCallback Callback) {
  auto f = reinterpret_cast<TSignalAdd>(Entry("SignalAdd"));
  return f(ComputerName, ServerName, ItemName, GroupName, UpdateRate, Flag, PropertyKind, Item, Callback);
}

void TiOPCDLLLoader::SignalRemove(int32_t Handle) {
  reinterpret_cast<TSignalHandle>(Entry("SignalRemove"))(Handle);
}

bool TiOPCDLLLoader::SignalGetActive(int32_t Handle) {
  return reinterpret_cast<TSignalGetActive>(Entry("SignalGetActive"))(Handle);
}

void TiOPCDLLLoader::SignalSendData(int32_t Handle, const Variant& Value) {
  reinterpret_cast<TSignalSendData>(Entry("SignalSendData"))(Handle, &Value);
}

TiOPCBridge& OPCBridge() { return g_iOPCBridge ? *g_iOPCBridge : iOPCLibrary(); }

TiOPCBridge* SetOPCBridge(TiOPCBridge* Bridge) {
  TiOPCBridge* old = g_iOPCBridge;
  g_iOPCBridge = Bridge;
  return old;
}
