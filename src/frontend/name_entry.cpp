// Player-name entry.  (not yet written)
#include "shell/game.h"

void FrontEnd::savePlayerName() {}
int scanGlyphKey() { return 0; }
void Game::runNameEntry() { menuChoice = MENU_NONE; }
void Game::showNameField() {}
