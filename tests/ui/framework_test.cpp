#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

#include "platform/sjis.h"
#include "res/dialog_102.h"
#include "ui/framework/file_filter.h"
#include "ui/framework/qt_prompter.h"
#include "ui/framework/report_list.h"
#include "ui/framework/scripted_prompter.h"
#include "ui/framework/template_dialog.h"
#include "ui/framework/translations.h"
#include "ui/version.h"

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

class ReportListTest : public testing::Test {
protected:
    ReportListTest() {
        list.InsertColumn(0, "名", 50);
        list.InsertColumn(1, "値", 30, CReportList::kRight);
        // Each change as "row:old>new", S selected, C checked, '*' when it newly selects.
        QObject::connect(
            &list, &CReportList::itemChanged, [this](const CReportList::ItemChange& c) {
                changes.push_back(std::to_string(c.row) + ":" + States(c.oldState) + ">" +
                                  States(c.newState) + (c.BecameSelected() ? "*" : ""));
            });
    }
    static std::string States(unsigned state) {
        return std::string(state & CReportList::kSelected ? "S" : "") +
               (state & CReportList::kChecked ? "C" : "");
    }
    CReportList list;
    std::vector<std::string> changes;
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
    EXPECT_EQ(list.GetItemText(0, 1), "");
    // A name from a file shows its control characters and DEL as replacement characters.
    EXPECT_TRUE(list.SetItemText(0, 1, "\x1b[2J\x07\x7f"));
    EXPECT_EQ(list.model()->data(list.model()->index(0, 1)).toString().toStdString(),
              "\uFFFD[2J\uFFFD\uFFFD");
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
    // A tick through the view's check box is the same change.
    list.model()->setData(list.model()->index(0, 0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(changes, (std::vector<std::string>{"0:>S*", "0:S>", "1:>S*", "1:S>SC", "0:>C"}));
    EXPECT_EQ(list.GetSelectedRow(), 1);
    EXPECT_TRUE(list.GetCheck(0));
}

TEST_F(ReportListTest, ACutCellShowsItsWholeTextAsATooltipUntilItsColumnIsFitted) {
    list.resize(300, 120);
    list.show();
    const std::string name = platform::Utf8ToSjis("攻撃珠【１】攻撃珠【２】");
    list.InsertItem(0, name);
    const QPoint cell = list.SubItemRect(0, 0).center();
    EXPECT_EQ(list.CutCellText(cell).toStdString(), "攻撃珠【１】攻撃珠【２】");
    list.FitColumnWidth(0, {name});
    EXPECT_TRUE(list.CutCellText(cell).isEmpty());
    const int fitted = list.GetColumnWidth(0);
    list.FitColumnWidth(0, {"a"});
    EXPECT_EQ(list.GetColumnWidth(0), fitted) << "never narrower";
}

// The window opens at its designed size and no smaller; enlarged, the lists take the room and the
// rows under them move down, while the controls above keep their place.
TEST(TemplateDialogTest, AnEnlargedWindowGivesItsRoomToTheLists) {
    ui::ScriptedPrompter prompter;
    ui::CTemplateDialog dialog{res::kDialog102, prompter};
    EXPECT_EQ(dialog.minimumSize(), dialog.size());
    const auto place = [&dialog](int id) { return dialog.Item(id)->geometry(); };
    const QRect search = place(res::kIdSearch);
    const QRect skills = place(res::kIdSkillList);
    const QRect result = place(res::kIdResult);
    const QRect setSkills = place(res::kIdSetSkills);
    const QRect bar = place(res::kIdProgressBar);
    dialog.show();
    dialog.resize(dialog.size() + QSize(200, 400));
    EXPECT_EQ(place(res::kIdSearch), search);
    EXPECT_EQ(place(res::kIdSkillList), skills.adjusted(0, 0, 0, 400));
    EXPECT_EQ(place(res::kIdResult), result.adjusted(0, 0, 200, 200));
    EXPECT_EQ(place(res::kIdSetSkills), setSkills.adjusted(0, 300, 200, 400));
    EXPECT_EQ(place(res::kIdProgressBar), bar.adjusted(0, 400, 200, 400));
}

// Qt's own texts speak Japanese, and a box with a short text still shows its whole title.
TEST(MessageBoxTest, ButtonsSpeakJapaneseAndTheTitleIsNotCut) {
    ASSERT_TRUE(ui::InstallJapaneseTranslations(*QCoreApplication::instance()));
    QWidget window;
    window.setWindowTitle(QStringLiteral("Kestrova Ver. ") + GetVersionString());
    const auto box = ui::CreateMessageBox(&window, "?", ui::MessageButtons::kOkCancel);
    EXPECT_EQ(box->button(QMessageBox::Cancel)->text().toStdString(), "キャンセル");
    EXPECT_GT(box->sizeHint().width(),
              box->fontMetrics().horizontalAdvance(window.windowTitle()) + 100);
}

} // namespace
