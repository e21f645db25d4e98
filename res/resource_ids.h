#pragma once

// Resource and control identifiers, shared by the resource script and the code.

#define IDD_ABOUT_BOX 100
#define IDS_ABOUT_ITEM 101
#define IDD_MAIN_PANEL 102
#define IDI_MAIN_ICON 128

// The About item of the system menu: its low four bits are left free, as
// the window system reserves them for itself.
#define IDM_ABOUT_ITEM 0x0010

#define IDC_PROGRESS_BAR 1002
#define IDC_PORT_FIELD 1003
#define IDC_RESET_BUTTON 1004
#define IDC_GET_BUTTON 1008
#define IDC_SET_BUTTON 1009
#define IDC_PORT_SPIN 1016
#define IDC_TIME_FIELD 1020
#define IDC_RESET_VALUE_FIELD 1021
#define IDC_DAC0_FIELD 1022

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
