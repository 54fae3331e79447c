// Loading and destroying the sound samples, in their fixed loading order.
#include "assets/asset_samples.h"

#include <allegro.h>

#include <string>

#include "assets/asset_files.h"

namespace {

struct SampleFile {
    SAMPLE* AssetSamples::*member;
    const char* path;
};

// Every single sample in its loading order; the twenty clips of the two arrays load first.
const SampleFile singleSamples[] = {
    {&AssetSamples::screamSample1, "_sample/krzyk1.wav"},
    {&AssetSamples::screamSample2, "_sample/krzyk2.wav"},
    {&AssetSamples::screamSample3, "_sample/krzyk3.wav"},
    {&AssetSamples::laughSample1, "_sample/smiech1.wav"},
    {&AssetSamples::laughSample2, "_sample/smiech2.wav"},
    {&AssetSamples::ghostDeathSample, "_sample/krzyk_smiech.wav"},
    {&AssetSamples::seeSample1, "_sample/see1.wav"},
    {&AssetSamples::seeSample2, "_sample/see2.wav"},
    {&AssetSamples::coinSample, "_sample/x_coin.wav"},
    {&AssetSamples::shieldSample, "_sample/x_shield.wav"},
    {&AssetSamples::dynamiteSample, "_sample/x_dynamite.wav"},
    {&AssetSamples::shoesSample, "_sample/x_shoes.wav"},
    {&AssetSamples::lifeSample, "_sample/x_life.wav"},
    {&AssetSamples::treasureSample, "_sample/x_treasure.wav"},
    {&AssetSamples::generatorSample, "_sample/x_generator.wav"},
    {&AssetSamples::radarSample, "_sample/x_radar.wav"},
    {&AssetSamples::buzzSample, "_sample/bzz.wav"},
    {&AssetSamples::pushSample, "_sample/suw.wav"},
    {&AssetSamples::alarmSample, "_sample/alarm.wav"},
    {&AssetSamples::explosionSample, "_sample/explo.wav"},
    {&AssetSamples::beamSample, "_sample/wiazka.wav"},
    {&AssetSamples::levelUpSample, "_sample/levelup.wav"},
    {&AssetSamples::newRoomSample, "_sample/newroom.wav"},
};

bool soundOn = true;  // one switch for the whole run; only the main thread plays and toggles

std::string musicPath(int i) { return "_sample/music" + std::to_string(i + 1) + ".wav"; }
std::string fearPath(int i) { return "_sample/strach" + std::to_string(i + 1) + ".wav"; }

}  // namespace

void AssetSamples::loadSamples()
{
    *this = AssetSamples{};
    std::string problem;
    for (int i = 0; i < MUSIC_CLIP_COUNT; ++i) musicSamples[i] = loadSound(musicPath(i).c_str(), problem);
    for (int i = 0; i < FEAR_SOUND_COUNT; ++i) fearSamples[i] = loadSound(fearPath(i).c_str(), problem);
    for (const SampleFile& file : singleSamples) this->*file.member = loadSound(file.path, problem);
}

void AssetSamples::destroySamples()
{
    for (SAMPLE*& sample : musicSamples) {
        destroy_sample(sample);
        sample = nullptr;
    }
    for (SAMPLE*& sample : fearSamples) {
        destroy_sample(sample);
        sample = nullptr;
    }
    for (const SampleFile& file : singleSamples) {
        destroy_sample(this->*file.member);
        this->*file.member = nullptr;
    }
}

std::vector<std::string> AssetSamples::missingFiles() const
{
    std::vector<std::string> missing;
    for (int i = 0; i < MUSIC_CLIP_COUNT; ++i)
        if (!musicSamples[i]) missing.push_back(musicPath(i));
    for (int i = 0; i < FEAR_SOUND_COUNT; ++i)
        if (!fearSamples[i]) missing.push_back(fearPath(i));
    for (const SampleFile& file : singleSamples)
        if (!(this->*file.member)) missing.push_back(file.path);
    return missing;
}

void AssetSamples::stopAll()
{
    for (SAMPLE* sample : musicSamples)
        if (sample) stop_sample(sample);
    for (SAMPLE* sample : fearSamples)
        if (sample) stop_sample(sample);
    for (const SampleFile& file : singleSamples)
        if (this->*file.member) stop_sample(this->*file.member);
}

void playSound(SAMPLE* sample, int volume, int frequency)
{
    if (sample && soundOn) play_sample(sample, volume, SOUND_PAN_CENTRE, frequency, 0);
}

void toggleSound(AssetSamples& samples)
{
    soundOn = !soundOn;
    if (!soundOn) samples.stopAll();
}

bool soundIsOn() { return soundOn; }

void setSoundOn(bool on) { soundOn = on; }
