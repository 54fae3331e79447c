// Starting the sound, quietly. The library's ALSA driver asks ALSA for its default device, and
// on a machine without a sound card ALSA prints nine lines of its configuration's errors before
// the library moves on; the game's own line says all that matters to the player.
#include "shell/sound_start.h"

#include <allegro.h>
#include <dlfcn.h>

#include <cstdio>

namespace {
constexpr int FULL_VOLUME = 255;

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// ALSA is loaded by the library's driver module, not linked into the game, so its error handler
// is set through the same shared library the module will use; without ALSA there is nothing to hush.
void hushAlsa()
{
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL);
    if (!alsa) return;
    using SetHandler = int (*)(void (*)(const char*, int, const char*, int, const char*, ...));
    if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) set(ignoreAlsaError);
    // Left loaded: the driver module keeps using it, and with it the handler.
}
}  // namespace

bool startSound()
{
    hushAlsa();
    // Finding no device, the library settles on its silent driver; a failed start does the same.
    if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, "") != 0) install_sound(DIGI_NONE, MIDI_NONE, "");
    const bool found = digi_driver->id != DIGI_NONE;
    if (!found) std::fprintf(stderr, "Ghost Maze: no sound device found, playing without sound\n");
    set_volume(FULL_VOLUME, FULL_VOLUME);
    return found;
}
