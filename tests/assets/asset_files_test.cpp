// The picture and sound files as the game reads them: the header check that stands before the
// library's loader, files that are no files, and loading from memory giving exactly what the
// library's own file loaders give.
#include <allegro.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/asset_bitmaps.h"
#include "assets/asset_files.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

struct Field {
    std::size_t at;     // byte offset in the file
    std::size_t bytes;  // 2 or 4, little-endian
    std::uint32_t value;
};

std::string rewritten(std::string picture, std::initializer_list<Field> fields)
{
    for (const Field& field : fields)
        for (std::size_t i = 0; i < field.bytes; ++i) picture[field.at + i] = static_cast<char>(field.value >> (8 * i));
    return picture;
}

// A 24-bit picture of the given size, its pixels all grey.
std::string plainPicture(std::uint32_t width, std::uint32_t height)
{
    const std::uint32_t rowBytes = (width * 3 + 3) / 4 * 4;
    std::string picture(54 + std::size_t{rowBytes} * height, '\x80');
    return rewritten(picture, {{0, 2, 0x4d42}, {2, 4, 54 + rowBytes * height}, {6, 4, 0}, {10, 4, 54}, {14, 4, 40},
                               {18, 4, width}, {22, 4, height}, {26, 2, 1}, {28, 2, 24}, {30, 4, 0},
                               {34, 4, rowBytes * height}, {38, 4, 0}, {42, 4, 0}, {46, 4, 0}, {50, 4, 0}});
}

const char* fault(const std::string& picture)
{
    return pictureFault(reinterpret_cast<const unsigned char*>(picture.data()), picture.size());
}

class AssetFiles : public HeadlessTest {
protected:
    TempGameFolder folder;
};

}  // namespace

TEST_F(AssetFiles, EveryDamagedHeaderIsRefusedBeforeTheLibrarySeesIt)
{
    const std::string good = folder.read("_bmp/sprites.bmp");
    ASSERT_EQ(fault(good), nullptr);
    struct Damage {
        std::string picture;
        const char* fault;
    };
    const Damage table[] = {
        {rewritten(good, {{22, 4, 0x80000000u}}), "height out of range"},
        {rewritten(good, {{18, 4, 65536}, {22, 4, 65536}}), "width out of range"},
        {rewritten(good, {{18, 4, 2000000000}}), "width out of range"},
        {rewritten(good, {{30, 4, 1}, {28, 2, 8}}), "not an uncompressed 24-bit picture"},
        {rewritten(good, {{10, 4, 0x7fffffff}}), "pixel data offset out of range"},
        {rewritten(good, {{22, 4, static_cast<std::uint32_t>(-160)}}), "height out of range"},
        {rewritten(good, {{18, 4, 0}}), "width out of range"},
        {rewritten(good, {{28, 2, 32}}), "not an uncompressed 24-bit picture"},
        {rewritten(good, {{14, 4, 12}}), "not a Windows BMP header"},
        {rewritten(good, {{46, 4, 257}}), "too many palette colours"},
        {good.substr(0, good.size() - 1), "pixel data beyond the end of the file"},
        {good.substr(0, 53), "not a BMP file"},
        {"GIF89a" + good.substr(6), "not a BMP file"},
    };
    for (const Damage& damage : table) {
        EXPECT_STREQ(fault(damage.picture), damage.fault);
        // Through the game's own loading, from the file, as a damaged picture named by its fault.
        folder.write("damaged.bmp", damage.picture);
        std::string problem;
        EXPECT_EQ(loadPicture("damaged.bmp", problem), nullptr) << damage.fault;
        EXPECT_EQ(problem, std::string("damaged picture: ") + damage.fault);
    }
}

TEST_F(AssetFiles, PicturesUpToTheSideLimitLoad)
{
    std::string problem;
    for (auto [width, height] : {std::pair{PICTURE_SIDE_LIMIT, 1}, {1, PICTURE_SIDE_LIMIT}}) {
        BITMAP* picture = decodePicture(plainPicture(width, height), problem);
        ASSERT_NE(picture, nullptr) << problem;
        EXPECT_EQ(picture->w, width);
        EXPECT_EQ(picture->h, height);
        destroy_bitmap(picture);
    }
    EXPECT_STREQ(fault(plainPicture(PICTURE_SIDE_LIMIT + 1, 1)), "width out of range");
    EXPECT_STREQ(fault(plainPicture(1, PICTURE_SIDE_LIMIT + 1)), "height out of range");
}

TEST_F(AssetFiles, PicturesAndSoundsThatAreNoFilesAreRefusedWithoutBlocking)
{
    HangWatch watch;
    ASSERT_EQ(mkfifo("fifo.bmp", 0644), 0);
    ASSERT_EQ(mkfifo("fifo.wav", 0644), 0);
    fs::create_symlink("/dev/zero", "zero.bmp");
    fs::create_symlink("/dev/zero", "zero.wav");
    folder.write("huge.wav", "");
    fs::resize_file("huge.wav", SOUND_FILE_LIMIT + 1);
    std::string problem;
    for (const char* path : {"fifo.bmp", "zero.bmp"}) {
        EXPECT_EQ(loadPicture(path, problem), nullptr);
        EXPECT_EQ(problem, "not a regular file") << path;
    }
    for (const char* path : {"fifo.wav", "zero.wav"}) {
        EXPECT_EQ(loadSound(path, problem), nullptr);
        EXPECT_EQ(problem, "not a regular file") << path;
    }
    EXPECT_EQ(loadSound("huge.wav", problem), nullptr);
    EXPECT_EQ(problem, "larger than " + std::to_string(SOUND_FILE_LIMIT) + " bytes");
    EXPECT_EQ(loadSound("absent.wav", problem), nullptr);
    EXPECT_EQ(problem, "missing");
}

TEST_F(AssetFiles, LoadingFromMemoryGivesWhatTheLibrarysFileLoadersGive)
{
    std::string problem;
    for (const std::string& path : pictureFiles()) {
        BITMAP* ours = loadPicture(path.c_str(), problem);
        BITMAP* library = load_bitmap(path.c_str(), nullptr);
        ASSERT_NE(ours, nullptr) << path << ": " << problem;
        ASSERT_NE(library, nullptr) << path;
        ASSERT_EQ(ours->w, library->w) << path;
        ASSERT_EQ(ours->h, library->h) << path;
        ASSERT_EQ(bitmap_color_depth(ours), 32) << path;
        for (int y = 0; y < ours->h; ++y)
            ASSERT_EQ(std::memcmp(ours->line[y], library->line[y], std::size_t(ours->w) * 4), 0) << path << " row " << y;
        destroy_bitmap(ours);
        destroy_bitmap(library);
    }
    for (const fs::directory_entry& entry : fs::directory_iterator("_sample")) {
        const std::string path = entry.path().string();
        SAMPLE* ours = loadSound(path.c_str(), problem);
        SAMPLE* library = load_sample(path.c_str());
        ASSERT_NE(ours, nullptr) << path << ": " << problem;
        ASSERT_NE(library, nullptr) << path;
        EXPECT_EQ(ours->bits, library->bits);
        EXPECT_EQ(ours->stereo, library->stereo);
        EXPECT_EQ(ours->freq, library->freq);
        ASSERT_EQ(ours->len, library->len);
        const std::size_t bytes = std::size_t(ours->len) * (ours->stereo ? 2 : 1) * (ours->bits / 8);
        EXPECT_EQ(std::memcmp(ours->data, library->data, bytes), 0) << path;
        destroy_sample(ours);
        destroy_sample(library);
    }
}
