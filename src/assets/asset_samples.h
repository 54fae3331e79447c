// Every sound of the game; all are loaded when the Game is built and live for the whole run.
#pragma once

#include <string>
#include <vector>

struct SAMPLE;

constexpr int MUSIC_CLIP_COUNT = 10;
constexpr int FEAR_SOUND_COUNT = 10;
constexpr int SOUND_PAN_CENTRE = 127;
constexpr int SOUND_NORMAL_FREQUENCY = 1000;

class AssetSamples {
public:
    SAMPLE* musicSamples[MUSIC_CLIP_COUNT] = {};  // ambient music clips
    SAMPLE* fearSamples[FEAR_SOUND_COUNT] = {};   // ambient scare sounds
    SAMPLE* screamSample1 = nullptr;     // hero caught in a blast
    SAMPLE* screamSample2 = nullptr;     // loaded, played by nobody
    SAMPLE* screamSample3 = nullptr;     // hero caught by a ghost; death picture
    SAMPLE* laughSample1 = nullptr;      // loaded, played by nobody
    SAMPLE* laughSample2 = nullptr;      // loaded, played by nobody
    SAMPLE* ghostDeathSample = nullptr;  // a ghost is killed
    SAMPLE* seeSample1 = nullptr;        // a ghost starts hunting
    SAMPLE* seeSample2 = nullptr;
    SAMPLE* coinSample = nullptr;
    SAMPLE* shieldSample = nullptr;
    SAMPLE* dynamiteSample = nullptr;
    SAMPLE* shoesSample = nullptr;
    SAMPLE* lifeSample = nullptr;
    SAMPLE* treasureSample = nullptr;
    SAMPLE* generatorSample = nullptr;
    SAMPLE* radarSample = nullptr;
    SAMPLE* buzzSample = nullptr;        // the shielded hero touches ghosts
    SAMPLE* pushSample = nullptr;        // a block is pushed
    SAMPLE* alarmSample = nullptr;       // a bomb's fuse warning
    SAMPLE* explosionSample = nullptr;
    SAMPLE* beamSample = nullptr;
    SAMPLE* levelUpSample = nullptr;
    SAMPLE* newRoomSample = nullptr;     // a new maze is built

    void loadSamples();
    void destroySamples();
    void stopAll();  // every sound still playing stops at once

    // Paths of the sound files whose sample did not load.
    std::vector<std::string> missingFiles() const;
};

// Plays a sample once, panned to the centre; silent when there is no sound device or the
// sound is off.
void playSound(SAMPLE* sample, int volume, int frequency = SOUND_NORMAL_FREQUENCY);

// The sound key: all sound off (what is playing stops too) or on again.
void toggleSound(AssetSamples& samples);
bool soundIsOn();
// The switch as the settings file has it, before anything plays.
void setSoundOn(bool on);
