#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/line_reader.h"
#include "platform/sjis.h"

namespace {

std::vector<std::string> Pieces(const std::string& bytes) {
    std::FILE* file = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
    platform::LineReader reader(file);
    std::vector<std::string> pieces;
    std::string piece;
    while (reader.Next(piece)) {
        pieces.push_back(piece);
    }
    std::fclose(file);
    return pieces;
}

TEST(LineReader, DropsOnlyTheCarriageReturnBeforeALineFeed) {
    EXPECT_EQ(Pieces("a,b\r\nc\rd\n"), (std::vector<std::string>{"a,b\n", "c\rd\n"}));
    EXPECT_EQ(Pieces("e\r\r\nf\r"), (std::vector<std::string>{"e\r\n", "f\r"}));
}

TEST(LineReader, DeliversAFinalLineWithoutLineFeed) {
    EXPECT_EQ(Pieces("one\ntwo"), (std::vector<std::string>{"one\n", "two"}));
    EXPECT_TRUE(Pieces("").empty());
}

TEST(LineReader, SplitsLongLinesInto511BytePieces) {
    const std::string line(600, 'x');
    const auto pieces = Pieces(line + "\r\n" + "next\n");
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0], std::string(511, 'x'));
    EXPECT_EQ(pieces[1], std::string(89, 'x') + "\n");
    EXPECT_EQ(pieces[2], "next\n");
}

TEST(LineReader, CountsTheTranslatedLineFeedInsideThePiece) {
    // 510 bytes, then CR LF: the translated LF is the 511th byte of the same piece.
    const auto pieces = Pieces(std::string(510, 'y') + "\r\nz");
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0], std::string(510, 'y') + "\n");
    EXPECT_EQ(pieces[1], "z");
}

TEST(Sjis, ConvertsBothWaysAndReplacesInvalidBytes) {
    const std::string sjis = "\x8D\x55\x8C\x82"; // 攻撃
    EXPECT_EQ(platform::SjisToUtf8(sjis), "攻撃");
    EXPECT_EQ(platform::Utf8ToSjis("攻撃"), sjis);
    EXPECT_EQ(platform::SjisToUtf8("a\xFF"
                                   "b"),
              "a\xEF\xBF\xBD"
              "b");
    // A name cut in half a character ends in a lone lead byte.
    EXPECT_EQ(platform::SjisToUtf8("\x8D\x55\x8C"), "攻\xEF\xBF\xBD");
}

} // namespace
