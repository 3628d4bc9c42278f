#include "platform/time_stamp.h"

#include <algorithm>

namespace quillpane {
namespace {

void AppendDigits(std::u16string& text, int value, int width) {
    auto rest = static_cast<unsigned>(std::max(value, 0));
    char16_t digits[10];
    int count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + rest % 10);
        rest /= 10;
    } while (rest != 0 && count < 10);
    for (int pad = count; pad < width; ++pad) text += u'0';
    while (count > 0) text += digits[--count];
}

}  // namespace

std::u16string DateTimeStamp(StampKind kind, const platform::LocalTime& time) {
    std::u16string text;
    if (kind != StampKind::Time) {
        AppendDigits(text, time.year, 4);
        text += u'-';
        AppendDigits(text, time.month, 2);
        text += u'-';
        AppendDigits(text, time.day, 2);
    }
    if (kind == StampKind::DateAndTime) text += u' ';
    if (kind != StampKind::Date) {
        AppendDigits(text, time.hour, 2);
        text += u':';
        AppendDigits(text, time.minute, 2);
    }
    return text;
}

}  // namespace quillpane
