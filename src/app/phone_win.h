// The phone bridge as the panel runs it: the memo and its marker settings
// exported after saves, the inbox merged on shows, focus changes and a few
// timed passes, and the switch that turns it on.
#pragma once

#include <cstdint>

namespace quillpane {

struct App;

struct PhoneState {
    std::uint64_t lastMergeTick = 0;  // GetTickCount64 of the last merge; 0 = none
    std::uint64_t lastCheckTick = 0;  // of the last throttled look into the inbox
    unsigned pollPassesLeft = 0;
};

// Writes current.txt and section.json (when the bridge is on and usable).
void ExportToPhone(App& app);
// Merges the inbox into the memo now.
void ImportFromPhone(App& app);
// A focus change while the panel shows: looks into the inbox, throttled.
void CheckInboxThrottled(App& app);
void StartPhonePoll(App& app);
void OnPhonePollTimer(App& app);
// The menu item and the settings check box.
void TogglePhoneSync(App& app);

}  // namespace quillpane
