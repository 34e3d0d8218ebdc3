// Resource identifiers shared by resources.rc and the C++ code.
// Plain #defines so that windres and the compiler both read this file.
#pragma once

#define IDI_APP 1

// The pictures drawn at 1.5 and 2 times the design's size (for 144 and 192
// DPI) are the design's identifiers plus these; icons hold every size in one.
#define PICTURE_SET_150 1000
#define PICTURE_SET_200 2000

// Frame pieces (BMP, 24-bit)
#define IDB_FRAME_TOP_LEFT      101
#define IDB_FRAME_TOP_MIDDLE    102
#define IDB_FRAME_TOP_RIGHT     103
#define IDB_FRAME_MIDDLE_LEFT   104
#define IDB_FRAME_MIDDLE_RIGHT  105
#define IDB_FRAME_BOTTOM_LEFT   106
#define IDB_FRAME_BOTTOM_MIDDLE 107
#define IDB_FRAME_BOTTOM_RIGHT  108

// Title-bar graphic buttons: normal, hot, pressed (BMP 19 x 19, magenta transparent)
#define IDB_MIN_NORMAL    111
#define IDB_MIN_HOT       112
#define IDB_MIN_PRESSED   113
#define IDB_MAX_NORMAL    114
#define IDB_MAX_HOT       115
#define IDB_MAX_PRESSED   116
#define IDB_CLOSE_NORMAL  117
#define IDB_CLOSE_HOT     118
#define IDB_CLOSE_PRESSED 119

// Image-button skin (BMP 69 x 21): first look, and the shared second/third look
#define IDB_SKIN_NORMAL 121
#define IDB_SKIN_HOT    122

// GIF and JPEG pictures (RCDATA)
#define IDR_LOGO_GIF     131
#define IDR_BANNER_JPG   132
#define IDR_BADGE_GIF    133
#define IDR_CPU_GIF      134
#define IDR_BOARD_JPG    135
#define IDR_SCANIE_JPG   136

// Page icons (ICO)
#define IDI_DISK    141
#define IDI_NETWORK 142
#define IDI_MEMORY  143
#define IDI_SYSTEM  144

// Tab icons of the outer tab control (32 x 32)
#define IDI_TAB1_SYSINFO   151
#define IDI_TAB1_SHORTCUTS 152
#define IDI_TAB1_EMPTY2    153
#define IDI_TAB1_JUNK      154
#define IDI_TAB1_REPAIR    155
#define IDI_TAB1_EMPTY5    156

// Tab icons of the system-information tab control (32 x 32)
#define IDI_TAB2_HOME    161
#define IDI_TAB2_CPU     162
#define IDI_TAB2_BOARD   163
#define IDI_TAB2_DISK    164
#define IDI_TAB2_NETWORK 165
#define IDI_TAB2_MEMORY  166
#define IDI_TAB2_SYSTEM  167

// Status icons of the repair page: whole 16 x 16 .ico files kept as RCDATA,
// so the program holds them byte for byte as drawn
#define IDI_STATUS_FOUND 171
#define IDI_STATUS_CLEAN 172

// The builder's own copy of the System Configuration Utility (RCDATA), present
// only when the build was given one (cmake/Msconfig.cmake)
#define IDR_MSCONFIG 181
