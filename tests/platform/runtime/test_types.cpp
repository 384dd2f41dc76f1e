#include <gtest/gtest.h>

#include "platform/runtime/Events.h"
#include "platform/runtime/TypInfo.h"

namespace {

enum class TColorKind { ckRed, ckGreen, ckBlue };

TEST(TSetTest, AlgebraAndMask) {
  TSet<TColorKind, 3> a{TColorKind::ckRed, TColorKind::ckBlue};
  TSet<TColorKind, 3> b{TColorKind::ckBlue};
  EXPECT_TRUE(a.Contains(TColorKind::ckRed));
  EXPECT_FALSE(a.Contains(TColorKind::ckGreen));
  EXPECT_EQ((a - b).Mask(), 1u);
  EXPECT_EQ((a * b), b);
  EXPECT_EQ((a + TColorKind::ckGreen).Mask(), 7u);
  EXPECT_TRUE(b <= a);
  EXPECT_FALSE(a <= b);
  EXPECT_EQ((TSet<TColorKind, 3>::FromMask(0xFF)).Mask(), 7u);
}

struct Receiver {
  int hits = 0;
  int last = 0;
  void OnValue(int v, int& out) {
    hits++;
    last = v;
    out = v * 2;
  }
  void OnOther(int, int&) {}
};

TEST(TEventTest, UnassignedDoesNothingAndMethodsCompareByObjectAndCode) {
  TEvent<int, int&> e;
  int out = 5;
  e(1, out);
  EXPECT_EQ(out, 5);
  EXPECT_FALSE(e.Assigned());

  Receiver r1, r2;
  e = TEvent<int, int&>(&r1, &Receiver::OnValue);
  e(21, out);
  EXPECT_EQ(out, 42);
  EXPECT_EQ(r1.hits, 1);

  TEvent<int, int&> same(&r1, &Receiver::OnValue), otherObject(&r2, &Receiver::OnValue),
      otherCode(&r1, &Receiver::OnOther);
  EXPECT_EQ(e, same);
  EXPECT_FALSE(e == otherObject);
  EXPECT_TRUE(e.SameCode(otherObject));
  EXPECT_FALSE(e.SameCode(otherCode));
}

class TDerived : public TObject {
  PL_CLASS(TDerived)
};
const TClassInfo& TDerived::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TDerived, TObject>("TDerived");
  return info;
}

TEST(TObjectTest, ClassNameAndInheritance) {
  TDerived d;
  const TObject& o = d;
  EXPECT_EQ(o.ClassName(), "TDerived");
  EXPECT_TRUE(o.InheritsFrom(TObject::ClassInfo()));
  EXPECT_FALSE(TObject::ClassInfo().InheritsFrom(TDerived::ClassInfo()));
}

}  // namespace
