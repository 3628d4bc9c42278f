// The phone QR dialog: the phone page's address as a QR code, shown modally
// when the phone bridge is switched on.
#pragma once

#include <windows.h>

namespace quillpane {

struct App;
struct QrSymbol;

inline constexpr wchar_t kPhoneQrClassName[] = L"Quillpn.PhoneQrDialog";

// Black modules on white with a four-module quiet zone, in a square of
// about `side` pixels at (left, top).
void DrawQr(HDC dc, int left, int top, const QrSymbol& symbol, int side);

// Returns when the dialog is closed; the panel is disabled meanwhile.
void ShowPhoneQrDialog(App& app);

}  // namespace quillpane
