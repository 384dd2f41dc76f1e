// The grid's cell checker base and the grid module's start.
#include "grid/AdvObj.h"

#include "grid/AdvGrid.h"

const TClassInfo& TAdvStringGridCheck::ClassInfo() {
  using C = TAdvStringGridCheck;
  static const TClassInfo info = TClassInfo::Of<C, TComponent>("TAdvStringGridCheck")
                                     .Prop("GotoCell", &C::GotoCell)
                                     .Default(false)
                                     .Prop("AutoCorrect", &C::AutoCorrect)
                                     .Default(false)
                                     .Prop("AutoMarkError", &C::AutoMarkError)
                                     .Default(false)
                                     .Prop("UseCorrect", &C::UseCorrect)
                                     .Default(false)
                                     .Prop("UseMarkError", &C::UseMarkError)
                                     .Default(false);
  return info;
}

void RegisterGridClasses() {
  RegisterClasses({&TAdvStringGrid::ClassInfo(), &TAdvStringGridCheck::ClassInfo()});
  GridClipboardFormat();
}

// Kept in every program by the library's link interface, which names this symbol as undefined:
// definitions name the grid by class name only.
extern "C" {
extern const bool pl_grid_classes_registered;
const bool pl_grid_classes_registered = (RegisterGridClasses(), true);
}
