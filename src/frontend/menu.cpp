// The main menu.  (not yet written: until it is, the menu loop plays one game and quits)
#include "shell/game.h"

void FrontEnd::setButtonGeometry() {}
void FrontEnd::loadPlayerName() {}
// Until the mouse-driven menu exists: one game, then quit.
void Game::runMenu() { menuChoice = menuChoice == MENU_NONE ? MENU_PLAY : MENU_QUIT; }
