#include "platform/sjis.h"
#include "res/dialog_102.h"
#include "ui_fixture.h"

using namespace res;

namespace {

class WindowInputTest : public MainWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(Start());
        dialog->show();
        SelectCategory(0);
    }
};

// A double click below the rows of a list must not act on the row still selected there: add a
// skill again, drop a chosen one, refine by a skill or show a piece's materials.
TEST_F(WindowInputTest, ADoubleClickBelowTheRowsActsOnNothing) {
    DoubleClickSkill(kAttackSmall);
    DoubleClickSkill(kPoison);
    PressSearch();
    ui::CReportList& setSkills = dialog->m_listSetSkills;
    ui::CReportList& setEquip = dialog->m_listSetEquip;
    SkillList().SelectRow(2);
    ChosenList().SelectRow(0);
    setSkills.SelectRow(0);
    setSkills.SetItemText(0, 8, platform::Utf8ToSjis("会心－１")); // a minus skill refines
    setEquip.SelectRow(0);                                         // the helm has materials
    EXPECT_FALSE(WorkModal<ui::CTemplateDialog>([&] {
        for (ui::CReportList* list : {&SkillList(), &ChosenList(), &setSkills, &setEquip}) {
            const QRect last = list->SubItemRect(list->GetItemCount() - 1, 0);
            SendDoubleClick(*list->viewport(), last.bottomLeft() + QPoint(4, 4));
        }
    })) << "no materials shown";
    EXPECT_EQ(ChosenSkills(), (std::vector<int>{kAttackSmall, kPoison}));
    EXPECT_FALSE(dialog->IsChecked(kIdRefine));

    // On a row itself a double click acts.
    SendDoubleClick(*SkillList().viewport(), SkillList().SubItemRect(2, 1).center());
    EXPECT_EQ(ChosenSkills(), (std::vector<int>{kAttackSmall, kPoison, Indices(SkillList())[2]}));
    SendDoubleClick(*setSkills.viewport(), setSkills.SubItemRect(0, 1).center());
    EXPECT_TRUE(dialog->IsChecked(kIdRefine));
    EXPECT_EQ(ChosenSkills(), (std::vector<int>{kCriticalMinus})) << "a refine that avoids it";
    EXPECT_TRUE(ChosenList().GetCheck(0));
}

// Enter adds the highlighted skill as a double click does, Delete drops the highlighted chosen
// skill, and Tab leaves a list for the next control instead of walking its cells.
TEST_F(WindowInputTest, KeysChooseAndDropSkillsAndTabLeavesTheList) {
    SkillList().SelectRow(1);
    SendKey(SkillList(), Qt::Key_Return);
    SkillList().SelectRow(3);
    SendKey(SkillList(), Qt::Key_Enter);
    const int fourth = static_cast<int>(SkillList().GetItemData(3));
    EXPECT_EQ(ChosenSkills(),
              (std::vector<int>{static_cast<int>(SkillList().GetItemData(1)), fourth}));
    ChosenList().SelectRow(0);
    SendKey(ChosenList(), Qt::Key_Delete);
    EXPECT_EQ(ChosenSkills(), (std::vector<int>{fourth}));

    SkillList().setFocus();
    const QModelIndex current = SkillList().currentIndex();
    SendKey(SkillList(), Qt::Key_Tab);
    EXPECT_NE(dialog->focusWidget(), &SkillList());
    EXPECT_EQ(SkillList().currentIndex(), current);
}

} // namespace
