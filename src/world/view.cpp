// Hero movement and the scrolling view.  (not yet written)
#include "shell/game.h"

void Game::resetView() {}
void Game::moveHero() {}
