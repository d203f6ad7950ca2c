#pragma once
// The five calculator windows as Show sees them: one slot per index 0..4, each holding the
// window's single instance. A calculator registers a factory for its index; until one does,
// the slot holds a bare placeholder window with the calculator's caption.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/system/window_manager.h"

namespace tarvex {

class WindowSlot {
  public:
    virtual ~WindowSlot() = default;
    // Whether the window is loaded (open, possibly hidden behind others).
    virtual bool isLoaded() const = 0;
    // Runs the window's load procedure, then shows it non-modally.
    virtual void loadAndShow() = 0;
    // Makes the loaded window visible and active again; its inputs stay as they are.
    virtual void activate() = 0;
    // Whether the window still needs the plug-in's code (keeps the library loaded).
    virtual bool isAlive() const = 0;
};

using WindowSlotFactory = std::function<std::unique_ptr<WindowSlot>()>;

// Index 0..4 -> caption of the calculator window ("Grenzfeststellung nach Nr. 30.6" for 0 ...
// "Zerlegung nach Nr. 30.1" for 4); "" for any other index.
std::string windowCaption(int index);

// Installs the factory for index 0..4; the slot's instance is created from it on first use.
// Error 5 for another index.
void registerWindowFactory(int index, WindowSlotFactory factory);
// The single instance of the window for index 0..4, created on first use. Error 5 otherwise.
WindowSlot& windowSlot(int index);
// Whether any window created so far is alive.
bool anyWindowAlive();
// Drops every instance and factory (tests).
void resetWindowSlots();

// A fresh handle for a window the plug-in creates.
WindowHandle newWindowHandle();

// The stand-in window: loading makes it a child of the host's MDI client (parent hWndMDI,
// extended style 0x140) through the platform's window manager.
class PlaceholderWindow final : public WindowSlot {
  public:
    explicit PlaceholderWindow(std::string caption);
    bool isLoaded() const override { return loaded_; }
    void loadAndShow() override;
    void activate() override { visible_ = true; }
    bool isAlive() const override { return loaded_; }

    const std::string& caption() const { return caption_; }
    bool visible() const { return visible_; }
    WindowHandle handle() const { return handle_; }
    int loads() const { return loads_; }
    // Closes and unloads the window, as OK or "Abbruch" would.
    void unload() { loaded_ = visible_ = false; }

  private:
    std::string caption_;
    WindowHandle handle_;
    bool loaded_ = false;
    bool visible_ = false;
    int loads_ = 0;
};

}  // namespace tarvex
