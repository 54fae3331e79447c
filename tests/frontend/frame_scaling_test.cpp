// The picture on larger screens: the window's factor, where the picture lands, the whole-factor
// and sharp loops against plain per-pixel references, and screen points mapped back.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "frontend/frame_scaling.h"
#include "test_support.h"

namespace {

constexpr int MARK = 0x123456;  // what the screen held before: left alone outside the picture

BITMAP* randomPicture(int width, int height, unsigned seed)
{
    BITMAP* picture = create_bitmap(width, height);
    std::mt19937 draw(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) putpixel(picture, x, y, static_cast<int>(draw() & 0xFFFFFF));
    return picture;
}

int channelBlend(int a, int b, int weight) { return (a * (BLEND_WHOLE - weight) + b * weight + 128) >> 8; }
int blendColours(int a, int b, int weight)
{
    return makecol(channelBlend(getr(a), getr(b), weight), channelBlend(getg(a), getg(b), weight),
                   channelBlend(getb(a), getb(b), weight));
}

// One axis of the sharp filter told the long way: the centre of output pixel i in the picture
// enlarged by the next whole factor, the two enlarged pixels around it, and how far between.
struct Sample {
    int near, far, weight;
};
Sample sharpSample(int i, int sourceSize, int outputSize)
{
    const int factor = static_cast<int>(std::ceil(static_cast<double>(outputSize) / sourceSize));
    const int enlarged = sourceSize * factor;
    double at = (i + 0.5) * enlarged / outputSize - 0.5;
    at = std::min(std::max(at, 0.0), enlarged - 1.0);
    const int left = static_cast<int>(std::floor(at));
    const int right = std::min(left + 1, enlarged - 1);
    const int weight = static_cast<int>(std::lround((at - left) * BLEND_WHOLE));
    return {left / factor, right / factor, left / factor == right / factor ? 0 : weight};
}

class FrameScaling : public HeadlessTest {};

TEST_F(FrameScaling, TheWindowTakesTheLargestWholeFactorThatFitsWithItsFrame)
{
    const struct {
        int width, height, factor;
    } desktops[] = {
        {3840, 2160, 2}, {2560, 1440, 1}, {1920, 1080, 1}, {1600, 900, 1}, {1024, 600, 1}, {5120, 2880, 3},
        {3840, 1600, 2}, {2600, 2160, 1},  // one side too short for the next factor keeps it
    };
    for (const auto& d : desktops)
        EXPECT_EQ(windowScaleFor(d.width, d.height), d.factor) << d.width << " x " << d.height;
}

TEST_F(FrameScaling, ThePictureFillsTheScreenKeepingItsShapeCentredWholeWhereAFactorFits)
{
    const struct {
        int screenWidth, screenHeight, left, top, width, height, factor;
    } screens[] = {
        {1280, 720, 0, 0, 1280, 720, 1},     {2560, 1440, 0, 0, 2560, 1440, 2},  {3840, 2160, 0, 0, 3840, 2160, 3},
        {1920, 1080, 0, 0, 1920, 1080, 0},   {1920, 1200, 0, 60, 1920, 1080, 0}, {2560, 1080, 320, 0, 1920, 1080, 0},
        {3440, 1440, 440, 0, 2560, 1440, 2}, {1366, 768, 0, 0, 1365, 768, 0},   {1024, 768, 0, 96, 1024, 576, 0},
    };
    for (const auto& s : screens) {
        const FramePlacement p = placeFrame(s.screenWidth, s.screenHeight);
        EXPECT_EQ(p.left, s.left) << s.screenWidth << " x " << s.screenHeight;
        EXPECT_EQ(p.top, s.top) << s.screenWidth << " x " << s.screenHeight;
        EXPECT_EQ(p.width, s.width) << s.screenWidth << " x " << s.screenHeight;
        EXPECT_EQ(p.height, s.height) << s.screenWidth << " x " << s.screenHeight;
        EXPECT_EQ(p.wholeFactor, s.factor) << s.screenWidth << " x " << s.screenHeight;
        // Every screen pixel of a picture pixel leads back to it; the black around leads outside.
        // (A screen smaller than the picture shows some picture pixels not at all.)
        if (p.width < SCREEN_WIDTH) continue;
        for (const FramePoint point : {FramePoint{0, 0}, FramePoint{1279, 719}, FramePoint{155, 158},
                                       FramePoint{640, 360}, FramePoint{37, 700}}) {
            const ScreenArea area = screenAreaOf(p, point.x, point.y, 1, 1);
            ASSERT_GT(area.width * area.height, 0);
            for (const int dx : {0, area.width - 1})
                for (const int dy : {0, area.height - 1}) {
                    const FramePoint back = framePointOf(p, area.x + dx, area.y + dy);
                    EXPECT_EQ(back.x, point.x) << s.screenWidth << " x " << s.screenHeight;
                    EXPECT_EQ(back.y, point.y) << s.screenWidth << " x " << s.screenHeight;
                }
        }
        if (p.left > 0) {
            EXPECT_LT(framePointOf(p, p.left - 1, p.top).x, 0);
        }
        if (p.top > 0) {
            EXPECT_GE(framePointOf(p, p.left, p.top + p.height).y, SCREEN_HEIGHT);
        }
    }
}

TEST_F(FrameScaling, AWholeFactorMakesEverySourcePixelABlockAndTouchesNothingElse)
{
    BITMAP* picture = randomPicture(37, 23, 1);
    for (const int factor : {1, 2, 3, 4}) {
        const int left = 5, top = 3;
        BITMAP* target = makeFilledBitmap(picture->w * factor + 11, picture->h * factor + 7, MARK);
        scaleWhole(picture, target, factor, left, top);
        for (int y = 0; y < target->h; ++y)
            for (int x = 0; x < target->w; ++x) {
                const int sx = x - left, sy = y - top;
                const bool inside = sx >= 0 && sy >= 0 && sx < picture->w * factor && sy < picture->h * factor;
                const int expected = inside ? getpixel(picture, sx / factor, sy / factor) : MARK;
                ASSERT_EQ(getpixel(target, x, y), expected) << "factor " << factor << " at " << x << ", " << y;
            }
        destroy_bitmap(target);
    }
    destroy_bitmap(picture);
}

TEST_F(FrameScaling, TheSharpFilterBlendsOnlyAcrossSourcePixelEdgesAsThePlainTwoStepsDo)
{
    BITMAP* picture = randomPicture(SCREEN_WIDTH, SCREEN_HEIGHT, 2);
    for (const auto& size : {std::pair{1920, 1080}, std::pair{1366, 768}, std::pair{1920, 1200}, std::pair{1024, 600}}) {
        FramePlacement p = placeFrame(size.first, size.second);
        ASSERT_EQ(p.wholeFactor, 0);
        BITMAP* target = makeFilledBitmap(size.first, size.second, MARK);
        presentInto(picture, target, p);
        for (int y = 0; y < target->h; ++y) {
            const bool rowInside = y >= p.top && y < p.top + p.height;
            const Sample down = rowInside ? sharpSample(y - p.top, SCREEN_HEIGHT, p.height) : Sample{};
            for (int x = 0; x < target->w; ++x) {
                int expected = MARK;
                if (rowInside && x >= p.left && x < p.left + p.width) {
                    const Sample across = sharpSample(x - p.left, SCREEN_WIDTH, p.width);
                    const int upper = blendColours(getpixel(picture, across.near, down.near),
                                                   getpixel(picture, across.far, down.near), across.weight);
                    const int lower = blendColours(getpixel(picture, across.near, down.far),
                                                   getpixel(picture, across.far, down.far), across.weight);
                    expected = blendColours(upper, lower, down.weight);
                }
                ASSERT_EQ(getpixel(target, x, y), expected) << size.first << " x " << size.second << " at " << x
                                                             << ", " << y;
            }
        }
        destroy_bitmap(target);
    }
    destroy_bitmap(picture);
}

TEST_F(FrameScaling, APartOfThePictureLandsWhereThatPartOfTheWholeOneDoes)
{
    BITMAP* picture = randomPicture(SCREEN_WIDTH, SCREEN_HEIGHT, 3);
    const int partX = 100, partY = 50;
    BITMAP* part = create_bitmap(200, 120);
    blit(picture, part, partX, partY, 0, 0, part->w, part->h);
    for (const auto& size : {std::pair{2560, 1440}, std::pair{1920, 1080}}) {
        FramePlacement p = placeFrame(size.first, size.second);
        BITMAP* whole = makeFilledBitmap(size.first, size.second, MARK);
        BITMAP* alone = makeFilledBitmap(size.first, size.second, MARK);
        presentInto(picture, whole, p);
        presentInto(part, alone, p, partX, partY);
        const ScreenArea area = screenAreaOf(p, partX, partY, part->w, part->h);
        // The sharp filter's edge pixels blend with what lies beyond the part: only the inside counts.
        const int edge = p.wholeFactor > 0 ? 0 : 1;
        for (int y = 0; y < size.second; ++y)
            for (int x = 0; x < size.first; ++x) {
                const bool inArea = x >= area.x && y >= area.y && x < area.x + area.width && y < area.y + area.height;
                const bool deep = x >= area.x + edge && y >= area.y + edge && x < area.x + area.width - edge &&
                                  y < area.y + area.height - edge;
                const int expected = deep ? getpixel(whole, x, y) : inArea ? getpixel(alone, x, y) : MARK;
                ASSERT_EQ(getpixel(alone, x, y), expected) << x << ", " << y;
            }
        destroy_bitmap(whole);
        destroy_bitmap(alone);
    }
    destroy_bitmap(part);
    destroy_bitmap(picture);
}

}  // namespace
