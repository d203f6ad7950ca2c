#pragma once
// Geometry of a rendered form: the form model lays controls out in twips, Qt in pixels, and a
// control's static caption has no rectangle of its own.

#include <QRect>
#include <QSize>
#include <vector>

#include "platform/ui/control.h"

namespace tarvex::desktop {

// Twips per pixel at 96 dpi.
inline constexpr int kTwipsPerPixel = 15;

// The control's rectangle in pixels (rounded to the nearest pixel).
QRect toPixels(const ui::Rect& twips);

// Where a static caption of size `text` goes: left of `control` and vertically centred on it;
// where that leaves `area` or overlaps one of `taken`, above the control (aligned to its left,
// else to its right edge); when nothing fits, left of the control clipped to the area.
QRect placeStaticLabel(const QRect& control, QSize text, const QRect& area,
                       const std::vector<QRect>& taken);

}  // namespace tarvex::desktop
