#pragma once

// Resource and control identifiers, shared by the resource script and the code.

#define IDS_ABOUT_ITEM 101
#define IDD_MAIN_PANEL 102
#define IDI_MAIN_ICON 128

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
