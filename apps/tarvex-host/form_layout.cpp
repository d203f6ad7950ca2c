#include "form_layout.h"

#include <algorithm>

namespace tarvex::desktop {

namespace {

constexpr int kGap = 6;  // pixels between a caption and its control

int px(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

bool fits(const QRect& r, const QRect& area, const std::vector<QRect>& taken) {
    if (!area.contains(r)) return false;
    return std::none_of(taken.begin(), taken.end(),
                        [&](const QRect& t) { return t.intersects(r); });
}

}  // namespace

QRect toPixels(const ui::Rect& twips) {
    return {px(twips.left), px(twips.top), px(twips.width), px(twips.height)};
}

QRect placeStaticLabel(const QRect& control, QSize text, const QRect& area,
                       const std::vector<QRect>& taken) {
    const int centredTop = control.center().y() - text.height() / 2 + 1;
    const QRect left(control.left() - kGap - text.width(), centredTop, text.width(), text.height());
    const int aboveTop = control.top() - text.height() - 1;
    const QRect aboveLeft(control.left(), aboveTop, text.width(), text.height());
    const QRect aboveRight(control.right() + 1 - text.width(), aboveTop, text.width(),
                           text.height());
    for (const QRect& candidate : {left, aboveLeft, aboveRight})
        if (fits(candidate, area, taken)) return candidate;
    QRect clipped = left;
    clipped.setLeft(std::max(area.left(), left.left()));
    return clipped;
}

}  // namespace tarvex::desktop
