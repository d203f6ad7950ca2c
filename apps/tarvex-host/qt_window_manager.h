#pragma once
// The window manager over the desktop host's MDI area. The plug-in names windows by handle:
// it makes a calculator window a child of the host's MDI client and sets its extended style.
// This keeps that bookkeeping, and the host asks it where a form's window belongs when it
// renders the form.

#include <cstdint>
#include <functional>
#include <map>

#include "platform/system/window_manager.h"

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace tarvex::desktop {

class QtWindowManager final : public WindowManager {
  public:
    // `mdiClient`: the handle the host hands to Show as its MDI client; `area` shows it.
    QtWindowManager(WindowHandle mdiClient, QMdiArea* area);

    // Records `parent` for `window`. Raises tarvex::Error (5) for window handle 0 and for a
    // parent that is neither the MDI client nor a window recorded before.
    void setParent(WindowHandle window, WindowHandle parent) override;
    // Records the style. Raises tarvex::Error (5) for a window never given a parent.
    void setExtendedStyle(WindowHandle window, std::int32_t style) override;

    WindowHandle mdiClient() const { return mdiClient_; }
    // Whether the plug-in made `window` a child of the MDI client.
    bool isMdiChild(WindowHandle window) const;
    // The recorded extended style, 0 when none.
    std::int32_t extendedStyle(WindowHandle window) const;

    // Shows `view` (the rendered window `window`) where the plug-in put it: as a subwindow of
    // the MDI area for an MDI child (returned), else as a top-level window (nullptr).
    // `beforeShow` runs once the view has its final parent, just before it shows.
    QMdiSubWindow* place(WindowHandle window, QWidget* view,
                         const std::function<void()>& beforeShow = {});

  private:
    struct Record {
        WindowHandle parent = 0;
        std::int32_t style = 0;
    };
    WindowHandle mdiClient_;
    QMdiArea* area_;
    std::map<WindowHandle, Record> windows_;
};

}  // namespace tarvex::desktop
