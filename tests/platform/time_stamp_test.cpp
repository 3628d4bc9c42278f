// The written form of a local time.
#include "platform/time_stamp.h"

#include <gtest/gtest.h>

namespace quillpane {
namespace {

TEST(TimeStamp, HasNoSecondsAndPadsEveryField) {
    platform::LocalTime time {.year = 2026, .month = 8, .day = 1, .hour = 4, .minute = 5, .second = 59};
    EXPECT_EQ(DateTimeStamp(StampKind::DateAndTime, time), u"2026-08-01 04:05");
    EXPECT_EQ(DateTimeStamp(StampKind::Date, time), u"2026-08-01");
    time.hour = 23;
    time.minute = 59;
    EXPECT_EQ(DateTimeStamp(StampKind::Time, time), u"23:59");
    time.year = 12;
    EXPECT_EQ(DateTimeStamp(StampKind::Date, time), u"0012-08-01");
}

}  // namespace
}  // namespace quillpane
