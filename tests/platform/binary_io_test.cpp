#include <chrono>
#include <filesystem>
#include <string>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "platform/byte_buffer.h"
#include "platform/safe_save.h"
#include "support/temp_folder.h"

namespace {

using platform::Bytes;

// A text that fills its field gives its last byte to the terminator.
TEST(ByteBuffer, TextFieldsAlwaysKeepATerminator) {
    platform::ByteWriter writer;
    writer.Text("ab", 3);
    writer.Text("abcdef", 4);
    EXPECT_EQ(writer.bytes(), (Bytes{'a', 'b', 0, 'a', 'b', 'c', 0}));
}

class SafeSaveTest : public ::testing::Test {
protected:
    std::size_t FilesIn() const {
        const std::filesystem::directory_iterator entries(folder.Path());
        return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
    }

    TempFolder folder;
};

// A write cut short, a directory in the way, a missing folder, a file the user may not write and a
// special file that a regular one would replace: each save fails with its cause, leaves what was
// there and no temporary file beside it.
TEST_F(SafeSaveTest, FailedSavesChangeNothingAndTellWhy) {
    folder.Write("a.dat", "old");
    platform::InjectSaveFaultAfter(2);
    EXPECT_EQ(platform::SafeSave(folder.File("a.dat"), Bytes(100, 'x')).cause,
              "No space left on device");
    platform::InjectSaveFaultAfter(SIZE_MAX);
    EXPECT_EQ(folder.Read("a.dat"), "old");

    std::filesystem::create_directory(folder.File("taken"));
    EXPECT_EQ(platform::SafeSave(folder.File("taken"), Bytes{'x'}).cause, "Is a directory");
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("taken")));
    EXPECT_EQ(platform::SafeSave(folder.File("missing/a.dat"), Bytes{'x'}).cause,
              "No such file or directory");
    folder.Write("locked.dat", "old");
    ::chmod(folder.File("locked.dat").c_str(), 0444);
    EXPECT_EQ(platform::SafeSave(folder.File("locked.dat"), Bytes{'n'}).cause, "Permission denied");
    EXPECT_EQ(folder.Read("locked.dat"), "old");
    ASSERT_EQ(::mkfifo(folder.File("fifo").c_str(), 0600), 0);
    EXPECT_EQ(platform::SafeSave(folder.File("fifo"), Bytes{'n'}).cause, "not a regular file");
    EXPECT_EQ(FilesIn(), 4u);
    EXPECT_TRUE(platform::SafeSave(folder.File("b.dat"), Bytes{'n'}));
}

int ModeOf(const std::string& path) {
    struct stat status = {};
    return ::stat(path.c_str(), &status) == 0 ? static_cast<int>(status.st_mode & 07777) : -1;
}

// What the user set on the file replaced stays: its permissions, and a link stays a link to the
// file it names, which receives the bytes.
TEST_F(SafeSaveTest, KeepsTheReplacedFilesPermissionsAndLinks) {
    folder.Write("secret.dat", "old");
    ::chmod(folder.File("secret.dat").c_str(), 0600);
    ASSERT_TRUE(platform::SafeSave(folder.File("secret.dat"), Bytes{'n'}));
    EXPECT_EQ(ModeOf(folder.File("secret.dat")), 0600);

    const mode_t umask = ::umask(027);
    ASSERT_TRUE(platform::SafeSave(folder.File("fresh.dat"), Bytes{'n'}));
    ::umask(umask);
    EXPECT_EQ(ModeOf(folder.File("fresh.dat")), 0640);

    std::filesystem::create_directory(folder.File("real"));
    folder.Write("real/target.dat", "old");
    std::filesystem::create_symlink("real/target.dat", folder.File("link.dat"));
    std::filesystem::create_symlink("link.dat", folder.File("chain.dat"));
    std::filesystem::create_symlink("real/later.dat", folder.File("dangling.dat"));
    ASSERT_TRUE(platform::SafeSave(folder.File("chain.dat"), Bytes{'n', 'e', 'w'}));
    ASSERT_TRUE(platform::SafeSave(folder.File("dangling.dat"), Bytes{'n'}));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.File("link.dat")));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.File("chain.dat")));
    EXPECT_EQ(folder.Read("real/target.dat"), "new");
    EXPECT_EQ(folder.Read("real/later.dat"), "n");

    std::filesystem::create_symlink("loop.dat", folder.File("loop.dat"));
    EXPECT_FALSE(platform::SafeSave(folder.File("loop.dat"), Bytes{'n'}));
}

// A save killed before its rename leaves its temporary file; the next save of that file removes
// it once it is old enough to belong to no running save. Other files are left alone.
TEST_F(SafeSaveTest, RemovesStaleTemporariesOfTheSameFileOnly) {
    const auto hourAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (const char* name : {"a.dat.tmp-Ab3xY9", "a.dat.tmp-fresh1", "b.dat.tmp-Ab3xY9",
                             "a.dat.tmp-toolong", "a.dat.bak"}) {
        folder.Write(name, "left");
        if (std::string(name) != "a.dat.tmp-fresh1") {
            std::filesystem::last_write_time(folder.File(name), hourAgo);
        }
    }
    ASSERT_TRUE(platform::SafeSave(folder.File("a.dat"), Bytes{'n'}));
    EXPECT_FALSE(std::filesystem::exists(folder.File("a.dat.tmp-Ab3xY9")));
    EXPECT_EQ(FilesIn(), 5u) << "the fresh one, b's, the misnamed ones and a.dat";
}

} // namespace
