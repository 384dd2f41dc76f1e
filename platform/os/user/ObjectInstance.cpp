// Window procedures bound to object methods: a fixed pool of distinct procedures, each calling
// the method its slot holds, so that an installed procedure can be compared with the one a
// component made; and the hidden utility windows built on them.
#include <array>
#include <utility>

#include "platform/os/user/Internal.h"
#include "platform/runtime/Exceptions.h"

using namespace user_internal;

namespace {

constexpr size_t kSlots = 4096;

struct TSlot {
  TWndMethod Method;
  bool Used = false;
};

std::array<TSlot, kSlots>& Slots() {
  static std::array<TSlot, kSlots> slots;
  return slots;
}

std::mutex& SlotLock() {
  static std::mutex lock;
  return lock;
}

template <size_t I>
LRESULT Thunk(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  // A copy: the method may free its own instance while it runs.
  TWndMethod method = Slots()[I].Method;
  method(m);
  return m.Result;
}

template <size_t... I>
std::array<WNDPROC, kSlots> MakeThunks(std::index_sequence<I...>) {
  return {&Thunk<I>...};
}

const std::array<WNDPROC, kSlots>& Thunks() {
  static const std::array<WNDPROC, kSlots> thunks = MakeThunks(std::make_index_sequence<kSlots>());
  return thunks;
}

// Slot of a procedure from the pool, or kSlots.
size_t SlotOf(WNDPROC proc) {
  const auto& thunks = Thunks();
  for (size_t i = 0; i < kSlots; ++i)
    if (thunks[i] == proc) return i;
  return kSlots;
}

LRESULT UtilWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

WNDPROC MakeObjectInstance(const TWndMethod& method) {
  std::lock_guard<std::mutex> lock(SlotLock());
  auto& slots = Slots();
  for (size_t i = 0; i < kSlots; ++i)
    if (!slots[i].Used) {
      slots[i].Used = true;
      slots[i].Method = method;
      return Thunks()[i];
    }
  throw EOutOfResources("Out of window procedure instances");
}

void FreeObjectInstance(WNDPROC proc) {
  size_t i = SlotOf(proc);
  if (i == kSlots) return;
  std::lock_guard<std::mutex> lock(SlotLock());
  Slots()[i].Used = false;
  Slots()[i].Method = nullptr;
}

HWND AllocateHWnd(const TWndMethod& method) {
  static const char* kClass = "TPUtilWindow";
  WNDCLASS wc;
  if (!GetClassInfoA(nullptr, kClass, &wc)) {
    wc = WNDCLASS();
    wc.lpfnWndProc = UtilWindowProc;
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
  }
  HWND hwnd = CreateWindowExA(WS_EX_TOOLWINDOW, kClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleInstance(), nullptr);
  if (hwnd && method)
    SetWindowLongPtrA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(MakeObjectInstance(method)));
  return hwnd;
}

void DeallocateHWnd(HWND hwnd) {
  auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWL_WNDPROC));
  DestroyWindow(hwnd);
  FreeObjectInstance(proc);
}
