// Resource ids of the framework test's dialogs.
#define IDD_STEP_ONE 100
#define IDD_STEP_TWO 101
#define IDD_HOST 102
#define IDC_COMBO 1001
#define IDC_TRACKBAR 1002
#define IDC_TEXT 1003
#define IDC_FRAME 1004
#define IDD_LARGE_FONT 103
#define IDC_CORNER_TEXT 1005
#define IDS_CHINESE_TEXT 2
