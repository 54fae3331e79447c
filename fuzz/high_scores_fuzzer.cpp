// Feeds arbitrary bytes to the "high_score.txt" reader: it must never overrun a field, keep only
// names the name entry could type and scores from 0 up, sorted, and whatever it keeps must come
// back unchanged through the writer, with nothing but letters, digits, tabs and line ends written.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/front_end.h"

namespace {

void require(bool holds)
{
    if (!holds) std::abort();
}

bool typeable(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// Every row read is terminated, drawable, within its fields, and no lower than the row after it.
void checkRows(const HighScoreEntry* rows, int count)
{
    require(count >= 0 && count <= HIGH_SCORE_ROWS);
    for (int i = 0; i < count; ++i) {
        const char* end = static_cast<const char*>(std::memchr(rows[i].name, '\0', sizeof rows[i].name));
        require(end != nullptr && end != rows[i].name);
        for (const char* c = rows[i].name; c != end; ++c) require(typeable(*c));
        require(std::memchr(rows[i].scoreText, '\0', sizeof rows[i].scoreText) != nullptr);
        require(rows[i].score >= 0 && std::to_string(rows[i].score) == rows[i].scoreText);
        require(i == 0 || rows[i - 1].score >= rows[i].score);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    HighScoreEntry rows[HIGH_SCORE_ROWS];
    std::vector<std::string> leftOut;
    const int count = readHighScores(in, rows, &leftOut);
    checkRows(rows, count);
    for (const std::string& line : leftOut) require(line.rfind("line ", 0) == 0);

    std::ostringstream written;
    writeHighScores(written, rows, count);
    for (char c : written.str()) require(typeable(c) || c == '\t' || c == '\n');
    std::istringstream again(written.str());
    HighScoreEntry reread[HIGH_SCORE_ROWS];
    std::vector<std::string> leftOutAgain;
    require(readHighScores(again, reread, &leftOutAgain) == count && leftOutAgain.empty());
    for (int i = 0; i < count; ++i) {
        require(reread[i].score == rows[i].score);
        require(std::strcmp(reread[i].name, rows[i].name) == 0);
    }
    return 0;
}
