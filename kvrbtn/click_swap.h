// Turns the next left press and release into a right press and release,
// once, while the driver's one-shot flag is armed.
#pragma once
#include <windows.h>

#include "button_flag.h"

class ClickSwap {
public:
    // `owner`: the helper's own window, whose clicks are never swapped (a
    // touch on its button must still reach the button); `changed` is posted
    // to it when the swap has been used up.
    ClickSwap(ButtonFlag& flag, HWND owner, UINT changed);
    ~ClickSwap();
    ClickSwap(const ClickSwap&) = delete;
    ClickSwap& operator=(const ClickSwap&) = delete;

    bool Install();
    bool armed() const { return armed_; }
    bool SetArmed(bool armed);

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM message, LPARAM data);
    // True when the event is swallowed.
    bool OnMouse(WPARAM message, const MSLLHOOKSTRUCT& event);
    bool IsOverOwner(POINT point) const;
    static void SendButton(DWORD flags);

    static ClickSwap* active_;
    ButtonFlag& flag_;
    HWND owner_;
    UINT changed_;
    HHOOK hook_ = nullptr;
    bool armed_ = false;
    bool swapping_ = false;  // the left press went out as a right press
};
