#pragma once
// Keeps a framed control's outline visible where the style loses it: under a dark palette the Fusion style
// draws frames in a shade as dark as the field, and at a fractional scale (150 %) a one-pixel frame is 1.5
// device pixels wide and the control's contents paint over its last half, so the right and bottom edges vanish.
// In those cases a transparent layer over the control draws the outermost device pixels again.
class QFrame;

namespace FrameEdges {
void Keep(QFrame* control);
}
