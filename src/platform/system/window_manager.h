#pragma once
// The window manager as the plug-in uses it: making a calculator window a child of the host's
// window. The desktop host implements it over its MDI area; the headless one records calls.

#include <cstdint>
#include <string>
#include <vector>

namespace tarvex {

using WindowHandle = std::int32_t;

class WindowManager {
public:
    virtual ~WindowManager() = default;
    // Makes `window` a child of `parent`. Raises tarvex::Error (5) when a handle is unknown.
    virtual void setParent(WindowHandle window, WindowHandle parent) = 0;
    // Sets the extended window style bits of `window` to exactly `style`.
    virtual void setExtendedStyle(WindowHandle window, std::int32_t style) = 0;
};

// Records every call; used by the command-line host and the tests.
class RecordingWindowManager final : public WindowManager {
public:
    struct Call {
        std::string what;  // "SetParent" or "SetWindowLong"
        WindowHandle window;
        std::int32_t value;
    };
    void setParent(WindowHandle window, WindowHandle parent) override {
        calls.push_back({"SetParent", window, parent});
    }
    void setExtendedStyle(WindowHandle window, std::int32_t style) override {
        calls.push_back({"SetWindowLong", window, style});
    }
    std::vector<Call> calls;
};

}  // namespace tarvex
