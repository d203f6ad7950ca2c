#include "qt_window_manager.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "platform/error/error.h"

namespace tarvex::desktop {

QtWindowManager::QtWindowManager(WindowHandle mdiClient, QMdiArea* area)
    : mdiClient_(mdiClient), area_(area) {}

void QtWindowManager::setParent(WindowHandle window, WindowHandle parent) {
    if (window == 0 || window == mdiClient_) throw Error(errc::invalidCall, "Unbekanntes Fenster");
    if (parent != mdiClient_ && parent != 0 && !windows_.count(parent))
        throw Error(errc::invalidCall, "Unbekanntes Elternfenster");
    windows_[window].parent = parent;
}

void QtWindowManager::setExtendedStyle(WindowHandle window, std::int32_t style) {
    auto it = windows_.find(window);
    if (it == windows_.end()) throw Error(errc::invalidCall, "Unbekanntes Fenster");
    it->second.style = style;
}

bool QtWindowManager::isMdiChild(WindowHandle window) const {
    auto it = windows_.find(window);
    return it != windows_.end() && it->second.parent == mdiClient_;
}

std::int32_t QtWindowManager::extendedStyle(WindowHandle window) const {
    auto it = windows_.find(window);
    return it == windows_.end() ? 0 : it->second.style;
}

QMdiSubWindow* QtWindowManager::place(WindowHandle window, QWidget* view,
                                      const std::function<void()>& beforeShow) {
    if (area_ && isMdiChild(window)) {
        QMdiSubWindow* sub = area_->addSubWindow(view);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        if (beforeShow) beforeShow();
        sub->show();
        return sub;
    }
    view->setParent(nullptr);
    view->setAttribute(Qt::WA_DeleteOnClose);
    if (beforeShow) beforeShow();
    view->show();
    return nullptr;
}

}  // namespace tarvex::desktop
