// Checking the asset files before any game starts.
#pragma once

#include <string>
#include <vector>

class Game;

// Every picture and sound file that is missing, unreadable or damaged, from the working
// directory: each as its path and, in brackets, what is wrong with it.
std::vector<std::string> missingAssetFiles(const Game& game);
