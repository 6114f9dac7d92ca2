#pragma once
// The pictures of the toolbar's speed buttons, drawn in code at 16 x 16 (and
// twice that for high-density screens), each with a normal and a disabled look.
#include <QIcon>
#include <QImage>

namespace rpt {

enum class Glyph { ZoomIn, ZoomOut, ZoomPageWidth, ZoomPage, PrevPage, NextPage, Print, Done };

// The normal look, `size` pixels square.
QImage DrawGlyph(Glyph glyph, int size);
// The disabled look of a normal picture: its dark lines grey, embossed by a
// white copy one pixel down and right; light areas fall away.
QImage DisabledLook(const QImage& normal);
QIcon GlyphIcon(Glyph glyph);

} // namespace rpt
