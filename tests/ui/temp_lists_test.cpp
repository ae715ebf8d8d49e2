#include <QApplication>
#include <QContextMenuEvent>
#include <functional>
#include <optional>

#include "lists/fixed_set_file.h"
#include "res/dialog_102.h"
#include "res/dialog_137.h"
#include "res/dialog_139.h"
#include "res/menus.h"
#include "ui/equip_info_dlg.h"
#include "ui/view_temp_list.h"
#include "ui_fixture.h"

namespace {

using Menu = std::vector<ui::ScriptedPrompter::MenuEntry>;

class TempListsTest : public EquipWindowTest {
protected:
    CListCtrlResultEquip& SetEquip() const { return dialog->m_listSetEquip; }

    // Right-clicks a row of the set-equipment list and picks `command` from the menu; returns the
    // entries of the menu shown, none when no menu came up.
    Menu RightClick(int row, int command = 0) {
        SetEquip().SelectRow(row);
        prompter.menuAnswers = {command};
        const std::size_t shown = prompter.menus.size();
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(-1, -1), QPoint());
        QApplication::sendEvent(SetEquip().viewport(), &event);
        return prompter.menus.size() > shown ? prompter.menus.back() : Menu{};
    }
    static Names MaterialsOf(const CEquipInfoDlg& info) {
        const auto& list = *info.Control<ui::CReportList>(res::equip_info::kIdMaterials);
        Names rows;
        for (int row = 0; row < list.GetItemCount(); ++row) {
            rows.push_back(Row(list, row));
        }
        return rows;
    }
    // Runs `open` and reports the materials of the dialog it showed modally, if any.
    std::optional<Names> ShownMaterials(const std::function<void()>& open) {
        std::optional<Names> shown;
        WorkModal<CEquipInfoDlg>(open,
                                 [&shown](CEquipInfoDlg& info) { shown = MaterialsOf(info); });
        return shown;
    }
};

TEST_F(TempListsTest, MenuOfAnArmourRowGraysWhatItCannotShow) {
    ChooseSkills({"攻撃力UP【小】"});
    PressSearch();
    ASSERT_GT(SetEquip().GetItemCount(), kSlotCount);
    for (int row = 0; row < kSlotCount; ++row) {
        const auto* piece = reinterpret_cast<const CEquipData*>(SetEquip().GetItemData(row));
        const Menu menu = RightClick(row);
        ASSERT_EQ(menu.size(), 5U) << row;
        const int ids[] = {res::kCmdAppendExcluded, res::kCmdAddTempExcluded, res::kCmdAddTempFixed,
                           res::kCmdShowTempLists, res::kCmdShowMaterials};
        for (std::size_t k = 0; k < menu.size(); ++k) {
            EXPECT_EQ(menu[k].id, ids[k]);
            EXPECT_EQ(menu[k].enabled, k < 3 || (k == 4 && piece->materialCount[0] != 0))
                << row << " " << k;
        }
    }
    EXPECT_TRUE(RightClick(kSlotCount).empty()) << "the weapon row has no menu";

    RightClick(kLeg, res::kCmdAddTempExcluded);
    EXPECT_EQ(SetEquip().m_tempExcluded[kLeg].size(), 1U);
    EXPECT_TRUE(RightClick(kArm)[3].enabled);
    RightClick(kArm, res::kCmdAppendExcluded);
    RightClick(kArm, res::kCmdAppendExcluded);
    EXPECT_EQ(folder.Read("Exclude.dat").size(), 112U) << "a piece goes into Exclude.dat once";

    // The leg's second material has no amount: the list ends before it.
    EXPECT_EQ(ShownMaterials([this] { RightClick(kLeg, res::kCmdShowMaterials); }),
              (Names{"竜骨|2"}));
    SetEquip().SelectRow(kArm);
    EXPECT_EQ(ShownMaterials([this] { dialog->OnDblclkSetEquip(); }), std::nullopt);
}

