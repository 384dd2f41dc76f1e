// Test support for the grid's editors: a shown form with a focused control of a class, the
// locale set to day-first dates and 24-hour times for the test, typing and beep counting.
#pragma once

#include "grid/AdvGrid.h"
#include "tests/grid/support/GridFixture.h"

namespace grid_edit_test {

using namespace adv_grid_test;

class EditTest : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    saved_ = FormatSettings;
    FormatSettings.ShortDateFormat = "dd/MM/yyyy";
    FormatSettings.LongTimeFormat = "hh:nn:ss";
    FormatSettings.DateSeparator = '/';
    FormatSettings.TimeSeparator = ':';
  }
  void TearDown() override {
    FormatSettings = saved_;
    GridFixture::TearDown();
  }
  // A control of class T on a shown form, focused.
  template <class T>
  T* Shown(TRect bounds = Bounds(10, 10, 120, 24)) {
    form_ = NewForm(400, 300);
    auto* c = Make<T>(form_, form_, "C", bounds);
    ShowForm(form_);
    c->SetFocus();
    Pump();
    return c;
  }
  // Characters typed to the focused window.
  static void Type(const std::u16string& text) {
    InputChars(text);
    Pump();
  }
  // Beeps since the last call.
  int Beeps() {
    const int n = MessageBeepCount() - beeps_;
    beeps_ = MessageBeepCount();
    return n;
  }
  TFormatSettings saved_;
  int beeps_ = MessageBeepCount();
};

}  // namespace grid_edit_test
