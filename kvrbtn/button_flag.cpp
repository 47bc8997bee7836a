// The one-shot flag lives in the driver, so every client sees one state.
#include "button_flag.h"

#include "kvshared.h"

// The driver arms only a clear flag with 1; any other word clears it.
bool ButtonFlag::Arm() {
    uint32_t armed = 0;
    if (!device_.SendWord(IOCTL_POINTER_TAKE_BUTTON_MODE, 0, &armed)) return false;
    return device_.SendWord(IOCTL_POINTER_ARM_BUTTON_MODE, 1);
}

bool ButtonFlag::Disarm() { return device_.SendWord(IOCTL_POINTER_ARM_BUTTON_MODE, 0); }

bool ButtonFlag::Take() {
    uint32_t armed = 0;
    return device_.SendWord(IOCTL_POINTER_TAKE_BUTTON_MODE, 0, &armed) && armed == 1;
}
