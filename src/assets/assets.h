// Checking the asset files before any game starts.
#pragma once

#include <string>
#include <vector>

class Game;

// Every picture and sound file that is missing or unreadable from the working directory.
std::vector<std::string> missingAssetFiles(const Game& game);
