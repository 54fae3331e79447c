// Actor drawing and the animation clocks.  (not yet written)
#include "shell/game.h"

void Game::advanceClocks() {}
void Game::drawWalls() {}
void Game::drawHero() {}
void Game::drawItems() {}
void Game::drawBlocks() {}
void Game::drawGhosts() {}
