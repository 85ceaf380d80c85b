// Window classes, the title and control ids of Strokecast Settings: stable, so tests and the screenshot
// tool find the same controls a person uses.
#pragma once

#define SETTINGS_WINDOW_CLASS L"StrokecastSettingsWindow"
#define SETTINGS_WINDOW_TITLE L"Strokecast Settings"
#define SETTINGS_BIND_CLASS L"StrokecastBindPicker"
#define SETTINGS_BIND_TITLE L"Bind a gesture"
#define SETTINGS_CANVAS_CLASS L"StrokecastCanvas"

// Pages, in tab order; WM_COMMAND with IDM_PAGE_FIRST + page shows one (also Ctrl+1 to Ctrl+4).
#define IDM_PAGE_FIRST 100
#define PAGE_GESTURES 0
#define PAGE_RECORD 1
#define PAGE_TRY 2
#define PAGE_RESIDENT 3

#define IDC_TABS 1000
#define IDC_STATUS 1001

// Gestures page.
#define IDC_GLOBAL 1100
#define IDC_GESTURE_LIST 1101
#define IDC_BIND 1102
#define IDC_UNBIND 1103
#define IDC_TOGGLE 1104
#define IDC_ADD_SAMPLE 1105
#define IDC_REMOVE 1106
#define IDC_EXPORT 1107
#define IDC_IMPORT 1108

// Record page.
#define IDC_RECORD_CANVAS 1200
#define IDC_NAME 1201
#define IDC_NAME_HINT 1202
#define IDC_SIMILARITY 1203
#define IDC_SAVE 1204
#define IDC_SAVE_ANYWAY 1205
#define IDC_REDRAW 1206
#define IDC_NAME_LABEL 1207

// Try page.
#define IDC_TRY_CANVAS 1300
#define IDC_RANKING 1301
#define IDC_VERDICT 1302
#define IDC_TRY_CLEAR 1303

// Resident page.
#define IDC_HOTKEY 1400
#define IDC_HOTKEY_LABEL 1401
#define IDC_START_WITH_WINDOWS 1402
#define IDC_SHOW_RESULTS 1403
#define IDC_RESIDENT_APPLY 1404
#define IDC_RESIDENT_NOTE 1405

// The bind picker.
#define IDC_BIND_FILTER 1500
#define IDC_BIND_LIST 1501
#define IDC_BIND_PROGRAM 1502
#define IDC_BIND_FILTER_LABEL 1503

// A canvas tells its parent that a stroke is finished (lParam: the canvas window).
#define CANVAS_STROKE_DONE 1
