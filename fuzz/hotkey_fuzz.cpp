// The [Shortcut] Key value: whatever parses is a usable hotkey that is
// written back in a form that reads the same.
#include "fuzz_input.h"

#include "platform/utf_convert.h"
#include "settings/hotkey.h"

namespace {

using namespace quillpane;

constexpr int kAllModifiers = kModAlt | kModControl | kModShift | kModWin;

void CheckRoundTrip(const Hotkey& hotkey) {
    Hotkey back;
    FUZZ_CHECK(ParseHotkey(FormatHotkey(hotkey), back));
    // Without modifiers the key name stands alone and reads as Ctrl+key.
    const Hotkey expected = hotkey.modifiers == 0 && hotkey.key != 0 ? Hotkey {kModControl, hotkey.key} : hotkey;
    if (hotkey.key == 0) FUZZ_CHECK(back.key == 0);
    else FUZZ_CHECK(back == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::uint8_t mode = input.Byte();
    const std::uint8_t modifiers = input.Byte();
    const std::uint8_t key = input.Byte();
    const std::u16string text =
        (mode & 1) ? fuzz::Utf16FromPairs(input.Rest()) : Utf8ToUtf16Lenient(input.Rest());

    Hotkey hotkey;
    if (ParseHotkey(text, hotkey)) {
        FUZZ_CHECK(hotkey.key >= 0 && hotkey.key <= 255);
        FUZZ_CHECK((hotkey.modifiers & ~kAllModifiers) == 0);
        FUZZ_CHECK(hotkey.key == 0 || hotkey.modifiers != 0);
        CheckRoundTrip(hotkey);
    } else {
        FUZZ_CHECK(hotkey == Hotkey {});
    }
    const int token = ParseKeyToken(text);
    FUZZ_CHECK(token >= 0 && token <= 255);

    const Hotkey configured = HotkeyFromConfigValue(text);
    FUZZ_CHECK(configured.key != kVkOem4 && configured.key != kVkOem6);
    FUZZ_CHECK(configured == hotkey || configured == Hotkey {});

    // Any modifiers and key the program might hold survive a save.
    CheckRoundTrip(Hotkey {modifiers & kAllModifiers, key});
    return 0;
}
