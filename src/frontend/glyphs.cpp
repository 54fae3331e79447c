// The glyph alphabet: the big letters and digits cut from the alphabet sheet, their codes,
// and the drawing of one glyph or a whole text.
#include "frontend/front_end.h"

#include <allegro.h>

namespace {

constexpr int GAP_SOURCE_X = 576;        // where the spacing strip sits on the sheet
constexpr int RULE_ABOVE = 4;            // rule offsets from the glyph's top, pixels at scale 1
constexpr int RULE_BELOW = 31;
constexpr int GLYPH_COUNT = 36;

// The sheet's letter order: alphabetical, except that W comes before V.
constexpr char SHEET_ORDER[GLYPH_COUNT + 1] = "ABCDEFGHIJKLMNOPQRSTUWVXYZ1234567890";

// True when a w x h rectangle at (x, y) lies wholly on the bitmap.
bool onSheet(const BITMAP* sheet, int x, int y, int w, int h)
{
    return sheet && x >= 0 && y >= 0 && x + w <= sheet->w && y + h <= sheet->h;
}

}  // namespace

int glyphForChar(char character)
{
    for (int code = 1; code <= GLYPH_COUNT; ++code) {
        if (SHEET_ORDER[code - 1] == character) return code;
    }
    return 0;
}

char charForGlyph(int code)
{
    if (code < 1 || code > GLYPH_COUNT) return '\0';
    return SHEET_ORDER[code - 1];
}

void FrontEnd::drawGlyph(BITMAP* alphabet, BITMAP* target, int x, int y, int ruled, int scale)
{
    if (!target || scale < 1) return;
    // A code without a glyph leaves its cell blank, keeping only the rules of a ruled line.
    const int sourceX = GLYPH_WIDTH * (glyphCode - 1);
    if (glyphCode >= 1 && glyphCode <= GLYPH_COUNT && onSheet(alphabet, sourceX, 0, GLYPH_WIDTH, GLYPH_HEIGHT) &&
        onSheet(alphabet, GAP_SOURCE_X, 0, GAP_WIDTH, GLYPH_HEIGHT)) {
        masked_stretch_blit(alphabet, target, sourceX, 0, GLYPH_WIDTH, GLYPH_HEIGHT, x, y, GLYPH_WIDTH * scale,
                            GLYPH_HEIGHT * scale);
        masked_stretch_blit(alphabet, target, GAP_SOURCE_X, 0, GAP_WIDTH, GLYPH_HEIGHT, x + GLYPH_WIDTH * scale, y,
                            GAP_WIDTH * scale, GLYPH_HEIGHT * scale);
    }
    if (ruled != 1) return;
    const int right = x + CHARACTER_ADVANCE * scale;
    line(target, x, y - RULE_ABOVE * scale, right, y - RULE_ABOVE * scale, makecol(10, 90, 40));
    line(target, x, y + RULE_BELOW * scale, right, y + RULE_BELOW * scale, makecol(0, 70, 30));
}

void FrontEnd::drawText(BITMAP* alphabet, BITMAP* target, int x, int y, int ruled, const char* text, int scale)
{
    if (!text) return;
    for (int n = 0; text[n] != '\0'; ++n) {
        glyphCode = glyphForChar(text[n]);
        drawGlyph(alphabet, target, x + CHARACTER_ADVANCE * scale * n, y, ruled, scale);
    }
}
