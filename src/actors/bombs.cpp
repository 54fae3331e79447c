// Bombs: laying, fuse, drawing, wall blast and the blast rules.  (not yet written)
#include "shell/game.h"

void Game::updateBombs() {}
int Game::bombFrame(int) { return 0; }
void Game::blastItems() {}
void Game::blastGhosts() {}
bool Game::blastHero() { return false; }
