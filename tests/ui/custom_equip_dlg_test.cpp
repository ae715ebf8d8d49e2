#include <QComboBox>
#include <filesystem>

#include "res/dialog_129.h"
#include "ui/custom_equip_dlg.h"
#include "ui_fixture.h"

using namespace res::custom_equip;

namespace {

class CustomEquipDlgTest : public EquipWindowTest {
protected:
    void SetUp() override {
        EquipWindowTest::SetUp();
        dlg().Open();
        dlg().Click(kIdBothSexes);
        dlg().Click(kIdBothWeapons);
    }
    CCustomEquipDlg& dlg() const { return dialog->m_dlgCustomEquip; }

    void Pick(int comboId, int index) const {
        auto* box = dlg().Control<QComboBox>(comboId);
        box->setCurrentIndex(index);
        Q_EMIT box->activated(index);
    }
    void Candidate(const std::string& name) const { SelectByName(dlg().m_listCandidates, name); }
    void Fix(const std::string& name) const {
        Candidate(name);
        dlg().OnDblclkCandidates(true);
    }
    void Attach(int row, const std::string& deco) const {
        dlg().m_listFixed.SelectRow(row);
        Candidate(deco);
        dlg().Click(kIdAttach);
    }
};

TEST_F(CustomEquipDlgTest, CandidatesFollowTheFiltersAndTheCategoryEnablesItsControls) {
    // `enabled`: "固定装備に追加", the three tier boxes, the rarity box; + on, - off.
    const struct {
        int category, sex, job, rarityItem, tierOff;
        const char* name;
        const char* skill;
        const char* listed;
        const char* enabled;
    } cases[] = {
        {kIdHead, kIdBothSexes, kIdBothWeapons, 0, 0, "", "すべて",
         "ハンターヘルム,ガンナーキャップ,レディヘルム,メンズヘルム", "+---+"},
        {kIdHead, kIdFemale, kIdGunner, 0, 0, "", "すべて", "ハンターヘルム,ガンナーキャップ",
         "+---+"},
        {kIdArm, kIdBothSexes, kIdBothWeapons, 0, 0, "", "すべて", "ハンターアーム", "+---+"},
        {kIdDecos, kIdBothSexes, kIdBothWeapons, 0, kIdHighTier, "", "すべて",
         "攻撃珠【１】,耐毒珠【１】", "-+++-"},
        {kIdAllKinds, kIdBothSexes, kIdBothWeapons, 3, 0, "", "すべて",
         "ガンナーキャップ,ボーンメイル,攻撃珠【１】,耐毒珠【１】,攻撃珠【２】", "+++++"},
        // A selected decoration takes "固定装備に追加" away whatever the category.
        {kIdAllKinds, kIdBothSexes, kIdBothWeapons, 0, 0, "攻撃", "すべて",
         "攻撃珠【１】,攻撃珠【２】", "-++++"},
        {kIdAllKinds, kIdBothSexes, kIdBothWeapons, 0, 0, "", "耐毒",
         "レディヘルム,ハンターメイル,ハンターグリーヴ,耐毒珠【１】", "+++++"},
        {kIdAllKinds, kIdBothSexes, kIdBothWeapons, 0, 0, "", "胴系倍加", "倍加フォールド",
         "+++++"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.category << " " << c.name << " " << c.skill);
        dlg().Open();
        for (int id : {c.sex, c.job, c.category}) {
            dlg().Click(id);
        }
        if (c.tierOff != 0) {
            dlg().Click(c.tierOff);
        }
        Pick(kIdRarity, c.rarityItem);
        dlg().SetText(kIdNameFilter, c.name);
        Pick(kIdSkill, dlg().Control<QComboBox>(kIdSkill)->findText(QString::fromUtf8(c.skill)));

        std::string listed;
        for (const std::string& name : Column(dlg().m_listCandidates, 2)) {
            listed += (listed.empty() ? "" : ",") + name;
        }
        EXPECT_EQ(listed, c.listed);
        EXPECT_EQ(Enabled(dlg(), {kIdAddFixed, kIdLowTier, kIdHighTier, kIdGTier, kIdRarity}),
                  c.enabled);
    }
}

TEST_F(CustomEquipDlgTest, ExcludedListHoldsEveryRecordOnce) {
    const ui::CReportList& excluded = dlg().ExcludedList();
    Candidate("ハンターヘルム");
    dlg().Click(kIdAddExcluded);
    dlg().Click(kIdAddExcluded);
    EXPECT_EQ(dlg().GetText(kIdExcludedCount), "除外装備 1件");
    Candidate("攻撃珠【２】");
    dlg().OnDblclkCandidates(false);
    EXPECT_EQ(Column(excluded, 2), (Names{"ハンターヘルム", "攻撃珠【２】"}));
    EXPECT_EQ(Column(excluded, 4), (Names{"○－－", "◆◆－"}));

    dlg().Click(kIdExcludeAll);
    const int all = dlg().m_listCandidates.RowCount();
    EXPECT_EQ(excluded.GetItemCount(), all);
    EXPECT_EQ(Cell(excluded, 1, 2), "攻撃珠【２】") << "listed records keep their place";
    EXPECT_EQ(dlg().GetText(kIdExcludedCount), "除外装備 " + std::to_string(all) + "件");

    dlg().ExcludedList().SelectRow(0);
    dlg().OnDblclkExcluded();
    EXPECT_EQ(Cell(excluded, 0, 2), "攻撃珠【２】");
    dlg().Click(kIdClearExcluded);
    EXPECT_EQ(dlg().GetText(kIdExcludedCount), "除外装備 0件");
}

TEST_F(CustomEquipDlgTest, DecorationsFitTheRowAndAReplacedPieceDropsThem) {
    Fix("ハンターメイル");
    Attach(1, "攻撃珠【１】");
    EXPECT_EQ(Row(dlg().m_listFixed, 1), "胴|1|ハンターメイル|10|◆－－|攻撃珠【１】||");
    Fix("ボーンメイル");
    EXPECT_EQ(Row(dlg().m_listFixed, 1), "胴|2|ボーンメイル|12|○○－|||");

    Attach(1, "攻撃珠【２】");
    EXPECT_FALSE(dlg().IsEnabled(kIdAddFixed));
    Attach(1, "攻撃珠【１】");
    EXPECT_EQ(prompter.messages, (Names{"空きスロットが足りません"}));
    EXPECT_EQ(Row(dlg().m_listFixed, 1), "胴|2|ボーンメイル|12|◆◆－|攻撃珠【２】||");

    // A row without a piece takes no decoration, and says nothing about it.
    Attach(0, "攻撃珠【１】");
    EXPECT_FALSE(dlg().IsEnabled(kIdAttach));
    EXPECT_EQ(prompter.messages.size(), 1U);

    // The first double click takes the decorations, the second the piece.
    dlg().m_listFixed.SelectRow(1);
    dlg().OnDblclkFixed();
    EXPECT_EQ(Row(dlg().m_listFixed, 1), "胴|2|ボーンメイル|12|○○－|||");
    dlg().OnDblclkFixed();
    EXPECT_EQ(Row(dlg().m_listFixed, 1), "胴||||－－－|||");
    EXPECT_EQ(dlg().m_listTotals.GetItemCount(), 0);
}

TEST_F(CustomEquipDlgTest, WeaponSlotChangeDropsTheWeaponDecorations) {
    Pick(kIdWeaponSlots, 3);
    for (int k = 0; k < 3; ++k) {
        Attach(kWeaponPosition, "攻撃珠【１】");
    }
    EXPECT_EQ(Column(dlg().m_listTotals, 1), (Names{"+3", "-3"}));
    Pick(kIdWeaponSlots, 3);
    EXPECT_EQ(Row(dlg().m_listFixed, kWeaponPosition),
              "武||||◆◆◆|攻撃珠【１】|攻撃珠【１】|攻撃珠【１】")
        << "picking the same count is no change";

    Pick(kIdWeaponSlots, 1);
    EXPECT_EQ(Row(dlg().m_listFixed, kWeaponPosition), "武||||○－－|||");
    EXPECT_EQ(dlg().m_listTotals.GetItemCount(), 0);

    // Clearing the fixed set keeps the weapon's slot count.
    Fix("ハンターヘルム");
    dlg().Click(kIdClearFixed);
    EXPECT_EQ(Row(dlg().m_listFixed, kHead), "頭||||－－－|||");
    EXPECT_EQ(Row(dlg().m_listFixed, kWeaponPosition), "武||||○－－|||");
}

TEST_F(CustomEquipDlgTest, BodyDoublingMarksTheWaistAndTintsTheBodyColumn) {
    for (const char* name :
         {"ハンターヘルム", "ハンターメイル", "ハンターアーム", "倍加フォールド"}) {
        Fix(name);
    }
    const CListCtrlCategory& totals = dlg().m_listTotals;
    const int last = totals.GetItemCount() - 1;
    ASSERT_GT(last, 0);
    // 攻撃 3 + 3 + 2, the body's 3 counted twice: 11 activates 攻撃力UP【小】.
    EXPECT_EQ(Row(totals, 0), "攻撃||+3|+6|+2|||11|攻撃力UP【小】");
    EXPECT_EQ(dlg().OnCustomdrawTotals(0, 0).text, QColor(0, 192, 0));
    EXPECT_FALSE(dlg().OnCustomdrawTotals(1, 0).text.isValid()) << "耐毒 4 activates nothing";
    EXPECT_EQ(Row(totals, last), "胴系倍加|||||E|||");
    for (int row = 0; row <= last; ++row) {
        EXPECT_EQ(dlg().OnCustomdrawTotals(row, 3).background,
                  row == last ? QColor(Qt::white) : QColor(192, 255, 255));
        EXPECT_EQ(dlg().OnCustomdrawTotals(row, 2).background, QColor(Qt::white));
    }

    dlg().m_listFixed.SelectRow(kBody);
    dlg().OnDblclkFixed();
    EXPECT_EQ(dlg().OnCustomdrawTotals(0, 3).background, QColor(Qt::white));
}

TEST_F(CustomEquipDlgTest, OnlyOkWritesTheFilesAndEveryOpeningShowsThem) {
    Fix("メンズヘルム");
    Candidate("攻撃珠【１】");
    dlg().Click(kIdAddExcluded);
    dlg().Click(kIdOk);
    const std::string fixed = folder.Read("Fixed.dat");
    const std::string excluded = folder.Read("Exclude.dat");
    ASSERT_EQ(fixed.size(), 608U);
    ASSERT_EQ(excluded.size(), 112U);

    dlg().Open();
    EXPECT_EQ(Cell(dlg().m_listFixed, kHead, 2), "メンズヘルム");
    EXPECT_EQ(Column(dlg().ExcludedList(), 2), (Names{"攻撃珠【１】"}));
    dlg().Click(kIdClearFixed);
    dlg().Click(kIdClearExcluded);
    dlg().Click(kIdMale);
    // Cancelling edits asks first, as the owned-equipment dialog does: キャンセル keeps editing,
    // 破棄 throws the edits away.
    prompter.messageAnswers = {ui::kIdCancel, ui::kIdNo};
    dlg().Click(kIdCancel);
    EXPECT_EQ(dlg().EndCode(), ui::kIdOk) << "still the code of the earlier OK: nothing ended";
    dlg().Click(kIdCancel);
    EXPECT_EQ(prompter.messages, (Names(2, "固定装備・除外装備の変更を保存しますか？")));
    EXPECT_EQ(dlg().EndCode(), ui::kIdCancel);
    EXPECT_EQ(dialog->m_config.m_nCustomSex, 1) << "cancelling keeps the radios; OK stored 2";
    EXPECT_EQ(folder.Read("Fixed.dat"), fixed);
    EXPECT_EQ(folder.Read("Exclude.dat"), excluded);

    // Nothing of an earlier opening outlives the files.
    dlg().Open();
    std::filesystem::remove(folder.File("Fixed.dat"));
    dlg().Open();
    EXPECT_EQ(Row(dlg().m_listFixed, kHead), "頭||||－－－|||");
    EXPECT_EQ(dlg().m_listTotals.GetItemCount(), 0);
}

TEST_F(CustomEquipDlgTest, EveryHeaderClickFlipsTheExcludedSortDirection) {
    const Names added = {"ボーンメイル", "ハンターヘルム", "攻撃珠【１】"};
    for (const std::string& name : added) {
        Candidate(name);
        dlg().Click(kIdAddExcluded);
    }
    // The direction is shared with every earlier showing of the dialog.
    if (!CCustomEquipDlg::ExcludedSortAscending()) {
        Q_EMIT dlg().m_listTotals.headerClicked(0);
    }
    const Names ascending = {"ハンターヘルム", "ボーンメイル", "攻撃珠【１】"};
    const Names descending(ascending.rbegin(), ascending.rend());
    ui::CReportList& excluded = dlg().ExcludedList();

    Q_EMIT excluded.headerClicked(2);
    EXPECT_EQ(Column(excluded, 2), ascending);
    Q_EMIT excluded.headerClicked(2);
    EXPECT_EQ(Column(excluded, 2), descending);
    Q_EMIT dlg().m_listFixed.headerClicked(1);
    Q_EMIT excluded.headerClicked(2);
    EXPECT_EQ(Column(excluded, 2), descending);
    Q_EMIT dlg().m_listCandidates.headerClicked(0);
    Q_EMIT excluded.headerClicked(0);
    EXPECT_EQ(Column(excluded, 0), (Names{"装", "胴", "頭"})) << "kinds sort in slot order";
}

// A Ctrl+double click on the candidate that is already selected keeps it selected and fixes it;
// the fixed row it went into becomes the selected row, so that "装着" acts on that row.
TEST_F(CustomEquipDlgTest, CtrlDoubleClickOnTheSelectedCandidateFixesItAndSelectsItsRow) {
    dlg().show();
    dlg().m_listFixed.SelectRow(kWeaponPosition);
    Candidate("ハンターメイル");
    CListCtrlEquip& candidates = dlg().m_listCandidates;
    const int row = candidates.GetSelectedRow();
    candidates.scrollTo(candidates.model()->index(row, 0));
    SendDoubleClick(*candidates.viewport(), candidates.SubItemRect(row, 2).center(),
                    Qt::ControlModifier);
    EXPECT_EQ(candidates.GetSelectedRow(), row);
    EXPECT_EQ(Cell(dlg().m_listFixed, kBody, 2), "ハンターメイル");
    EXPECT_EQ(dlg().m_listFixed.GetSelectedRow(), kBody);

    Candidate("攻撃珠【１】");
    dlg().Click(kIdAttach);
    EXPECT_EQ(Cell(dlg().m_listFixed, kBody, 5), "攻撃珠【１】");
    EXPECT_TRUE(prompter.messages.empty());
}

} // namespace
