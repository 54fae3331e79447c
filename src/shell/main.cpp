// The entry routine of the game.
#include <allegro.h>

#include "shell/frame_pace.h"
#include "shell/startup.h"

int main()
{
    loosenLibraryWakeUps();
    return runGhostMaze(RunSettings{});
}
END_OF_MAIN()
