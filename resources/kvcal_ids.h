/* Resource ids of kvcal.exe, shared by both editions' scripts and the code. */
#ifndef KV_RESOURCES_KVCAL_IDS_H
#define KV_RESOURCES_KVCAL_IDS_H

#define IDI_KVCAL 134
#define IDB_BACKGROUND 135

/* The message dialog: text and caption set at run time. */
#define IDD_MESSAGE 104
#define IDC_MESSAGE_TEXT 1001
/* Present only in editions that show the registry failure in a dialog of
 * their own (both buttons end it with 2). */
#define IDD_REGISTRY_FAILURE 149

/* Texts. */
#define IDS_INSTRUCTION 2
#define IDS_NO_DEVICE 3
#define IDS_NO_DEVICE_CAPTION 4
#define IDS_CONFIRM 5
#define IDS_CONFIRM_CAPTION 6
#define IDS_NO_PRIVILEGE 7
#define IDS_NO_PRIVILEGE_CAPTION 8
/* Present only in editions that tell a wrong driver version apart from a
 * missing device. */
#define IDS_WRONG_DRIVER 9

#endif
