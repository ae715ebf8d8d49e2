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

TEST(LineReader, SplitsTheFileIntoLinesOfAtMost511Bytes) {
    using Lines = std::vector<std::string>;
    const struct {
        const char* what;
        std::string bytes;
        Lines pieces;
    } cases[] = {
        {"only CR before LF goes", "a,b\r\nc\rd\n", {"a,b\n", "c\rd\n"}},
        {"lone CRs stay", "e\r\r\nf\r", {"e\r\n", "f\r"}},
        {"a last line without LF", "one\ntwo", {"one\n", "two"}},
        {"an empty file", "", {}},
        {"a long line in pieces",
         std::string(600, 'x') + "\r\nnext\n",
         {std::string(511, 'x'), std::string(89, 'x') + "\n", "next\n"}},
        // The LF translated from CR LF is the 511th byte of the same piece.
        {"the translated LF counts",
         std::string(510, 'y') + "\r\nz",
         {std::string(510, 'y') + "\n", "z"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Pieces(c.bytes), c.pieces) << c.what;
    }
    // The file is read in blocks: the CR of the last line here ends the first block.
    std::string bytes = "\n";
    Lines pieces = {"\n"};
    static_assert(platform::LineReader::kBlockSize == 16 * 512);
    for (int line = 0; line < 16; ++line) {
        bytes += std::string(510, 'w') + "\r\n";
        pieces.push_back(std::string(510, 'w') + "\n");
    }
    EXPECT_EQ(bytes.find("\r\n", 8191), platform::LineReader::kBlockSize - 1);
    EXPECT_EQ(Pieces(bytes), pieces) << "a CR LF pair across two blocks";
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
