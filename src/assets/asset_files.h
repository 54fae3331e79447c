// Reading the picture and sound files: each is read whole by the game, checked, and handed to
// the library from memory, so the library never opens a file itself nor sees a picture whose
// header would lead its loader astray.
#pragma once

#include <cstddef>
#include <string>

struct BITMAP;
struct SAMPLE;

// The biggest generated picture is 1.9 MB and the biggest sound 0.34 MB: four times that and more
// leaves room for redrawn art while a file swapped for something huge is refused at once.
constexpr std::size_t PICTURE_FILE_LIMIT = 8 * 1024 * 1024;
constexpr std::size_t SOUND_FILE_LIMIT = 8 * 1024 * 1024;
// Every picture is drawn within the 1280 x 720 window; a side beyond this is no picture of the game.
constexpr int PICTURE_SIDE_LIMIT = 4096;

// Why the bytes of a picture file must not reach the library's loader, or nullptr when they
// may: an uncompressed 24-bit Windows BMP, as the generator writes, of sane width and height,
// whose pixel rows lie inside the file.
const char* pictureFault(const unsigned char* bytes, std::size_t size);

// Why the bytes of a sound file must not reach the library's loader, or empty when they may: a
// RIFF WAVE file as the generator writes it, a 16-byte PCM fmt chunk for mono 16-bit sound at
// 22050 Hz followed by one data chunk of whole samples that ends the file, and nothing else.
// The loader then takes no more memory than the file's size.
std::string soundFault(const unsigned char* bytes, std::size_t size);

// The picture held in a file's bytes, after the check; null, and why in problem, when damaged.
BITMAP* decodePicture(const std::string& bytes, std::string& problem);

// The sound held in a file's bytes, after the check; null, and why in problem, when damaged.
SAMPLE* decodeSound(const std::string& bytes, std::string& problem);

// A picture or sound file loaded through the checks; null, and why in problem ("missing",
// "not a regular file", "damaged picture: ...", "damaged sound: ..."), when it cannot be used.
BITMAP* loadPicture(const char* path, std::string& problem);
SAMPLE* loadSound(const char* path, std::string& problem);
