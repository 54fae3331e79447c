// The high-score table, its two files and its screen.  (not yet written)
#include "shell/game.h"

void HighScoreEntry::setScore(std::int32_t value) { score = value; }
void FrontEnd::loadHighScores() {}
void FrontEnd::recordResult(std::int32_t) {}
int compareScores(const HighScoreEntry& a, const HighScoreEntry& b) { return b.score - a.score; }
void Game::runHighScores() { menuChoice = MENU_NONE; }
void Game::drawHighScoreFrame() {}
void Game::drawHighScoreTitle() {}
void Game::drawHighScoreRows() {}
