/* Resource ids of the icons in KvUsb.dll. The shell addresses them by
 * index (their order in the library), the programs by id. */
#ifndef KV_PACKAGE_ICON_IDS_H
#define KV_PACKAGE_ICON_IDS_H

#define IDI_KV_PRODUCT 100
#define IDI_KV_CALIBRATE 101
#define IDI_KV_SETTINGS 102
#define IDI_KV_RBUTTON 103

#define KV_ICON_COUNT 4
#define KV_ICON_INDEX_CONTROL_PANEL 2

#endif
