#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <array>
#include <gtest/gtest.h>

#include "platform/sjis.h"
#include "res/dialog_102.h"
#include "res/dialog_129.h"
#include "res/dialog_131.h"
#include "res/menus.h"
#include "ui/framework/file_filter.h"
#include "ui/framework/qt_prompter.h"
#include "ui/framework/report_list.h"
#include "ui/framework/resource_menu.h"
#include "ui/framework/scripted_prompter.h"
#include "ui/framework/template_dialog.h"
#include "ui/framework/translations.h"

namespace {

using ui::CReportList;

TEST(FileFilterTest, BarSeparatedPairsBecomeQtFilters) {
    EXPECT_EQ(ui::ConvertFileFilter(
                  "TEVRA Kestrova検索結果ファイル (*.eql)|*.eql|すべてのファイル (*.*)|*.*||"),
              "TEVRA Kestrova検索結果ファイル (*.eql);;すべてのファイル (*.*)");
    // The applied patterns decide; several are space-separated in Qt's form.
    EXPECT_EQ(ui::ConvertFileFilter("表 (*.txt)|*.csv;*.txt||"), "表 (*.csv *.txt)");
    EXPECT_EQ(ui::ConvertFileFilter("無印|*.eq||"), "無印 (*.eq)");
    EXPECT_EQ(ui::ConvertFileFilter(""), "");
}

TEST(ResourceMenuTest, SortMenuPairsItsCaptionsWithTheRightCommands) {
    ASSERT_TRUE(ui::LoadPopupMenu(res::kMenuResultEquip));
    std::unique_ptr<QMenu> sort = ui::LoadPopupMenu(res::kMenuResultSort);
    ASSERT_TRUE(sort);
    ASSERT_EQ(sort->actions().size(), 4);
    EXPECT_EQ(sort->actions()[1]->text().toStdString(), "発動マイナススキルの数で並び替え(&M)");
    QAction* ascending = ui::FindMenuCommand(*sort, res::kCmdSortActiveMinusAsc);
    ASSERT_TRUE(ascending);
    EXPECT_EQ(ascending->text().toStdString(), "降順(&D)");
    EXPECT_EQ(ui::FindMenuCommand(*sort, 1), nullptr);
    EXPECT_EQ(ui::LoadPopupMenu(1), nullptr);
}

class ReportListTest : public testing::Test {
protected:
    ReportListTest() {
        list.InsertColumn(0, "名", 50);
        list.InsertColumn(1, "値", 30, CReportList::kRight);
        QObject::connect(
            &list, &CReportList::itemChanged,
            [this](const CReportList::ItemChange& change) { changes.push_back(change); });
    }
    CReportList list;
    std::vector<CReportList::ItemChange> changes;
};

TEST_F(ReportListTest, RowsKeepShiftJisTextsDataAndOrder) {
    const std::string name = platform::Utf8ToSjis("胴");
    EXPECT_EQ(list.InsertItem(5, name), 0);
    EXPECT_EQ(list.InsertItem(0, "a"), 0);
    EXPECT_TRUE(list.SetItemText(1, 1, "12"));
    EXPECT_FALSE(list.SetItemText(1, 2, "x"));
    list.SetItemData(1, 42);
    EXPECT_EQ(list.GetItemText(1, 0), name);
    EXPECT_EQ(list.model()->data(list.model()->index(1, 0)).toString().toStdString(), "胴");
    EXPECT_EQ(list.GetItemText(1, 1), "12");
    EXPECT_EQ(list.GetItemText(0, 1), "");
    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_EQ(list.GetItemData(0), 42U);
    EXPECT_FALSE(list.DeleteItem(3));
}

TEST_F(ReportListTest, SelectionAndChecksReportOldAndNewState) {
    list.SetCheckBoxes(true);
    list.SetSingleSelection(true);
    list.InsertItem(0, "a");
    list.InsertItem(1, "b");
    changes.clear();
    list.SelectRow(0);
    list.SelectRow(1);
    list.SetCheck(1, true);
    ASSERT_EQ(changes.size(), 4U);
    EXPECT_TRUE(changes[0].BecameSelected());
    EXPECT_EQ(changes[0].row, 0);
    EXPECT_EQ(changes[1].row, 0);
    EXPECT_EQ(changes[1].oldState, CReportList::kSelected);
    EXPECT_EQ(changes[1].newState, 0U);
    EXPECT_TRUE(changes[2].BecameSelected());
    EXPECT_EQ(changes[2].row, 1);
    EXPECT_EQ(changes[3].oldState, CReportList::kSelected);
    EXPECT_EQ(changes[3].newState, CReportList::kSelected | CReportList::kChecked);
    EXPECT_FALSE(changes[3].BecameSelected());
    EXPECT_EQ(list.GetSelectedRow(), 1);

    // A tick through the view's check box is the same change.
    list.model()->setData(list.model()->index(0, 0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_TRUE(list.GetCheck(0));
    EXPECT_EQ(changes.back().newState, CReportList::kChecked);
}

class OwnerDataList : public CReportList {
protected:
    std::string OwnerDataText(int row, int column) const override {
        return std::to_string(row * 10 + column);
    }
};

TEST_F(ReportListTest, ACutCellShowsItsWholeTextAsATooltipAndColumnsWidenToFit) {
    list.resize(300, 120);
    list.show();
    const std::string longName = platform::Utf8ToSjis("攻撃珠【１】攻撃珠【２】");
    list.InsertItem(0, longName);
    list.InsertItem(1, "a");
    const QPoint cut = list.SubItemRect(0, 0).center();
    EXPECT_EQ(list.CutCellText(cut).toStdString(), "攻撃珠【１】攻撃珠【２】");
    EXPECT_TRUE(list.CutCellText(list.SubItemRect(1, 0).center()).isEmpty());

    list.FitColumnWidth(0, {longName, "a"});
    EXPECT_GT(list.GetColumnWidth(0), 50);
    EXPECT_TRUE(list.CutCellText(list.SubItemRect(0, 0).center()).isEmpty());
    const int fitted = list.GetColumnWidth(0);
    list.FitColumnWidth(0, {"a"});
    EXPECT_EQ(list.GetColumnWidth(0), fitted) << "never narrower";
}

TEST(OwnerDataTest, TextsComeFromTheListClassAndColoursFromTheOwner) {
    OwnerDataList list;
    list.SetOwnerData(true);
    list.InsertColumn(0, "a", 30);
    list.InsertColumn(1, "b", 30);
    list.SetItemCount(3);
    EXPECT_EQ(list.InsertItem(0, "x"), -1);
    EXPECT_EQ(list.GetItemText(2, 1), "21");
    EXPECT_EQ(list.GetItemText(3, 1), "");
    list.SetCustomDraw([](int row, int) {
        return CReportList::CellColors{QColor(), row % 2 ? QColor(208, 208, 208) : QColor()};
    });
    EXPECT_EQ(list.model()->data(list.model()->index(1, 0), Qt::BackgroundRole).value<QColor>(),
              QColor(208, 208, 208));
    EXPECT_FALSE(list.model()->data(list.model()->index(0, 0), Qt::BackgroundRole).isValid());
}

class TemplateDialogTest : public testing::Test {
protected:
    ui::ScriptedPrompter prompter;
    ui::CTemplateDialog dialog{res::kDialog102, prompter};
};

TEST_F(TemplateDialogTest, ControlsFollowTheTemplate) {
    EXPECT_EQ(dialog.GetText(res::kIdProgressText), "10000/100000 (  0%)");
    EXPECT_FALSE(dialog.IsEnabled(res::kIdMinDefenceValue));
    // Dialog units scale with the font: 4 horizontal units are one average character.
    const QRect unit = dialog.MapDialogRect(4, 8, 4, 8);
    EXPECT_EQ(unit.width(), dialog.BaseUnitX());
    EXPECT_EQ(unit.height(), dialog.BaseUnitY());
    EXPECT_EQ(dialog.size(), dialog.MapDialogRect(0, 0, 583, 371).size());
    const QRect search = dialog.Item(res::kIdSearch)->geometry();
    EXPECT_EQ(search, dialog.MapDialogRect(126, 64, 54, 16));
}

// The window opens at its designed size and no smaller; enlarged, the lists take the room and the
// rows under them move down, while the controls above keep their place.
TEST_F(TemplateDialogTest, AnEnlargedWindowGivesItsRoomToTheLists) {
    const QSize designed = dialog.size();
    EXPECT_EQ(dialog.minimumSize(), designed);
    const auto place = [this](int id) { return dialog.Item(id)->geometry(); };
    const QRect search = place(res::kIdSearch);
    const QRect skills = place(res::kIdSkillList);
    const QRect result = place(res::kIdResult);
    const QRect setEquip = place(res::kIdSetEquip);
    const QRect setSkills = place(res::kIdSetSkills);
    const QRect bar = place(res::kIdProgressBar);
    const QRect chosen = place(res::kIdChosenSkills);

    dialog.show();
    dialog.resize(designed + QSize(200, 400));
    EXPECT_EQ(place(res::kIdSearch), search);
    EXPECT_EQ(place(res::kIdSkillList), skills.adjusted(0, 0, 0, 400));
    EXPECT_EQ(place(res::kIdChosenSkills), chosen.translated(0, 400));
    EXPECT_EQ(place(res::kIdResult), result.adjusted(0, 0, 200, 200));
    EXPECT_EQ(place(res::kIdSetEquip), setEquip.adjusted(0, 200, 200, 300));
    EXPECT_EQ(place(res::kIdSetSkills), setSkills.adjusted(0, 300, 200, 400));
    EXPECT_EQ(place(res::kIdProgressBar), bar.adjusted(0, 400, 200, 400));

    // The equipment dialogs grow the same way; the small ones keep their size.
    for (const res::DialogTemplate* form : {&res::kDialog129, &res::kDialog131}) {
        ui::CTemplateDialog equipment(*form, prompter);
        EXPECT_NE(equipment.minimumSize(), equipment.maximumSize());
        const int candidates = form == &res::kDialog129
                                   ? static_cast<int>(res::custom_equip::kIdCandidates)
                                   : static_cast<int>(res::own_equip::kIdCandidates);
        const QRect before = equipment.Item(candidates)->geometry();
        equipment.show();
        equipment.resize(equipment.size() + QSize(100, 100));
        EXPECT_EQ(equipment.Item(candidates)->geometry(), before.adjusted(0, 0, 100, 50));
    }
}

// Qt's own texts speak Japanese, and a box with a short text still shows its whole title.
TEST(MessageBoxTest, ButtonsSpeakJapaneseAndTheTitleIsNotCut) {
    ASSERT_TRUE(ui::InstallJapaneseTranslations(*QCoreApplication::instance()))
        << "Qt's Japanese translations are missing";
    QWidget window;
    window.setWindowTitle(QStringLiteral("Kestrova Ver. 0.44"));
    const std::unique_ptr<QMessageBox> question =
        ui::CreateMessageBox(&window, "OK?", ui::MessageButtons::kYesNoCancel);
    EXPECT_EQ(question->button(QMessageBox::Cancel)->text().toStdString(), "キャンセル");
    EXPECT_EQ(question->windowTitle(), window.windowTitle());
    EXPECT_GT(question->sizeHint().width(),
              question->fontMetrics().horizontalAdvance(window.windowTitle()) + 100);

    const std::unique_ptr<QMessageBox> save =
        ui::CreateMessageBox(&window, "?", ui::MessageButtons::kSaveDiscardCancel);
    EXPECT_EQ(save->button(QMessageBox::Save)->text().toStdString(), "保存");
    EXPECT_EQ(save->button(QMessageBox::Discard)->text().toStdString(), "破棄");
}

TEST_F(TemplateDialogTest, ClickRunsTheHandlerOnlyWhenEnabledAndSetCheckNever) {
    int clicks = 0;
    dialog.OnClicked(res::kIdUseFixed, [&clicks] { ++clicks; });
    dialog.Click(res::kIdUseFixed);
    EXPECT_TRUE(dialog.IsChecked(res::kIdUseFixed));
    dialog.SetCheck(res::kIdUseFixed, false);
    dialog.Enable(res::kIdUseFixed, false);
    dialog.Click(res::kIdUseFixed);
    EXPECT_EQ(clicks, 1);
}

TEST_F(TemplateDialogTest, PostedMessagesReachTheDialogThroughTheEventLoop) {
    struct Probe : ui::CTemplateDialog {
        using ui::CTemplateDialog::CTemplateDialog;
        void OnMessage(unsigned message, std::uint64_t w, std::uint64_t l) override {
            received.push_back({message, w, l});
        }
        std::vector<std::array<std::uint64_t, 3>> received;
    } probe(res::kDialog102, prompter);
    probe.PostMessage(1026, 5ULL << 33, 7);
    EXPECT_TRUE(probe.received.empty()) << "queued, not sent";
    QApplication::processEvents();
    ASSERT_EQ(probe.received.size(), 1U);
    EXPECT_EQ(probe.received[0][1], 5ULL << 33);
}

} // namespace
