#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "platform/runtime/Clock.h"

namespace {

TEST(ClockTest, FakeClockDrivesEveryTimeFunction) {
  TFakeClock fake(0xFFFFFFF0ull, 45000.0);
  TClockScope scope(fake);
  EXPECT_EQ(GetTickCount(), 0xFFFFFFF0u);
  fake.Advance(0x20);
  EXPECT_EQ(GetTickCount(), 0x10u);  // wraps at 2^32
  EXPECT_EQ(GetTickCount64(), 0x100000010ull);

  int64_t count = 0, frequency = 0;
  ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
  ASSERT_TRUE(QueryPerformanceCounter(&count));
  fake.AdvanceMicroseconds(1500);
  int64_t later = 0;
  QueryPerformanceCounter(&later);
  EXPECT_EQ((later - count) * 1000000 / frequency, 1500);

  // The date-time moves on with the ticks since it was set.
  EXPECT_DOUBLE_EQ(Now(), 45000.0 + (0x20 + 1) / 86400000.0);
  fake.SetDateTime(45000.75);
  fake.Advance(6 * 3600 * 1000);
  EXPECT_DOUBLE_EQ(Now(), 45001.0);
  EXPECT_DOUBLE_EQ(Date(), 45001.0);
  EXPECT_DOUBLE_EQ(Time(), 0.0);

  fake.SetMs(5);  // backwards: refused
  EXPECT_EQ(GetTickCount64(), 0x100000010ull + 1 + 6 * 3600 * 1000);
}

TEST(ClockTest, ListenersHearEveryMoveUntilRemoved) {
  TFakeClock fake;
  TClockScope scope(fake);
  int heard = 0;
  int32_t id = AddClockListener([&] { heard++; });
  fake.Advance(10);
  fake.SetMs(100);
  fake.SetDateTime(1.0);
  RemoveClockListener(id);
  fake.Advance(10);
  EXPECT_EQ(heard, 3);
}

TEST(ClockTest, RealClockIsBackWhenTheScopeEnds) {
  {
    TFakeClock fake(7);
    TClockScope scope(fake);
    EXPECT_EQ(GetTickCount64(), 7u);
  }
  uint64_t a = GetTickCount64();
  Sleep(2);
  EXPECT_GE(GetTickCount64() - a, 2u);
  EXPECT_NEAR(Now(), UnixTimeToLocalDateTime(std::time(nullptr)), 2.0 / 86400);
}

TEST(ClockTest, LocalTimeBecomesDaysSince1899) {
  const char* old = std::getenv("TZ");
  std::string saved = old ? old : "";
  struct Case {
    const char* zone;
    time_t seconds;
    long nanoseconds;
    double expected;
  };
  const Case cases[] = {
      {"UTC", 0, 0, 25569.0},  // 1970-01-01 00:00
      {"UTC", 86400 * 365 + 43200, 500000000, 25934.5 + 0.5 / 86400},
      {"UTC", -2209161600, 0, 0.0},         // 1899-12-30
      {"EST5", 0, 0, 25568.0 + 19.0 / 24},  // five hours behind
      {"UTC", 951782400, 0, 36585.0},       // 2000-02-29
  };
  for (const Case& c : cases) {
    setenv("TZ", c.zone, 1);
    tzset();
    EXPECT_DOUBLE_EQ(UnixTimeToLocalDateTime(c.seconds, c.nanoseconds), c.expected)
        << c.zone << " " << c.seconds;
  }
  if (old)
    setenv("TZ", saved.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

}  // namespace
