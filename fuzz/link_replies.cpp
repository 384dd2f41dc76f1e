// Reply lines of the instrument link: the input arrives on the link's port (the serial layer's
// test device) in pieces cut at each 0x01 byte; a 0x02 byte lets the reply timer run out.
// Whatever arrives, the link keeps one command in flight, its buffer bounded, and raises nothing.
#include <memory>

#include "app/InstrumentLink.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/os/comm/FakeCommDevice.h"
#include "serial/CPort.h"

namespace {

struct TLinkRig {
  TLinkRig() {
    RegisterCommDevice("FUZZLINK", device);
    port.SetEvents({});  // the harness hands the characters over itself
    link.WaitHook = [](uint32_t) {};
    link.OnIdentify = TLinkTextEvent::Lambda([](TObject*, const AnsiString&) {});
  }
  std::shared_ptr<TFakeCommDevice> device = std::make_shared<TFakeCommDevice>();
  TComPort port{nullptr};
  TInstrumentLink link{nullptr, &port};
};

TLinkRig* gLinkRig = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::StartUi();
  gLinkRig = new TLinkRig;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 16384) return 0;
  TLinkRig& rig = *gLinkRig;
  TLinkSettings settings;
  settings.SetPortName("FUZZLINK");
  fuzz::Expect([&] { rig.link.StartLink(settings); });
  rig.device->TakeOutput();
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  while (!bytes.empty()) {
    size_t cut = bytes.find_first_of("\x01\x02");
    std::string_view piece = bytes.substr(0, cut);
    if (!piece.empty()) {
      rig.device->PushInput(piece);
      fuzz::Expect([&] { rig.link.PowerComPortRxChar(&rig.port, int32_t(piece.size())); });
    }
    if (cut == std::string_view::npos) break;
    if (bytes[cut] == '\x02') fuzz::Expect([&] { rig.link.Timer_OverTimeTimer(nullptr); });
    bytes.remove_prefix(cut + 1);
    if (rig.link.RxBuffer().size() > kMaxReplyLine) fuzz::Fail("the receive buffer grows without bound");
    if (rig.link.CommandQueue()->Count() == 0) fuzz::Fail("the command queue ran empty");
  }
  rig.device->TakeOutput();
  return 0;
}
