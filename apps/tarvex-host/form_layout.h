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

// One control of a form for widenForCaptions: its rectangle in pixels (the design's on entry),
// the width its caption needs at the current font (0: no caption), and whether it groups others.
struct CaptionFit {
    QRect rect;
    int neededWidth = 0;
    bool container = false;
};

// Widens each control whose caption needs more than its designed width, keeping its left edge
// (twips fixed for one font cut text at another). Containers then grow to keep enclosing the
// controls designed inside them, with their designed right margin (at least a few pixels), and
// the returned form size grows in the same way. Nothing ever shrinks.
QSize widenForCaptions(std::vector<CaptionFit>& controls, QSize form);

}  // namespace tarvex::desktop
