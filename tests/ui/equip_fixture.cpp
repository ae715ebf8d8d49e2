#include "equip_fixture.h"

#include "platform/sjis.h"

namespace {

// name,sex,job,rarity,slots,defence before,after,5 resistances,5 skills with points,5 materials
// with amounts.
const char* const kHeads = "ハンターヘルム,0,0,1,1,5,10,1,0,0,0,0,攻撃,3,会心,2,,,,,,,鉄鉱石,2\n"
                           "ガンナーキャップ,0,2,2,2,6,12,0,1,0,0,0,狙い,4\n"
                           "レディヘルム,2,1,3,0,7,14,0,0,0,0,0,耐毒,2\n"
                           "メンズヘルム,1,0,5,3,8,16,0,0,0,0,0,攻撃,1\n";
const char* const kBodies =
    "ハンターメイル,0,0,1,1,5,10,1,0,0,0,0,攻撃,3,耐毒,2,,,,,,,鉄鉱石,3\n"
    "ボーンメイル,0,0,2,2,6,12,0,0,0,0,0,攻撃,5,,,,,,,,,竜骨,1,鉄鉱石,2,紅玉,3\n";
const char* const kArms = "ハンターアーム,0,0,1,0,5,10,0,0,1,0,0,攻撃,2\n";
const char* const kWaists = "ハンターフォールド,0,0,1,2,5,10,0,0,0,1,0,会心,3\n"
                            "倍加フォールド,0,0,3,1,5,10,0,0,0,0,0,胴系倍加,0\n";
const char* const kLegs =
    "ハンターグリーヴ,0,0,1,3,5,10,0,0,0,0,1,攻撃,2,耐毒,3,,,,,,,竜骨,2,鉄鉱石,0,紅玉,1\n";
const char* const kDecorations = "攻撃珠【１】,2,1,攻撃,1,会心,-1,下\n"
                                 "攻撃珠【２】,4,2,攻撃,3,,,上\n"
                                 "耐毒珠【１】,1,1,耐毒,1,,,Ｇ\n";

} // namespace

void EquipWindowTest::SetUp() {
    const std::pair<const char*, const char*> tables[] = {{"HEAD", kHeads}, {"BODY", kBodies},
                                                          {"ARM", kArms},   {"WST", kWaists},
                                                          {"LEG", kLegs},   {"DECO", kDecorations}};
    for (const auto& [file, lines] : tables) {
        folder.Write(std::string("data/TEVREQUIP_") + file + ".csv", platform::Utf8ToSjis(lines));
    }
    ASSERT_TRUE(Start());
}

CEquipData* EquipWindowTest::Piece(int slot, const std::string& utf8Name) const {
    for (CEquipData* piece : dialog->m_search.database.Armor(slot)) {
        if (platform::SjisToUtf8(piece->name) == utf8Name) {
            return piece;
        }
    }
    ADD_FAILURE() << utf8Name << " is not in table " << slot;
    return nullptr;
}

void EquipWindowTest::SelectByName(ui::CReportList& list, const std::string& utf8Name) {
    for (int row = 0; row < list.GetItemCount(); ++row) {
        if (Cell(list, row, 2) == utf8Name) {
            list.SelectRow(row);
            return;
        }
    }
    ADD_FAILURE() << utf8Name << " is not listed";
}
