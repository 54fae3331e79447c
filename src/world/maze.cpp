// Maze generation and placement.  (not yet written)
#include "shell/game.h"

void GridLayer::generateMaze() {}
void Game::chooseGridSize() {}
void Game::allocateGrids() {}
void Game::chooseBackground() {}
void Game::rollItems() {}
void Game::createLevelObjects() {}
void Game::buildLevel() {}
void Game::buildMaze() {}
void Game::updateReach(int, int) {}
void Game::placeObject() {}
void Game::placeDynamites() {}
void Game::placeGhosts() {}
