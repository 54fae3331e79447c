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
// The whole-world picture of the last frame, the maze and everything drawn on it.
BITMAP* wholeWorldPicture(const Game& game);
// Frees a headless game and everything it holds, the whole-world frame's layers too, without
// recording a result (Game::endGame would write one into the high-score table).
void discardGame(Game*& game);
