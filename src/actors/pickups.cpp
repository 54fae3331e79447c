// Pickups and power-ups, block pushing, the beam rule and ghost contact.  (not yet written)
#include "shell/game.h"

void Game::writeMessage(const char*, int, int) {}
void Game::pushBlocks() {}
bool Game::isPushing() { return false; }
void Game::fireBeam() {}
void Game::collectPickups() {}
bool Game::checkGhostContact() { return false; }
