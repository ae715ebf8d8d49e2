#include <QApplication>
#include <QTimer>

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
    // A point of the list's viewport below its last row.
    static QPoint BelowTheRows(const ui::CReportList& list) {
        const int last = list.GetItemCount() - 1;
        const int y = last < 0 ? 2 : list.SubItemRect(last, 0).bottom() + 4;
        EXPECT_LT(y, list.viewport()->height()) << "the list has no room below its rows";
        return QPoint(8, y);
    }
};

// A double click on the empty part of a list must not act on the row that is still selected:
// add a skill again, drop a chosen one, refine by a skill or open a piece's materials.
TEST_F(WindowInputTest, ADoubleClickBelowTheRowsActsOnNothing) {
    DoubleClickSkill(kAttackSmall);
    DoubleClickSkill(kPoison);
    dialog->Click(kIdSearch);
    QApplication::processEvents();
    ASSERT_EQ(dialog->m_listResult.GetItemCount(), 1);

    ui::CReportList& setSkills = dialog->m_listSetSkills;
    ui::CReportList& setEquip = dialog->m_listSetEquip;
    SkillList().SelectRow(2);
    ChosenList().SelectRow(0);
    // A minus skill in the selected row: a double click on that row refines by it.
    setSkills.SelectRow(0);
    setSkills.SetItemText(0, 8, platform::Utf8ToSjis("会心－１"));
    // The selected helm has materials: a double click on its row shows them.
    setEquip.SelectRow(0);
    bool materialsShown = false;
    QTimer::singleShot(0, [&materialsShown] {
        if (auto* modal = qobject_cast<ui::CTemplateDialog*>(QApplication::activeModalWidget())) {
            materialsShown = true;
            modal->EndDialog(ui::kIdOk);
        }
    });
    for (ui::CReportList* list : {&SkillList(), &ChosenList(), &setSkills, &setEquip}) {
        SendDoubleClick(*list->viewport(), BelowTheRows(*list));
    }
    QApplication::processEvents();
    EXPECT_EQ(ChosenSkills(), (std::vector<int>{kAttackSmall, kPoison}));
    EXPECT_FALSE(dialog->IsChecked(kIdRefine));
    EXPECT_FALSE(materialsShown);
    EXPECT_EQ(SkillList().GetSelectedRow(), 2) << "the click left the selection alone";

    SendDoubleClick(*setSkills.viewport(), setSkills.SubItemRect(0, 1).center());
    EXPECT_TRUE(dialog->IsChecked(kIdRefine)) << "on the row itself it acts";
}

// Enter adds the highlighted skill as a double click does, Delete drops the highlighted chosen
// skill, and Tab leaves a list for the next control instead of walking its cells.
TEST_F(WindowInputTest, KeysChooseAndDropSkillsAndTabLeavesTheList) {
    SkillList().SelectRow(1);
    SendKey(SkillList(), Qt::Key_Return);
    SkillList().SelectRow(3);
    SendKey(SkillList(), Qt::Key_Enter);
    const int second = static_cast<int>(SkillList().GetItemData(1));
    const int fourth = static_cast<int>(SkillList().GetItemData(3));
    EXPECT_EQ(ChosenSkills(), (std::vector<int>{second, fourth}));
    EXPECT_TRUE(prompter.messages.empty()) << "Enter did not start a search";

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
