#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "equip_fixture.h"
#include "res/dialog_129.h"
#include "res/dialog_131.h"
#include "ui/custom_equip_dlg.h"
#include "ui/own_dlg.h"

namespace {

std::string Ints(const std::vector<std::int32_t>& values) {
    std::string bytes;
    for (std::int32_t value : values) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<char>(static_cast<std::uint32_t>(value) >> shift));
        }
    }
    return bytes;
}

class RefusedListFileTest : public EquipWindowTest {
protected:
    bool Exists(const std::string& name) const {
        return std::filesystem::exists(folder.File(name));
    }
};

// A list file the opening refuses is the player's: Cancel leaves it, and the save of OK moves it
// aside first, under a name the refusal message gave.
TEST_F(RefusedListFileTest, ARefusedFileIsMovedAsideBeforeOkReplacesIt) {
    const std::string foreign = "not a list at all";
    const std::string otherVersion = Ints({1798, 9, 0});
    folder.Write("Fixed.dat", foreign);
    folder.Write("Exclude.dat", otherVersion);
    CCustomEquipDlg& custom = dialog->m_dlgCustomEquip;
    custom.Open();
    EXPECT_EQ(
        prompter.messages,
        (Names{"装備ファイルではありません\n元のFixed.datは保存の前にFixed.dat.bakとして残します",
               "除外装備ファイルのバージョンが違います\n元のExclude.datは保存の前にExclude."
               "dat.bakとして残します"}));
    custom.Click(res::custom_equip::kIdCancel);
    EXPECT_EQ(folder.Read("Fixed.dat"), foreign);
    EXPECT_FALSE(Exists("Fixed.dat.bak"));

    custom.Open();
    custom.Click(res::custom_equip::kIdOk);
    EXPECT_EQ(folder.Read("Fixed.dat.bak"), foreign);
    EXPECT_EQ(folder.Read("Exclude.dat.bak"), otherVersion);
    EXPECT_EQ(folder.Read("Fixed.dat").size(), 608U);
    prompter.messages.clear();
    custom.Open();
    EXPECT_TRUE(prompter.messages.empty()) << "the new files are read without complaint";

    // An earlier backup stays too.
    folder.Write("OwnEquip.dat", foreign);
    folder.Write("OwnEquip.dat.bak", "older");
    COwnDlg& own = dialog->m_dlgOwn;
    own.Open();
    EXPECT_EQ(prompter.messages.back(),
              "所有装備ファイルではありません\n元のOwnEquip.datは保存の前に"
              "OwnEquip.dat.bak.2として残します");
    own.Click(res::own_equip::kIdOk);
    EXPECT_EQ(folder.Read("OwnEquip.dat.bak"), "older");
    EXPECT_EQ(folder.Read("OwnEquip.dat.bak.2"), foreign);
    EXPECT_EQ(folder.Read("OwnEquip.dat").size(), 12U);
}

} // namespace
