// The enhanced-metafile recorder behind metafile and printer DCs: every drawing call on such a DC
// becomes one record in the public record format.  Internal to the gdi folder.
#pragma once

#include <cstring>
#include <map>
#include <type_traits>

#include "platform/os/gdi/Internal.h"

namespace gdi {

class Recorder {
 public:
  // refW x refH pixels at dpiX x dpiY is the reference device; frame in 0.01 mm or nullptr.
  Recorder(int refW, int refH, int dpiX, int dpiY, const RECT* frame, std::u16string description);

  // One record made of plain parts laid end to end (each padded to 4 bytes by the caller).
  template <class... T>
  void Emit(DWORD type, const T&... parts) {
    static_assert((std::is_trivially_copyable_v<T> && ...));
    size_t size = 8 + (sizeof(T) + ... + 0);
    size_t at = Begin(type, size);
    ((std::memcpy(buf_.data() + at, &parts, sizeof(T)), at += sizeof(T)), ...);
  }
  // A record whose body is given as bytes (variable-length records).
  void EmitBytes(DWORD type, const std::vector<uint8_t>& body);
  // Emits the object's creation record the first time it is used, then its selection.
  void Select(Object* o);
  // Grows the drawing's bounds by a device rectangle (right and bottom exclusive).
  void AddBounds(const RECT& rc);
  // The finished file: header, records, end-of-file record.
  std::vector<uint8_t> Close();

  int RefWidth() const { return refW_; }
  int RefHeight() const { return refH_; }

 private:
  size_t Begin(DWORD type, size_t size);
  std::vector<uint8_t> buf_;  // records after the header
  uint32_t records_ = 0;
  std::map<uintptr_t, uint32_t> objects_;  // object handle -> table index
  uint32_t nextIndex_ = 1;
  int refW_, refH_, dpiX_, dpiY_;
  bool hasFrame_ = false;
  RECT frame_{};
  bool hasBounds_ = false;
  RECT bounds_{};
  std::u16string description_;
};

// Appends plain values to a byte body.
template <class T>
void Put(std::vector<uint8_t>& out, const T& v) {
  static_assert(std::is_trivially_copyable_v<T>);
  size_t at = out.size();
  out.resize(at + sizeof(T));
  std::memcpy(out.data() + at, &v, sizeof(T));
}
inline void PadTo4(std::vector<uint8_t>& out) {
  while (out.size() % 4) out.push_back(0);
}

// The recorder of a DC, or nullptr when it draws on pixels.
inline Recorder* Rec(DCObj* dc) { return dc->recorder.get(); }

}  // namespace gdi
