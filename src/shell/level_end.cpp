// Level end and level up.  (not yet written)
#include "shell/game.h"

void Game::checkLevelUp() {}
bool Game::checkLevelEnd() { return false; }
