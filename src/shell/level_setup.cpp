// Level set-up: new game, new level, refill, lost life and game over.  (not yet written)
#include "shell/game.h"

void Game::setUpLevel() {}
void Game::resetCounters() {}
void Game::resetPowerUps() {}
void Game::markDeath() {}
void Game::freezeBoard() {}
