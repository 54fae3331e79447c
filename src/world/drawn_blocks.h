// Which parts of a view-size layer hold something: each row of the layer in blocks of 16 pixels,
// a block marked once anything may have been drawn into it since the layer was last wiped. The
// glow holds a few sprites, so the frame wipes and lays only the marked blocks, not the layer.
#pragma once

#include <algorithm>
#include <cstdint>

#include "world/view_geometry.h"

class DrawnBlocks {
public:
    static constexpr int BLOCK_WIDTH = 16;  // pixels
    static constexpr int BLOCKS_PER_ROW = (VIEW_WIDTH + BLOCK_WIDTH - 1) / BLOCK_WIDTH;
    static constexpr int WORDS_PER_ROW = (BLOCKS_PER_ROW + 63) / 64;

    std::uint64_t marks[VIEW_HEIGHT][WORDS_PER_ROW] = {};
    int top = 0, bottom = 0;  // the rows that may hold marks: top to bottom - 1

    // Pixels left to right - 1 of rows y to bottom - 1, as far as they lie in the layer.
    void mark(int left, int y, int right, int bottomRow)
    {
        left = std::max(left, 0);
        right = std::min(right, VIEW_WIDTH);
        y = std::max(y, 0);
        bottomRow = std::min(bottomRow, VIEW_HEIGHT);
        if (left >= right || y >= bottomRow) return;
        std::uint64_t wordMarks[WORDS_PER_ROW] = {};
        markWords(left, right, wordMarks);
        for (int r = y; r < bottomRow; ++r)
            for (int word = 0; word < WORDS_PER_ROW; ++word) marks[r][word] |= wordMarks[word];
        top = top < bottom ? std::min(top, y) : y;
        bottom = std::max(bottom, bottomRow);
    }

    void markAll() { mark(0, 0, VIEW_WIDTH, VIEW_HEIGHT); }

    // The blocks wholly within pixels left to right - 1 of a row added to its masks, a word of
    // blocks at a time, as unmark takes them.
    static void addBlocksWithin(int left, int right, std::uint64_t* wordMasks)
    {
        const int first = (std::max(left, 0) + BLOCK_WIDTH - 1) / BLOCK_WIDTH;
        const int end = std::min(right, VIEW_WIDTH) / BLOCK_WIDTH;  // a last block cut by the view's edge stays
        if (first >= end) return;
        std::uint64_t words[WORDS_PER_ROW] = {};
        markWords(first * BLOCK_WIDTH, end * BLOCK_WIDTH, words);
        for (int word = 0; word < WORDS_PER_ROW; ++word) wordMasks[word] |= words[word];
    }

    // The blocks of row y in the masks unmarked.
    void unmark(int y, const std::uint64_t* wordMasks)
    {
        if (y < 0 || y >= VIEW_HEIGHT) return;
        for (int word = 0; word < WORDS_PER_ROW; ++word) marks[y][word] &= ~wordMasks[word];
    }

    // Each row's unmarked runs of at most `gap` blocks between marked ones, marked too.
    void closeGaps(int gap)
    {
        for (int r = top; r < bottom; ++r) {
            int lastEnd = -1;  // the block after the last run seen
            forEachSpan(r, [&](int left, int right) {
                if (lastEnd >= 0 && left / BLOCK_WIDTH - lastEnd <= gap) mark(lastEnd * BLOCK_WIDTH, r, left, r + 1);
                lastEnd = (right + BLOCK_WIDTH - 1) / BLOCK_WIDTH;
            });
        }
    }

    // Whether any block of pixels left to right - 1 of rows y to bottomRow - 1 is marked.
    bool any(int left, int y, int right, int bottomRow) const
    {
        left = std::max(left, 0);
        right = std::min(right, VIEW_WIDTH);
        y = std::max(y, top);
        bottomRow = std::min(bottomRow, bottom);
        if (left >= right || y >= bottomRow) return false;
        std::uint64_t wordMarks[WORDS_PER_ROW] = {};
        markWords(left, right, wordMarks);
        for (int r = y; r < bottomRow; ++r)
            for (int word = 0; word < WORDS_PER_ROW; ++word)
                if (marks[r][word] & wordMarks[word]) return true;
        return false;
    }

    // Every block the other has marked, marked here too.
    void add(const DrawnBlocks& other)
    {
        if (other.top >= other.bottom) return;
        for (int r = other.top; r < other.bottom; ++r)
            for (int word = 0; word < WORDS_PER_ROW; ++word) marks[r][word] |= other.marks[r][word];
        top = top < bottom ? std::min(top, other.top) : other.top;
        bottom = std::max(bottom, other.bottom);
    }

    // As mark, but first calls spanNew(row, left, right) for each run of blocks not yet marked,
    // as pixels left to right - 1 of the row.
    template <typename SpanNew>
    void markNew(int left, int y, int right, int bottomRow, SpanNew spanNew)
    {
        left = std::max(left, 0);
        right = std::min(right, VIEW_WIDTH);
        y = std::max(y, 0);
        bottomRow = std::min(bottomRow, VIEW_HEIGHT);
        if (left >= right || y >= bottomRow) return;
        const int first = left / BLOCK_WIDTH, end = (right - 1) / BLOCK_WIDTH + 1;
        for (int r = y; r < bottomRow; ++r)
            for (int block = nextBlock(r, first, false); block < end; block = nextBlock(r, block, false)) {
                const int runEnd = std::min(nextBlock(r, block, true), end);
                spanNew(r, block * BLOCK_WIDTH, std::min(runEnd * BLOCK_WIDTH, VIEW_WIDTH));
                block = runEnd;
            }
        mark(left, y, right, bottomRow);
    }

    void clear()
    {
        for (int r = top; r < bottom; ++r) std::fill(marks[r], marks[r] + WORDS_PER_ROW, 0);
        top = bottom = 0;
    }

    // Calls spanDone(left, right) for each run of marked blocks in row y, as pixels left to
    // right - 1 of the layer, left to right.
    template <typename SpanDone>
    void forEachSpan(int y, SpanDone spanDone) const
    {
        if (y < top || y >= bottom) return;
        int block = 0;
        while (block < BLOCKS_PER_ROW) {
            block = nextBlock(y, block, true);
            if (block >= BLOCKS_PER_ROW) return;
            const int end = nextBlock(y, block, false);
            spanDone(block * BLOCK_WIDTH, std::min(end * BLOCK_WIDTH, VIEW_WIDTH));
            block = end;
        }
    }

private:
    // The blocks under pixels left to right - 1 (within the row) as a mask of each word's bits.
    static void markWords(int left, int right, std::uint64_t* wordMarks)
    {
        const int first = left / BLOCK_WIDTH, last = (right - 1) / BLOCK_WIDTH;
        for (int word = first / 64; word <= last / 64; ++word) {
            const int low = std::max(first - word * 64, 0), high = std::min(last - word * 64, 63);
            wordMarks[word] = (~std::uint64_t{0} >> (63 - (high - low))) << low;
        }
    }

    // The first block from `block` on that is marked (or unmarked), or BLOCKS_PER_ROW.
    int nextBlock(int y, int block, bool marked) const
    {
        while (block < BLOCKS_PER_ROW) {
            const int word = block / 64;
            const std::uint64_t bits = (marked ? marks[y][word] : ~marks[y][word]) >> (block % 64);
            if (bits != 0) return std::min(block + __builtin_ctzll(bits), BLOCKS_PER_ROW);
            block = (word + 1) * 64;
        }
        return BLOCKS_PER_ROW;
    }
};
