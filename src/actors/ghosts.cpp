// Ghost behaviour, the hunter and the ambient sounds.  (not yet written)
#include "shell/game.h"

void Game::updateGhosts() {}
int Game::chooseGhostDirection(int) { return DIRECTION_NONE; }
int Game::rollHunter() { return 0; }
void Game::killGhost(int) {}
void Game::playAmbientSounds() {}
