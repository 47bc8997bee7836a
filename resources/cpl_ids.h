/* Resource ids of the control panel applet, shared by both editions. */
#ifndef KV_RESOURCES_CPL_IDS_H
#define KV_RESOURCES_CPL_IDS_H

#define IDI_APPLET 4001
#define IDB_ABOUT 4007

/* Container dialog. */
#define IDD_CONTROL_PANEL 4004
#define IDC_SHEET_FRAME 4005

/* Calibration page (TabPage1). */
#define IDD_CALIBRATION_PAGE 107
#define IDC_CALIBRATE 4002

/* Beep page (TabPage2). */
#define IDD_BEEP_PAGE 4001
#define IDC_BEEP_MODE 4006
#define IDC_BEEP_TONE 4003
#define IDC_BEEP_DURATION 4004
#define IDC_BEEP_TONE_TEXT 4011
#define IDC_BEEP_DURATION_TEXT 4012
#define IDC_BEEP_TEST 4014

/* Mouse mode page (TabPage3). */
#define IDD_MOUSE_PAGE 102
#define IDC_MOUSE_MODE 4008
#define IDC_DOUBLE_CLICK_FIELD 4003
#define IDC_DOUBLE_CLICK_SPEED 4004
#define IDC_DOUBLE_CLICK_FIELD_TEXT 4016
#define IDC_DOUBLE_CLICK_SPEED_TEXT 4017
#define IDC_RIGHT_BUTTON_DELAY 4021

/* Screen placement page (TabPage4): one radio button per placement. */
#define IDD_PLACEMENT_PAGE 106
#define IDC_PLACE_SINGLE 4021
#define IDC_PLACE_PRIMARY 4022
#define IDC_PLACE_SLAVE 4023
#define IDC_PLACE_LEFT 4024
#define IDC_PLACE_RIGHT 4025
#define IDC_PLACE_TOP 4026
#define IDC_PLACE_BOTTOM 4027

/* About page (TabPage5). */
#define IDD_ABOUT_PAGE 4006

/* Texts the code shows; each edition has its own. */
#define IDS_APPLET_NAME 5001
#define IDS_APPLET_INFO 5002
#define IDS_DEVICE_MISSING 5003
#define IDS_TIP_CAPTION 5004
#define IDS_MODE_FIRST 5010 /* three mouse modes, in list order */
#define IDS_BEEP_FIRST 5020 /* three beep choices, in list order */
#define IDS_DELAY_FIRST 5030 /* five right-button delays, in list order */

#endif
