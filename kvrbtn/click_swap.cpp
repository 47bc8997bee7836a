// The low-level mouse hook of the right-button helper.
#include "click_swap.h"

namespace {

// Marks the right-button events this helper sends, so its own hook lets
// them through.
const ULONG_PTR kOwnEvent = 0x4B565242;  // "KVRB"

}  // namespace

ClickSwap* ClickSwap::active_ = nullptr;

ClickSwap::ClickSwap(ButtonFlag& flag, HWND owner, UINT changed) : flag_(flag), owner_(owner), changed_(changed) {}

ClickSwap::~ClickSwap() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (active_ == this) active_ = nullptr;
}

bool ClickSwap::Install() {
    active_ = this;
    hook_ = SetWindowsHookExW(WH_MOUSE_LL, HookProc, GetModuleHandleW(nullptr), 0);
    return hook_ != nullptr;
}

bool ClickSwap::SetArmed(bool armed) {
    const bool sent = armed ? flag_.Arm() : flag_.Disarm();
    armed_ = armed && sent;
    return sent;
}

LRESULT CALLBACK ClickSwap::HookProc(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION && active_ && active_->OnMouse(message, *reinterpret_cast<MSLLHOOKSTRUCT*>(data))) return 1;
    return CallNextHookEx(nullptr, code, message, data);
}

bool ClickSwap::IsOverOwner(POINT point) const {
    HWND window = WindowFromPoint(point);
    return window && (window == owner_ || GetAncestor(window, GA_ROOT) == owner_);
}

void ClickSwap::SendButton(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.dwExtraInfo = kOwnEvent;
    SendInput(1, &input, sizeof input);
}

bool ClickSwap::OnMouse(WPARAM message, const MSLLHOOKSTRUCT& event) {
    if (event.dwExtraInfo == kOwnEvent) return false;
    if (message == WM_LBUTTONUP && swapping_) {
        swapping_ = false;
        SendButton(MOUSEEVENTF_RIGHTUP);
        return true;
    }
    if (message != WM_LBUTTONDOWN || !armed_ || IsOverOwner(event.pt)) return false;
    // The driver's flag decides: it may have been cleared meanwhile (a
    // settings reload, another client).
    armed_ = false;
    PostMessageW(owner_, changed_, 0, 0);
    if (!flag_.Take()) return false;
    swapping_ = true;
    SendButton(MOUSEEVENTF_RIGHTDOWN);
    return true;
}
