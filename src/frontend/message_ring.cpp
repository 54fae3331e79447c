// The message ring's upkeep, and the game's three writers of rising messages: texts, pictures and
// the big glyphs, each placed by world position.
#include "frontend/message_ring.h"

#include <algorithm>

#include "shell/game.h"
#include "world/colours.h"
#include "world/pixel_loops.h"

namespace {
constexpr int GLYPH_RULE_MARGIN = 16;  // the big letters' rules reach this far beyond the sheet's rows

int white() { return makecol(255, 255, 255); }

// One band of the ring laid translucent so that its rows land on target rows top to bottom - 1.
void layRingBand(BITMAP* target, BITMAP* ring, int alpha, int x, int drawY, int top, int bottom)
{
    top = std::max(top, 0);
    bottom = std::min(bottom, target->h);
    if (top >= bottom) return;
    set_clip_rect(target, 0, top, target->w - 1, bottom - 1);
    layTranslucent(target, ring, alpha, x, drawY);
    set_clip_rect(target, 0, 0, target->w - 1, target->h - 1);
}
}  // namespace

void MessageRing::reset()
{
    rise = 0;
    top = 0;
    bottom = 0;
}

void MessageRing::noteRows(BITMAP* ring, int y, int height)
{
    const int first = std::max(y, 0);
    const int end = std::min(y + height, ring->h);
    if (first >= end) return;
    if (top >= bottom) {
        top = first;
        bottom = end;
        return;
    }
    top = std::min(top, first);
    bottom = std::max(bottom, end);
}

void MessageRing::turn(BITMAP* ring, int rows)
{
    const int h = ring->h;
    rise = (rise + rows) % h;
    for (int k = 1; k <= rows; ++k) hline(ring, 0, (rise + h - k) % h, ring->w - 1, seeThrough());
    top = std::max(top - rows, 0);
    bottom = std::max(bottom - rows, 0);
}

void MessageRing::layOver(BITMAP* target, BITMAP* ring, int alpha, int x, int y) const
{
    const int h = ring->h;
    const int seam = h - rise;  // the first world row of the ring's upper band
    layRingBand(target, ring, alpha, x, y - rise, y + top, y + std::min(bottom, seam));
    layRingBand(target, ring, alpha, x, y - rise + h, y + std::max(top, seam), y + bottom);
}

void Game::writeMessage(const char* text, int x, int y)
{
    // Drawn as it is, never as a format.
    BITMAP* ring = bitmaps.messageLayer;
    messages.noteRows(ring, y, text_height(font));
    messages.drawAt(ring, y, [&](int ringY) { textout_ex(ring, font, text, x, ringY, white(), -1); });
}

void Game::drawMessagePicture(BITMAP* picture, int sourceX, int sourceY, int x, int y, int width, int height)
{
    BITMAP* ring = bitmaps.messageLayer;
    messages.noteRows(ring, y, height);
    messages.drawAt(ring, y, [&](int ringY) { masked_blit(picture, ring, sourceX, sourceY, x, ringY, width, height); });
}

void Game::drawMessageGlyphs(int x, int y, int glyphRow, const char* text)
{
    BITMAP* ring = bitmaps.messageLayer;
    // The glyphs' rules lie a little above and below them.
    messages.noteRows(ring, y - GLYPH_RULE_MARGIN, bitmaps.alphabetPicture->h + 2 * GLYPH_RULE_MARGIN);
    messages.drawAt(ring, y,
                    [&](int ringY) { frontEnd.drawText(bitmaps.alphabetPicture, ring, x, ringY, glyphRow, text); });
}
