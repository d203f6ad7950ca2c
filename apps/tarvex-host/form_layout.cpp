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

QSize widenForCaptions(std::vector<CaptionFit>& controls, QSize form) {
    constexpr int kMinMargin = 6;
    const std::vector<CaptionFit> design = controls;
    for (CaptionFit& c : controls)
        if (!c.container && c.neededWidth > c.rect.width()) c.rect.setWidth(c.neededWidth);
    // The right edge an enclosing rectangle needs: its designed margin past the widest of the
    // controls it held, measured again after they grew. A control belongs to the rectangle its
    // top left corner lies in: a two-line option at a frame's foot may overhang its lower edge.
    const auto neededRight = [&](const QRect& outer, std::size_t self) {
        int designInner = outer.left();
        int nowInner = outer.left();
        for (std::size_t i = 0; i < controls.size(); ++i) {
            if (i == self ||
                (self < controls.size() && !outer.contains(design[i].rect.topLeft())))
                continue;
            designInner = std::max(designInner, design[i].rect.right());
            nowInner = std::max(nowInner, controls[i].rect.right());
        }
        if (nowInner <= designInner) return outer.right();
        return nowInner + std::max(kMinMargin, outer.right() - designInner);
    };
    // Inner containers first: a smaller rectangle cannot enclose a larger one.
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].container) order.push_back(i);
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return design[a].rect.width() * design[a].rect.height() <
               design[b].rect.width() * design[b].rect.height();
    });
    for (std::size_t i : order) {
        const int right = neededRight(design[i].rect, i);
        if (right > controls[i].rect.right()) controls[i].rect.setRight(right);
    }
    const int formRight = neededRight(QRect(QPoint(0, 0), form), controls.size());
    return {std::max(form.width(), formRight + 1), form.height()};
}

}  // namespace tarvex::desktop
