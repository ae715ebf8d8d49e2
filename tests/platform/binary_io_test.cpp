#include <cstdint>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/byte_buffer.h"
#include "platform/safe_save.h"
#include "support/temp_folder.h"

namespace {

using platform::Bytes;

TEST(ByteBuffer, WritesLittleEndianAndZeroFilledFields) {
    platform::ByteWriter writer;
    writer.Int32(0x412);
    writer.Int32(-2);
    writer.Text("ab", 5);
    writer.Text("abcdef", 4); // always keeps a terminator
    const Bytes expected = {0x12, 0x04, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 'a',
                            'b',  0,    0, 0, 'a',  'b',  'c',  0};
    EXPECT_EQ(writer.bytes(), expected);
}

TEST(ByteBuffer, ReadsBackAndFailsCleanlyAtTheEnd) {
    const Bytes bytes = {0x22, 0x02, 0, 0, 'x', 'y', 'z', 'w', 0xFF};
    platform::ByteReader reader(bytes);
    std::int32_t value = 0;
    ASSERT_TRUE(reader.Int32(value));
    EXPECT_EQ(value, 546);
    std::string text;
    ASSERT_TRUE(reader.Text(text, 4)); // no terminator: ends at the field's end
    EXPECT_EQ(text, "xyzw");
    EXPECT_FALSE(reader.Int32(value));
    EXPECT_FALSE(reader.Text(text, 2));
    EXPECT_EQ(reader.Remaining(), 1u);
}

class SafeSaveTest : public ::testing::Test {
protected:
    void TearDown() override { platform::InjectSaveFaultAfter(SIZE_MAX); }

    std::size_t FilesIn() const {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry :
             std::filesystem::directory_iterator(folder.Path())) {
            ++count;
        }
        return count;
    }

    TempFolder folder;
};

TEST_F(SafeSaveTest, ReplacesTheFile) {
    folder.Write("a.dat", "old");
    ASSERT_TRUE(platform::SafeSave(folder.File("a.dat"), Bytes{'n', 'e', 'w', '!'}));
    EXPECT_EQ(folder.Read("a.dat"), "new!");
    EXPECT_EQ(FilesIn(), 1u);
}

TEST_F(SafeSaveTest, AFailedWriteLeavesThePreviousFileAndNoTemporary) {
    folder.Write("a.dat", "old");
    platform::InjectSaveFaultAfter(2);
    EXPECT_FALSE(platform::SafeSave(folder.File("a.dat"), Bytes(100, 'x')));
    EXPECT_EQ(folder.Read("a.dat"), "old");
    EXPECT_EQ(FilesIn(), 1u);
}

TEST_F(SafeSaveTest, FailsWhenADirectoryIsInTheWayOrTheFolderIsMissing) {
    std::filesystem::create_directory(folder.File("taken"));
    EXPECT_FALSE(platform::SafeSave(folder.File("taken"), Bytes{'x'}));
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("taken")));
    EXPECT_FALSE(platform::SafeSave(folder.File("missing/a.dat"), Bytes{'x'}));
    EXPECT_EQ(FilesIn(), 1u);
}

} // namespace
