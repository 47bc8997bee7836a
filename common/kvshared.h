/* Shared between the drivers, the programs and the host tools: control
 * codes, the records that cross the control device, the settings value
 * names, and the codes, bounds and fallbacks of the values. Plain
 * C-compatible layout; every record is little-endian 32-bit words without
 * padding. */
#ifndef KV_COMMON_KVSHARED_H
#define KV_COMMON_KVSHARED_H

#include <stdint.h>

#define KV_FILE_DEVICE_MOUSE 0x0000000Fu /* the system's FILE_DEVICE_MOUSE */
#define KV_METHOD_BUFFERED 0u
#define KV_FILE_ANY_ACCESS 0u
#define KV_FILE_WRITE_ACCESS 2u /* the system sends it only on a handle opened for writing */
#define KV_CTL_CODE_ACCESS(function, access)                           \
    ((KV_FILE_DEVICE_MOUSE << 16) | ((uint32_t)(access) << 14) |       \
     ((uint32_t)(function) << 2) | KV_METHOD_BUFFERED)
#define KV_CTL_CODE(function) KV_CTL_CODE_ACCESS(function, KV_FILE_ANY_ACCESS)

/* X-macro of the control codes: name, function number. */
#define KV_FOR_EACH_IOCTL(X)          \
    X(TAKE_BUTTON_MODE, 0x900)        \
    X(GET_CAPTURE, 0x902)             \
    X(ARM_CAPTURE, 0x904)             \
    X(ECHO, 0x908)                    \
    X(GET_MOUSE_MODE, 0x940)          \
    X(SET_CALIBRATION, 0x980)         \
    X(COUNTER_UP, 0x982)              \
    X(COUNTER_DOWN, 0x984)            \
    X(RELOAD_SETTINGS, 0x988)         \
    X(ARM_BUTTON_MODE, 0x98C)         \
    X(SET_BEEP, 0x990)                \
    X(GET_BEEP, 0x991)                \
    X(SET_DEVICE_MODE, 0x992)         \
    X(BEEP, 0x993)                    \
    X(SET_REPORT, 0x9A0)              \
    X(GET_REPORT, 0x9A1)              \
    X(SET_SCREEN_POS, 0x9A2)          \
    X(GET_SCREEN_POS, 0x9A3)          \
    X(RELOAD_SETTINGS_QUIET, 0x9A4)

#define KV_DEFINE_IOCTL(name, function) \
    static const uint32_t IOCTL_POINTER_##name = KV_CTL_CODE(function);
KV_FOR_EACH_IOCTL(KV_DEFINE_IOCTL)
#undef KV_DEFINE_IOCTL

/* Stores run-time settings into the Parameters key (StoredSettings in, no
 * output), for a user who may change them through the control device but
 * not write the key himself. It changes nothing in force: a reload does. */
static const uint32_t IOCTL_POINTER_STORE_SETTINGS = KV_CTL_CODE_ACCESS(0x9A5, KV_FILE_WRITE_ACCESS);

/* Calibration values as IOCTL_POINTER_SET_CALIBRATION takes them. */
typedef struct CalibrationBlock {
    int32_t XLow;
    int32_t YLow;
    int32_t XHigh;
    int32_t YHigh;
    int32_t XMin;
    int32_t YOffset;
} CalibrationBlock;

/* Beep values as IOCTL_POINTER_SET_BEEP / GET_BEEP carry them. */
typedef struct BeepSettings {
    uint32_t BeepMode;
    uint32_t BeepFreq;
    uint32_t BeepTime;
    uint32_t BeepFreq2;
    uint32_t BeepTime2;
} BeepSettings;

/* Capture state and raw point, as IOCTL_POINTER_GET_CAPTURE returns them. */
typedef struct CaptureRecord {
    uint32_t State;
    int32_t X;
    int32_t Y;
} CaptureRecord;

/* The values IOCTL_POINTER_STORE_SETTINGS may store, in the order it writes
 * them: the calibration program's, then the applet's, each in the order
 * its writer writes them. */
#define KV_FOR_EACH_STORED_VALUE(X) \
    X(XHigh)                        \
    X(XLow)                         \
    X(YHigh)                        \
    X(YLow)                         \
    X(XOffset)                      \
    X(YOffset)                      \
    X(PortaitScreen)                \
    X(BeepMode)                     \
    X(BeepFreq)                     \
    X(BeepTime)                     \
    X(MouseMode)                    \
    X(ButtonMode)                   \
    X(DBScreenPos)                  \
    X(RBNDelay)

#define KV_DEFINE_STORED_ID(name) KV_STORED_##name,
enum KvStoredValueId { KV_FOR_EACH_STORED_VALUE(KV_DEFINE_STORED_ID) KV_STORED_VALUE_COUNT };
#undef KV_DEFINE_STORED_ID
#define KV_STORED_PRESENT_ALL ((1u << KV_STORED_VALUE_COUNT) - 1u)

