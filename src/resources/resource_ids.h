// Resource identifiers shared by the .rc file and the code.
#pragma once

#define IDI_APP_ICON 101
#define IDI_TRAY_ICON 102
#define IDR_DEFAULT_CONFIG 103
