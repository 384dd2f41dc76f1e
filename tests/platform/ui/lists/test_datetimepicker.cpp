// Date-time picker: field-wise editing by arrows and digits, bounds, the check box and the
// drop-down calendar by keys.
#include "tests/platform/ui/lists/ListsHarness.h"

namespace lists_test {
namespace {

class PickerTest : public ListsTest {
 protected:
  TDateTimePicker* picker_ = nullptr;
  TCounter change_, drop_, close_;
  void SetUp() override {
    ListsTest::SetUp();
    picker_ = New<TDateTimePicker>("Picker1", Bounds(10, 10, 160, 24));
    picker_->SetFormat("yyyy-MM-dd");
    picker_->SetDateTime(EncodeDate(2024, 1, 31) + EncodeTime(10, 30, 0, 0));
    picker_->OnChange = change_.Event();
    picker_->OnDropDown = drop_.Event();
    picker_->OnCloseUp = close_.Event();
    picker_->SetFocus();
    Pump();
  }
  std::string Shown() { return picker_->DisplayText(); }
};

TEST_F(PickerTest, ArrowsStepTheFocusedFieldAndDigitsFillIt) {
  EXPECT_EQ(Shown(), "2024-01-31");
  Key(VK_RIGHT);
  Key(VK_UP);
  EXPECT_EQ(Shown(), "2024-02-29") << "the day is brought into the shorter month";
  EXPECT_EQ(change_.Count, 1);
  EXPECT_EQ(picker_->GetTime(), EncodeTime(10, 30, 0, 0)) << "the time of day is kept";
  Key(VK_RIGHT);
  Key(VK_DOWN);
  EXPECT_EQ(Shown(), "2024-02-28");
  Key(VK_UP);
  Key(VK_UP);
  EXPECT_EQ(Shown(), "2024-02-01") << "the day wraps within its month";
  Key(VK_HOME);
  edit_test::Type("2023");
  EXPECT_EQ(Shown(), "2023-02-01");
  EXPECT_EQ(picker_->FocusedField(), 1) << "a full field moves on";
  edit_test::Type("12");
  edit_test::Type("5");
  EXPECT_EQ(Shown(), "2023-12-05");
  edit_test::Type("99");
  EXPECT_EQ(Shown(), "2023-12-09") << "an impossible day keeps the last possible one";
  EXPECT_GT(std::count(panel_->Notes.begin(), panel_->Notes.end(), DTN_DATETIMECHANGE), 4);

  picker_->SetKind(dtkTime);
  picker_->SetFormat("hh:nn:ss");
  EXPECT_EQ(Shown(), "10:30:00");
  picker_->SetTime(EncodeTime(23, 59, 0, 0));
  Key(VK_UP);
  EXPECT_EQ(Shown(), "00:59:00");
  EXPECT_EQ(picker_->GetDate(), EncodeDate(2023, 12, 9)) << "a time step leaves the date";
  Key(VK_LEFT);
  EXPECT_EQ(picker_->FocusedField(), 2) << "left from the first field wraps to the last";
}

TEST_F(PickerTest, BoundsCheckBoxAndBadValues) {
  picker_->SetMaxDate(EncodeDate(2024, 2, 10));
  EXPECT_EQ(Shown(), "2024-01-31");
  Key(VK_RIGHT);
  Key(VK_UP);
  EXPECT_EQ(Shown(), "2024-02-10") << "kept within MaxDate";
  EXPECT_THROW(picker_->SetMinDate(EncodeDate(2024, 3, 1)), EInvalidOperation);
  EXPECT_THROW(picker_->SetDateTime(1e12), EConvertError);
  EXPECT_EQ(Shown(), "2024-02-10");
  picker_->SetShowCheckbox(true);
  Key(VK_SPACE);
  EXPECT_FALSE(picker_->GetChecked());
  Key(VK_DOWN);
  EXPECT_TRUE(picker_->GetChecked()) << "editing a value checks the box";
}

TEST_F(PickerTest, TheCalendarDropsByKeysAndTakesTheDayOnEnter) {
  AltKey(VK_DOWN);
  ASSERT_TRUE(picker_->GetDroppedDown());
  EXPECT_EQ(drop_.Count, 1);
  Key(VK_RIGHT);
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_FALSE(picker_->GetDroppedDown());
  EXPECT_EQ(Shown(), "2024-02-08");
  EXPECT_EQ(close_.Count, 1);
  EXPECT_EQ(change_.Count, 1);
  Key(VK_F4);
  Key(VK_NEXT);
  Key(VK_ESCAPE);
  EXPECT_EQ(Shown(), "2024-02-08") << "Escape keeps the date";
  std::vector<UINT> expected = {DTN_DROPDOWN, DTN_DATETIMECHANGE, DTN_CLOSEUP, DTN_DROPDOWN, DTN_CLOSEUP};
  EXPECT_EQ(panel_->Notes, expected);
  // A click outside closes it too.
  Key(VK_F4);
  Click(panel_->ClientToScreen({300, 250}));
  EXPECT_FALSE(picker_->GetDroppedDown());
  picker_->SetDateMode(dmUpDown);
  Key(VK_F4);
  EXPECT_FALSE(picker_->GetDroppedDown()) << "up-down pickers have no calendar";
}

}  // namespace
}  // namespace lists_test