/* What IOCTL_POINTER_STORE_SETTINGS takes: value i is stored when bit i of
 * Present is set; bits beyond the values are refused. */
typedef struct StoredSettings {
    uint32_t Present;
    uint32_t Value[KV_STORED_VALUE_COUNT];
} StoredSettings;

#ifdef __cplusplus
static_assert(sizeof(CalibrationBlock) == 24, "CalibrationBlock is 24 bytes");
static_assert(sizeof(BeepSettings) == 20, "BeepSettings is 20 bytes");
static_assert(sizeof(CaptureRecord) == 12, "CaptureRecord is 12 bytes");
static_assert(sizeof(StoredSettings) == 60, "StoredSettings is 60 bytes");
#endif

/* Capture states; 0 is idle. */
#define CAPTURE_IDLE 0u
#define CAPTURE_ARMED 0x102Bu
#define CAPTURE_TOUCHING 0x1389u
#define CAPTURE_DONE 0x1667u

/* DBScreenPos: where the touch screen lies on a two-screen desktop. */
#define DBSCREENPOS_SINGLE 0u
#define DBSCREENPOS_LEFT 1u
#define DBSCREENPOS_RIGHT 2u
#define DBSCREENPOS_TOP 3u
#define DBSCREENPOS_BOTTOM 4u
#define DBSCREENPOS_SLAVE 5u
#define DBSCREENPOS_PRIMARY 6u

/* BeepMode: when the driver beeps. */
#define BEEPMODE_NEVER 0u
#define BEEPMODE_TOUCH_DOWN 1u /* at the first contact report of a touch */
#define BEEPMODE_TOUCH_UP 2u   /* when the touch ends */

/* The tone (Hz) and duration (ms) the driver sounds, bounds included. A
 * settings read turns a stored value outside them into 0 (no beep); a beep
 * request, and the applet's correction of what it loads, into the
 * fallback. */
#define KV_BEEP_FREQ_MIN 1000u
#define KV_BEEP_FREQ_MAX 5000u
#define KV_BEEP_TIME_MIN 32u
#define KV_BEEP_TIME_MAX 750u
#define KV_BEEP_FREQ_FALLBACK 2000u
#define KV_BEEP_TIME_FALLBACK 32u

/* MouseMode and BeepMode above 2 read as 2 in the driver. The applet
 * limits MouseMode to 3 instead, the value it also assumes when it cannot
 * read the key: no page shows it, the applet only writes it back, and the
 * driver reads 3 as 2. */
#define KV_MODE_MAX 2u
#define KV_MOUSEMODE_APPLET_MAX 3u

/* ButtonMode: the controller's mouse mode as the applet stores it, one
 * step of 16 per entry of its list. The controller is sent
 * KV_DEVICE_MODE_BASE + ButtonMode (IOCTL_POINTER_SET_DEVICE_MODE). */
#define BUTTONMODE_CLICK_ON_TOUCH_UP 16u
#define BUTTONMODE_CLICK_ON_TOUCH_DOWN 32u
#define BUTTONMODE_DRAGGING 48u
#define KV_DEVICE_MODE_BASE 0x100u

/* The Parameters key below HKEY_LOCAL_MACHINE, and its name below the
 * service key that the system hands the driver. */
#define KV_PARAMETERS_KEY "System\\CurrentControlSet\\Services\\KVUSB\\Parameters"
#define KV_PARAMETERS_SUBKEY "\\Parameters"

/* The values the driver reads, in the order it queries them. */
#define KV_FOR_EACH_DRIVER_VALUE(X) \
    X(Port)                         \
    X(XLow)                         \
    X(XHigh)                        \
    X(XMin)                         \
    X(XRange)                       \
    X(YHigh)                        \
    X(YLow)                         \
    X(YOffset)                      \
    X(YProp)                        \
    X(BeepFreq)                     \
    X(BeepTime)                     \
    X(BeepFreq2)                    \
    X(BeepTime2)                    \
    X(ButtonMode)                   \
    X(MouseMode)                    \
    X(BeepMode)                     \
    X(PortaitScreen)                \
    X(RBNDelay)                     \
    X(DBScreenPos)

#define KV_DEFINE_VALUE_ID(name) KV_VALUE_##name,
enum KvDriverValueId { KV_FOR_EACH_DRIVER_VALUE(KV_DEFINE_VALUE_ID) KV_DRIVER_VALUE_COUNT };
#undef KV_DEFINE_VALUE_ID

/* A value's name as the programs write it: KV_VALUE_NAME(BeepMode) is
 * "BeepMode", and a name missing from the list does not build. A table of
 * all names in list order is {KV_FOR_EACH_DRIVER_VALUE(KV_VALUE_NAME_ITEM)}. */
#define KV_VALUE_NAME(name) ((void)KV_VALUE_##name, #name)
#define KV_VALUE_NAME_ITEM(name) #name,

/* The control device as user mode opens it. */
#define KV_CONTROL_DEVICE_PATH "\\\\.\\kvusb"

#endif
