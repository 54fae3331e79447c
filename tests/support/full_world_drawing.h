// The whole-world frame: every world-size layer cleared and redrawn in full each frame, and the
// messages risen by copying the layer. The tests and the benchmark hold the game's frame, which
// draws only the view, to the same pixels and the same state.
#pragma once

class Game;
struct BITMAP;

void drawWholeWorldFrame(Game& game);
// Composes the frame into the back buffer, copies it to target (if any) and redraws the HUD.
void presentWholeWorldFrame(Game& game, BITMAP* target);
// The whole-world glow of the last frame: where its beam pixels are, the game's beam layer must have them.
BITMAP* wholeWorldGlow(const Game& game);
// Frees the frame's own layers of a game that is done with; the next frame would make them anew.
void releaseWholeWorldLayers(const Game& game);
