// Frame presentation and the HUD.  (not yet written)
#include "shell/game.h"

void Game::presentFrame() {}
void Game::composeFrame() {}
void Game::drawHud() {}
