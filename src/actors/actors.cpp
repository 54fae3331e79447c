// Actor record operations and distance tests.  (not yet written)
#include "actors/actors.h"

void sprite::placeAt(int, int) {}
void sprite::takeOffBoard() {}
void hero::setUp(int, int, int, int, int, int, int, int) {}
void hero::hide() {}
void ghost::spawn(int, int, int, int) {}
void ghost::kill() {}
void bomb::clear() {}
void bomb::arm(int, int) {}
int pixelDistance(int, int, int, int) { return 0; }
bool withinReach(int, int, int, int, int) { return false; }
