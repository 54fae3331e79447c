// The glyph alphabet.  (not yet written)
#include "frontend/front_end.h"

void FrontEnd::drawGlyph(BITMAP*, BITMAP*, int, int, int, int) {}
void FrontEnd::drawText(BITMAP*, BITMAP*, int, int, int, const char*) {}
int glyphForChar(char) { return 0; }
char charForGlyph(int) { return 0; }
