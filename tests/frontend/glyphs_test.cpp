// The glyph alphabet: the codes of the characters and where and how big glyphs are drawn.
#include <allegro.h>
#include <gtest/gtest.h>

#include "frontend/front_end.h"
#include "test_support.h"

namespace {

// A sheet whose glyph k is one flat colour, so a drawn pixel tells which cell it came from.
int cellColour(int code) { return makecol(code, 100, 200); }
int gapColour() { return makecol(250, 250, 250); }
int background() { return makecol(7, 7, 7); }

BITMAP* makeSheet(int width)
{
    BITMAP* sheet = makeFilledBitmap(width, 28, gapColour());
    for (int code = 1; code <= 36; ++code) rectfill(sheet, 16 * (code - 1), 0, 16 * code - 1, 27, cellColour(code));
    return sheet;
}

int changedPixels(BITMAP* target)
{
    int changed = 0;
    for (int y = 0; y < target->h; ++y)
        for (int x = 0; x < target->w; ++x) changed += getpixel(target, x, y) != background();
    return changed;
}

class Glyphs : public HeadlessTest {
protected:
    void SetUp() override
    {
        HeadlessTest::SetUp();
        sheet = makeSheet(578);
        target = makeFilledBitmap(400, 300, background());
    }
    void TearDown() override
    {
        destroy_bitmap(sheet);
        destroy_bitmap(target);
        HeadlessTest::TearDown();
    }
    FrontEnd frontEnd;
    BITMAP* sheet = nullptr;
    BITMAP* target = nullptr;
};

}  // namespace

TEST(GlyphCodes, FollowTheSheetOrderWithWBeforeV)
{
    const std::pair<char, int> table[] = {{'A', 1}, {'U', 21}, {'W', 22}, {'V', 23}, {'X', 24},
                                          {'Z', 26}, {'1', 27}, {'9', 35}, {'0', 36}};
    for (const auto& [character, code] : table) {
        EXPECT_EQ(glyphForChar(character), code) << character;
        EXPECT_EQ(charForGlyph(code), character) << code;
    }
    for (int code = 1; code <= 36; ++code) EXPECT_EQ(glyphForChar(charForGlyph(code)), code);
    for (char noGlyph : {'a', 'v', ' ', '-', '\0', '\t', '\xff'}) EXPECT_EQ(glyphForChar(noGlyph), 0);
    for (int outside : {0, -1, 37}) EXPECT_EQ(charForGlyph(outside), '\0');
}

TEST_F(Glyphs, EachCharacterIsCutFromItsOwnCell)
{
    // V and W swap places on the sheet; 0 comes after 9.
    for (const auto& [text, code] : {std::pair{"V", 23}, {"W", 22}, {"0", 36}, {"A", 1}}) {
        frontEnd.drawText(sheet, target, 10, 40, 0, text);
        EXPECT_EQ(getpixel(target, 10, 40), cellColour(code)) << text;
        EXPECT_EQ(getpixel(target, 25, 67), cellColour(code)) << text;
        EXPECT_EQ(getpixel(target, 26, 40), gapColour()) << text;
        EXPECT_EQ(getpixel(target, 28, 40), background()) << text;
    }
}

TEST_F(Glyphs, TextAdvancesEighteenPixelsPerCharacter)
{
    frontEnd.drawText(sheet, target, 10, 40, 0, "B0Z");
    EXPECT_EQ(getpixel(target, 10, 50), cellColour(2));
    EXPECT_EQ(getpixel(target, 28, 50), cellColour(36));
    EXPECT_EQ(getpixel(target, 46, 50), cellColour(26));
    EXPECT_EQ(getpixel(target, 63, 50), gapColour());
    EXPECT_EQ(frontEnd.glyphCode, 26);
    EXPECT_EQ(changedPixels(target), 3 * 18 * 28);
}

TEST_F(Glyphs, ScaleThreeCoversFiftyFourByEightyFourWithRulesTwelveAboveAndNinetyThreeBelow)
{
    frontEnd.glyphCode = 8;
    frontEnd.drawGlyph(sheet, target, 100, 100, 1, 3);
    EXPECT_EQ(getpixel(target, 147, 183), cellColour(8));
    EXPECT_EQ(getpixel(target, 148, 100), gapColour());
    EXPECT_EQ(getpixel(target, 153, 183), gapColour());
    EXPECT_EQ(getpixel(target, 154, 100), background());
    EXPECT_EQ(getpixel(target, 100, 184), background());
    for (int x : {100, 154}) {
        EXPECT_EQ(getpixel(target, x, 88), makecol(10, 90, 40));
        EXPECT_EQ(getpixel(target, x, 193), makecol(0, 70, 30));
    }
    EXPECT_EQ(getpixel(target, 155, 88), background());
    EXPECT_EQ(changedPixels(target), 54 * 84 + 2 * 55);
}

TEST_F(Glyphs, CharactersWithoutAGlyphLeaveABlankCell)
{
    frontEnd.drawText(sheet, target, 10, 40, 0, "");
    frontEnd.drawText(sheet, target, 10, 40, 0, "a-.\xff");
    EXPECT_EQ(changedPixels(target), 0);
    // A ruled line stays unbroken across the blank, and the next glyph keeps its place.
    frontEnd.drawText(sheet, target, 10, 40, 1, "a1");
    EXPECT_EQ(getpixel(target, 10, 36), makecol(10, 90, 40));
    EXPECT_EQ(getpixel(target, 10, 50), background());
    EXPECT_EQ(getpixel(target, 28, 50), cellColour(27));
    for (int code : {0, -3, 37, 1000}) {
        frontEnd.glyphCode = code;
        frontEnd.drawGlyph(sheet, target, 200, 200, 0, 2);
    }
    EXPECT_EQ(changedPixels(target), 18 * 28 + 2 * 37);
}

TEST_F(Glyphs, CellsBeyondANarrowSheetAreNeverRead)
{
    BITMAP* narrow = makeSheet(300);  // ends inside the cell of S, without the gap strip
    frontEnd.drawText(narrow, target, 0, 0, 0, "AZ");
    frontEnd.drawText(nullptr, target, 0, 100, 0, "A");
    EXPECT_EQ(changedPixels(target), 0);
    destroy_bitmap(narrow);
}
