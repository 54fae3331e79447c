// World drawing: lights, background, shadows, beam and radar.  (not yet written)
#include "shell/game.h"

void Game::prepareLightLayers() {}
void Game::drawBackground() {}
void Game::drawBeam() {}
void Game::drawBeamSegment(int, int, int) {}
void Game::drawRadar() {}
