// The entry routine of the game.
#include <allegro.h>

#include "shell/startup.h"

int main() { return runGhostMaze(RunSettings{}); }
END_OF_MAIN()
