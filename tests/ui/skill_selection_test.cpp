#include <QComboBox>
#include <QStyle>
#include <QStyleOptionComboBox>

#include "res/dialog_102.h"
#include "ui_fixture.h"

using namespace res;

namespace {

constexpr int kAll = 0;
constexpr int kRecent = 1;
constexpr int kMinus = 6;

class SkillSelectionTest : public MainWindowTest {
protected:
    void SetUp() override { ASSERT_TRUE(Start()); }
};

TEST_F(SkillSelectionTest, CategoriesFilterByCategoryAndWeaponType) {
    EXPECT_EQ(dialog->Control<QComboBox>(kIdCategory)->currentIndex(), kAll) << "none recent yet";
    const std::vector<int> blade = Indices(SkillList());
    EXPECT_EQ(std::count(blade.begin(), blade.end(), kSniper), 0)
        << "a gunner skill for a blade user";
    EXPECT_EQ(std::count(blade.begin(), blade.end(), kDrawAttack), 1);
    EXPECT_EQ(blade.size(), static_cast<std::size_t>(kTinySkillCount - 1));
    EXPECT_EQ(Cell(SkillList(), 3, 2), "-10");

    dialog->Click(kIdGunner);
    const std::vector<int> gunner = Indices(SkillList());
    EXPECT_EQ(std::count(gunner.begin(), gunner.end(), kSniper), 1);
    EXPECT_EQ(std::count(gunner.begin(), gunner.end(), kDrawAttack), 0);

    SelectCategory(kMinus);
    EXPECT_EQ(Indices(SkillList()), (std::vector<int>{kHealthMinus}));
    SelectCategory(3); // survival
    EXPECT_EQ(Indices(SkillList()), (std::vector<int>{kPoison, kWindPressure}));
}

TEST_F(SkillSelectionTest, RecentListsFollowTheWeaponTypeNewestFirstUnfiltered) {
    for (int skill : std::initializer_list<int>{kAttackSmall, kSniper, kPoison, 500}) {
        dialog->m_config.PushRecentSkill(0, skill); // 500 comes from other tables
    }
    dialog->m_config.PushRecentSkill(1, kLuck);
    SelectCategory(kRecent);
    EXPECT_EQ(Indices(SkillList()), (std::vector<int>{kPoison, kSniper, kAttackSmall}));
    dialog->Click(kIdGunner);
    EXPECT_EQ(Indices(SkillList()), (std::vector<int>{kLuck}));
    dialog->Click(kIdMale);
    EXPECT_EQ(Indices(SkillList()), (std::vector<int>{kLuck})) << "the sex does not refill";
}

TEST_F(SkillSelectionTest, ANewLevelReplacesItsSystemAtTheEndAndMinusLevelsComeTicked) {
    SelectCategory(kAll);
    DoubleClickSkill(kCritical);
    DoubleClickSkill(kHealthMinus);
    EXPECT_FALSE(ChosenList().GetCheck(0));
    EXPECT_TRUE(ChosenList().GetCheck(1));
    DoubleClickSkill(kCriticalMinus);
    EXPECT_EQ(ChosenSkills(), (std::vector<int>{kHealthMinus, kCriticalMinus}));
    EXPECT_TRUE(ChosenList().GetCheck(1));
    EXPECT_EQ(Cell(ChosenList(), 1, 0), "");
    EXPECT_EQ(Cell(ChosenList(), 1, 1), "会心");
    EXPECT_EQ(Cell(ChosenList(), 1, 2), "会心－１");
    EXPECT_EQ(Cell(ChosenList(), 1, 3), "-10");
    DoubleClickSkill(kCriticalMinus);
    EXPECT_EQ(ChosenSkills().size(), 2U) << "already chosen";
}

TEST_F(SkillSelectionTest, FiveRowsAtMostButANewLevelStillReplaces) {
    dialog->SetCheck(kIdExactFitting, false);
    SelectCategory(kAll);
    for (int skill : {kAttackSmall, kCritical, kPoison, kWindPressure, kRecovery}) {
        DoubleClickSkill(skill);
    }
    DoubleClickSkill(kLuck);
    EXPECT_EQ(ChosenSkills(),
              (std::vector<int>{kAttackSmall, kCritical, kPoison, kWindPressure, kRecovery}));
    DoubleClickSkill(kAttackMedium);
    EXPECT_EQ(ChosenSkills(),
              (std::vector<int>{kCritical, kPoison, kWindPressure, kRecovery, kAttackMedium}));
}

// The complete search takes more rows than the rule-based one; turning it off keeps the first
// five and says so.
TEST_F(SkillSelectionTest, TheCompleteSearchTakesMoreRowsAndLeavingItKeepsFive) {
    const std::vector<int> eight = {kAttackSmall,  kCritical,    kPoison,   kDrawAttack,
                                    kWindPressure, kHealthMinus, kRecovery, kLuck};
    SelectCategory(kAll);
    for (int skill : eight) {
        DoubleClickSkill(skill);
    }
    EXPECT_EQ(ChosenSkills(), eight);
    dialog->close();
    ASSERT_TRUE(Start());
    EXPECT_EQ(ChosenSkills(), eight) << "rows past the fifth are remembered";
    dialog->Click(kIdExactFitting);
    EXPECT_EQ(ChosenSkills(), std::vector<int>(eight.begin(), eight.begin() + 5));
    EXPECT_EQ(prompter.messages.size(), 1U);
    DoubleClickSkill(kLuck);
    EXPECT_EQ(ChosenSkills().size(), 5U);
    dialog->Click(kIdExactFitting);
    DoubleClickSkill(kLuck);
    EXPECT_EQ(ChosenSkills().size(), 6U);
    EXPECT_EQ(prompter.messages.size(), 1U) << "turning it on trims nothing";
}

TEST_F(SkillSelectionTest, RepeatedRowsFromConfigDoNotHideAChosenSkill) {
    // Two rows of one system can only come from outside the skill list; a new level of that
    // system must still replace both rather than leave one behind.
    dialog->AppendChosenSkill(kAttackSmall, "", "", "10");
    dialog->AppendChosenSkill(kAttackMedium, "", "", "15");
    SelectCategory(kAll);
    DoubleClickSkill(kAttackMedium);
    EXPECT_EQ(ChosenSkills(), (std::vector<int>{kAttackMedium}));
}

TEST_F(SkillSelectionTest, DoubleClicksAndClearRemoveChosenRows) {
    SelectCategory(kAll);
    for (int skill : {kAttackSmall, kCritical, kPoison}) {
        DoubleClickSkill(skill);
    }
    ChosenList().SelectRow(1);
    dialog->OnDblclkChosenSkills();
    EXPECT_EQ(ChosenSkills(), (std::vector<int>{kAttackSmall, kPoison}));
    ChosenList().ClearSelection();
    dialog->OnDblclkChosenSkills();
    EXPECT_EQ(ChosenSkills().size(), 2U) << "no row selected";
    SkillList().ClearSelection();
    dialog->OnDblclkSkillList();
    EXPECT_EQ(ChosenSkills().size(), 2U);
    dialog->Click(kIdClearSkills);
    EXPECT_TRUE(ChosenSkills().empty());
}

TEST_F(SkillSelectionTest, TheCategoryBoxShowsEveryEntryWhole) {
    const auto* combo = dialog->Control<QComboBox>(kIdCategory);
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.frame = true;
    const int room =
        combo->style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
            .width();
    for (int entry = 0; entry < combo->count(); ++entry) {
        EXPECT_LE(combo->fontMetrics().horizontalAdvance(combo->itemText(entry)), room)
            << combo->itemText(entry).toStdString();
    }
}

} // namespace