// A temporary fixed piece replaces the whole saved fixed set for the next search; the line that
// announces the temporary lists says so while the saved set is in use.
TEST_F(TempListsTest, ATemporaryFixedPieceSaysItTakesTheSavedFixedSetsPlace) {
    CSimulatorDlg& d = *dialog;
    CEquipData* savedHead = Piece(kHead, "メンズヘルム");
    FixedRows saved;
    SetFixedPiece(saved.rows[kHead], savedHead);
    ASSERT_TRUE(SaveFixedSet(saved, folder.File("Fixed.dat"), d.m_sink));
    d.Click(res::kIdUseFixed);
    ChooseSkills({"攻撃力UP【小】"});
    PressSearch();
    ASSERT_EQ(d.m_condition.fixed.pieces[kHead], savedHead);

    RightClick(kWaist, res::kCmdAddTempFixed);
    const std::string line = "次の検索に使う一時リスト: 除外 0件 / 固定 1件";
    EXPECT_EQ(Text(res::kIdTempListStatus), line + " (保存した固定装備より優先)");
    d.Click(res::kIdUseFixed);
    EXPECT_EQ(Text(res::kIdTempListStatus), line);
}

TEST_F(TempListsTest, MaterialsKeepTheTableOrder) {
    CEquipInfoDlg info(prompter);
    info.m_pEquip = Piece(kBody, "ボーンメイル");
    info.InitDialog();
    EXPECT_EQ(info.GetText(res::equip_info::kIdName), "ボーンメイル");
    EXPECT_EQ(MaterialsOf(info), (Names{"竜骨|1", "鉄鉱石|2", "紅玉|3"}));
}

TEST_F(TempListsTest, TempListsHoldEachPieceOnceAndTheViewerEditsThemInPlace) {
    CEquipData* helm = Piece(kHead, "ハンターヘルム");
    CEquipData* cap = Piece(kHead, "ガンナーキャップ");
    for (CEquipData* piece : {helm, helm, cap}) {
        SetEquip().AddTempExcluded(*piece);
        SetEquip().AddTempFixed(*piece);
    }
    EXPECT_EQ(SetEquip().m_tempExcluded[kHead], (std::vector<CEquipData*>{helm, cap}));
    EXPECT_EQ(SetEquip().m_tempFixed.pieces[kHead], cap);

    using namespace res::temp_list;
    CViewTempList viewer(SetEquip().m_tempFixed, SetEquip().m_tempExcluded, prompter);
    viewer.InitDialog();
    auto& fixed = *viewer.Control<ui::CReportList>(kIdFixed);
    auto& excluded = *viewer.Control<ui::CReportList>(kIdExcluded);
    EXPECT_EQ(viewer.GetText(kIdExcludedCount), "一時除外装備 2件");
    EXPECT_EQ(Column(fixed, 2), (Names{"ガンナーキャップ", "", "", "", ""}));
    EXPECT_EQ(Cell(fixed, 0, 4), "○○－");
    EXPECT_EQ(Column(excluded, 2), (Names{"ハンターヘルム", "ガンナーキャップ"}));

    fixed.SelectRow(1);
    Q_EMIT fixed.itemDoubleClicked(1, Qt::NoModifier);
    EXPECT_EQ(Column(fixed, 2), (Names{"ガンナーキャップ", "", "", "", ""}));
    fixed.SelectRow(0);
    Q_EMIT fixed.itemDoubleClicked(0, Qt::NoModifier);
    EXPECT_EQ(Cell(fixed, 0, 2), "");
    EXPECT_TRUE(SetEquip().m_tempFixed.IsEmpty());

    excluded.SelectRow(0);
    Q_EMIT excluded.itemDoubleClicked(0, Qt::NoModifier);
    EXPECT_EQ(viewer.GetText(kIdExcludedCount), "一時除外装備 1件");
    EXPECT_EQ(SetEquip().m_tempExcluded[kHead], (std::vector<CEquipData*>{cap}));
    viewer.Click(kIdClearExcluded);
    EXPECT_TRUE(SetEquip().TempListsEmpty());
    EXPECT_EQ(viewer.GetText(kIdExcludedCount), "一時除外装備 0件");
}

} // namespace
