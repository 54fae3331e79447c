// The entry routine of the game.
#include <allegro.h>

#include "shell/frame_pace.h"
#include "shell/startup.h"

int main(int argc, char** argv)
{
    RunSettings settings;
    const int status = readArguments(argc, argv, settings);
    if (status >= 0) return status;
    if (settings.verify) return verifyRecording(settings.recordingFile);
    loosenLibraryWakeUps();
    return runGhostMaze(settings);
}
END_OF_MAIN()
