/* Resource ids of the right-button helper (both editions). */
#ifndef KV_RESOURCES_KVRBTN_IDS_H
#define KV_RESOURCES_KVRBTN_IDS_H

#define IDI_KVRBTN 1
#define IDS_TITLE 101       /* window title */
#define IDS_BUTTON 102      /* the button's text */
#define IDS_NO_DRIVER 103   /* shown once when the driver cannot be opened */
#define IDS_NO_DRIVER_CAPTION 104

#endif
