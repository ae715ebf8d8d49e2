#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QScrollBar>
#include <gtest/gtest.h>

#include "engine/tables/skill_systems.h"
#include "engine/tables/table_parsers.h"
#include "platform/sjis.h"
#include "res/menus.h"
#include "ui/framework/scripted_prompter.h"
#include "ui/list_ctrl_category.h"
#include "ui/list_ctrl_equip.h"
#include "ui/list_ctrl_result.h"

namespace {

// Counts the pixels of one colour in a column of the list's picture, between two rows.
int PixelsOfColour(const QImage& image, int x, int top, int bottom, QColor colour) {
    int count = 0;
    for (int y = top; y <= bottom; ++y) {
        count += image.pixelColor(x, y) == colour;
    }
    return count;
}

// Dotted column separators: green on the rows of activated plus skills, grey on the others.
TEST(ListCtrlCategoryTest, SeparatorsAreGreenOnlyForActivatedPlusRows) {
    CListCtrlCategory list;
    list.resize(300, 120);
    for (int column = 0; column < 3; ++column) {
        list.InsertColumn(column, "", 60);
    }
    for (std::uintptr_t colour : {CListCtrlCategory::kActiveColor, std::uintptr_t{192}}) {
        list.SetItemData(list.InsertItem(list.GetItemCount(), "x"), colour);
    }
    list.show();
    QApplication::processEvents();
    const QImage image = list.viewport()->grab().toImage();
    std::string seen;
    for (int row = 0; row < 2; ++row) {
        const QRect cell = list.SubItemRect(row, 1);
        for (QColor colour : {QColor(0, 255, 0), QColor(160, 160, 160)}) {
            const bool drawn =
                PixelsOfColour(image, cell.left(), cell.top(), cell.bottom(), colour);
            seen += drawn ? '+' : '-';
        }
    }
    EXPECT_EQ(seen, "+--+");
}

class ListCtrlEquipTest : public testing::Test {
protected:
    ListCtrlEquipTest() {
        ParseArmorLine(
            platform::Utf8ToSjis("ヘルム,0,0,3,0,8,20,0,0,0,0,-3,防御,4,攻撃,-2,").c_str(), helm,
            systems);
        helm.kind = kHead;
        ParseArmorLine(
            platform::Utf8ToSjis("ベルト,0,0,5,2,0,0,0,0,0,0,0,胴系倍加,0,耐震,-1,").c_str(), belt,
            systems);
        belt.kind = kWaist;
        ParseDecoLine(platform::Utf8ToSjis("Gem,4,1,攻撃,1,,,下").c_str(), jewel, systems);
        list.SetSkillSystems(systems);
        for (int column = 0; column < CListCtrlEquip::kColumnCount; ++column) {
            list.InsertColumn(column, "", 40);
        }
        list.m_nColumns = CListCtrlEquip::kColumnCount;
        list.SetRowCount(3);
        list.SetRow(0, true, &helm);
        list.SetRow(1, false, &jewel);
        list.SetRow(2, true, &belt);
    }
    std::string Text(int row, int column) const {
        return platform::SjisToUtf8(list.GetItemText(row, column));
    }
    // The texts of a row, '|' between the cells.
    std::string Texts(int row) const {
        std::string texts = Text(row, 0);
        for (int column = 1; column < CListCtrlEquip::kColumnCount; ++column) {
            texts += "|" + Text(row, column);
        }
        return texts;
    }
    std::vector<const void*> Order() const {
        std::vector<const void*> order;
        for (int row = 0; row < list.RowCount(); ++row) {
            order.push_back(list.Row(row)->pRecord);
        }
        return order;
    }
    // Sorts ascending whatever the shared direction flag says at the moment.
    void SortAscending(int column) {
        if (!CListCtrlEquip::NextSortAscending()) {
            list.SortByColumn(column);
        }
        list.SortByColumn(column);
    }

    CSkillSystems systems;
    CEquipData helm;
    CEquipData belt;
    CDecoData jewel;
    CListCtrlEquip list;
};

TEST_F(ListCtrlEquipTest, ArmourAndDecorationCellTexts) {
    EXPECT_EQ(Texts(0), "頭|3|ヘルム|20|－－－|防御|4|攻撃|-2|||||||0|0|0|0|-3");
    EXPECT_EQ(Texts(1), "装|4|Gem||◆－－|攻撃|1|||||||||||||");
    EXPECT_EQ(Texts(2), "腰|5|ベルト|0|○○－|胴系倍加||耐震|-1|||||||0|0|0|0|0")
        << "every point shown has its system's name";
    helm.useBeforeData = 1;
    helm.kind = 9;
    EXPECT_EQ(Text(0, 0) + Text(0, 3), "不明8");
}

TEST_F(ListCtrlEquipTest, SortDirectionIsSharedAndFlipsWhateverTheColumn) {
    SortAscending(4);
    // A decoration's negated size puts it before a piece without slots.
    EXPECT_EQ(Order(), (std::vector<const void*>{&jewel, &helm, &belt}));
    list.SortByColumn(1); // the next sort runs the other way
    EXPECT_EQ(Order(), (std::vector<const void*>{&belt, &jewel, &helm}));
    CListCtrlEquip other;
    EXPECT_TRUE(CListCtrlEquip::NextSortAscending()) << "shared by every list";
    SortAscending(2);
    const std::vector<const void*> byName = Order();
    // Name bytes compare unsigned: an ASCII name comes before a double-byte one.
    EXPECT_EQ(byName, (std::vector<const void*>{&jewel, &helm, &belt}));
}

TEST_F(ListCtrlEquipTest, GridFollowsHorizontalScrolling) {
    list.resize(300, 150);
    list.show();
    QApplication::processEvents();
    const QColor grid(160, 160, 160);
    auto lineAt = [&](int x) {
        const QImage image = list.viewport()->grab().toImage();
        const int bottom = image.height() - 1;
        return x >= 0 && x < image.width() &&
               PixelsOfColour(image, x, 0, bottom, grid) > bottom / 2;
    };
    EXPECT_TRUE(lineAt(39));
    EXPECT_TRUE(lineAt(79));
    list.horizontalScrollBar()->setValue(15);
    QApplication::processEvents();
    EXPECT_TRUE(lineAt(24));
    EXPECT_FALSE(lineAt(39));
}

TEST(ResultStatisticsTest, SkillStatisticsCountActivatedRowsByTheSignOfTheirTotal) {
    SkillRowTable rows;
    const std::pair<int, int> entries[] = {{-1, -3}, {2, 12}, {4, -10}, {5, 0}, {-1, -1}};
    for (std::size_t i = 0; i < std::size(entries); ++i) {
        rows[i].skillIndex = entries[i].first;
        rows[i].total = entries[i].second;
    }
    const SkillStatistics stats = CountSkillStatistics(rows, 5);
    EXPECT_EQ(stats.active, 1);
    EXPECT_EQ(stats.activeMinus, 1);
    EXPECT_EQ(stats.maxInactive, 0) << "negative inactive totals leave the maximum at 0";
    EXPECT_EQ(stats.inactive, 3) << "an activated row with total 0 counts as inactive";
}

class ListCtrlResultTest : public testing::Test {
protected:
    ListCtrlResultTest() {
        list.SetPrompter(&prompter);
        list.SetSingleSelection(true);
        for (int column = 0; column < 9; ++column) {
            list.InsertColumn(column, "", 30);
        }
        list.resize(300, 200);
    }
    void Fill() {
        const int active[3] = {1, 3, 2};
        list.SetRowCount(3);
        for (int i = 0; i < 3; ++i) {
            sets[i].number = i + 1;
            list.SetRow(i, &sets[i], 0, 0, active[i], 0, 0, 0);
        }
    }
    std::string Numbers() const {
        std::string numbers;
        for (int row = 0; row < list.GetItemCount(); ++row) {
            numbers += list.GetItemText(row, 0);
        }
        return numbers;
    }
    // A right click on the viewport at the top of `row` (or below the rows for -1).
    void RightClick(int row) {
        const QPoint at = row < 0 ? QPoint(5, 190) : list.SubItemRect(row, 0).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, list.viewport()->mapToGlobal(at));
        QApplication::sendEvent(list.viewport(), &event);
    }

    ui::ScriptedPrompter prompter;
    CListCtrlResult list;
    CEquipSet sets[3];
};

TEST_F(ListCtrlResultTest, HeaderSortsFlipTheSharedDirectionAndKeepTheSelectedSet) {
    Fill();
    if (!CListCtrlResult::HeaderSortAscending()) {
        list.SortByColumn(0);
    }
    list.SelectRow(1);
    list.SortByColumn(0);
    EXPECT_EQ(Numbers(), "123");
    list.SortByColumn(0);
    EXPECT_EQ(Numbers(), "321") << "the next click runs the other way";
    EXPECT_EQ(list.SelectedSet(), &sets[1]);
    list.SortByColumn(8);
    list.SelectRow(0);
    list.SortByColumn(0);
    EXPECT_EQ(Numbers(), "321") << "descending again after a click on another column";
    EXPECT_EQ(list.SelectedSet(), &sets[2]);

    list.m_bFilling = 1;
    const bool direction = CListCtrlResult::HeaderSortAscending();
    list.SortByColumn(0);
    EXPECT_EQ(Numbers(), "321");
    EXPECT_EQ(CListCtrlResult::HeaderSortAscending(), direction) << "a refused sort flips nothing";
}

TEST_F(ListCtrlResultTest, MenuSortsPutTheLargestFirstOnAscendingAndNeedRows) {
    RightClick(-1);
    EXPECT_TRUE(prompter.menus.empty()) << "no menu on an empty list";
    Fill();
    prompter.menuAnswers = {res::kCmdSortActiveDesc, res::kCmdSortActiveAsc};
    RightClick(0);
    ASSERT_EQ(prompter.menus.size(), 1U);
    EXPECT_EQ(Numbers(), "231") << "昇順: most activated skills first";
    EXPECT_EQ(list.SelectedSet(), &sets[0]) << "the clicked row's set stays selected";
    RightClick(0);
    EXPECT_EQ(Numbers(), "132");
}

// The header shows the direction of the last header sort, the selected set stays in sight at its
// new place, and the number column is wide enough for the largest number.
TEST_F(ListCtrlResultTest, TheHeaderShowsTheSortAndTheSelectedSetStaysInSight) {
    constexpr int kCount = 10000;
    std::vector<CEquipSet> many(kCount);
    list.SetRowCount(kCount);
    for (int i = 0; i < kCount; ++i) {
        many[static_cast<std::size_t>(i)].number = i + 1;
        list.SetRow(i, &many[static_cast<std::size_t>(i)], 0, 0, 0, 0, 0, 0);
    }
    list.show();
    if (!CListCtrlResult::HeaderSortAscending()) {
        list.SortByColumn(0);
    }
    list.SelectRow(0);
    list.SortByColumn(0);
    list.SortByColumn(0);
    const QHeaderView& header = *list.horizontalHeader();
    EXPECT_TRUE(header.isSortIndicatorShown());
    EXPECT_EQ(header.sortIndicatorSection(), 0);
    EXPECT_EQ(header.sortIndicatorOrder(), Qt::DescendingOrder);
    ASSERT_EQ(list.GetSelectedRow(), kCount - 1);
    const QRect selected = list.SubItemRect(kCount - 1, 0);
    EXPECT_TRUE(list.viewport()->rect().contains(selected.center()));
    EXPECT_TRUE(list.CutCellText(selected.center()).isEmpty()) << "10000 is shown whole";

    list.SortByKey(CListCtrlResult::kKeyActive);
    EXPECT_FALSE(header.isSortIndicatorShown()) << "the menu sorts by what no column shows";
}

// '^' when the dark pixels of the section's sort arrow widen downwards, 'v' when upwards.
char ArrowOf(QHeaderView& header, int section) {
    const QImage image = header.grab().toImage();
    const int left = header.sectionViewportPosition(section);
    std::vector<int> widths;
    for (int y = 0; y < image.height(); ++y) {
        int dark = 0;
        for (int x = left; x < left + header.sectionSize(section); ++x) {
            dark += qGray(image.pixel(x, y)) < 128;
        }
        if (dark > 0) {
            widths.push_back(dark);
        }
    }
    return widths.empty() ? ' ' : widths.front() < widths.back() ? '^' : 'v';
}

TEST_F(ListCtrlResultTest, TheArrowPointsTheWayTheRowsRun) {
    Fill();
    list.show();
    if (!CListCtrlResult::HeaderSortAscending()) {
        list.SortByColumn(1);
    }
    std::string arrows;
    for (int click = 0; click < 2; ++click) {
        list.SortByColumn(1);
        QApplication::processEvents();
        arrows += ArrowOf(*list.horizontalHeader(), 1);
    }
    EXPECT_EQ(arrows, "^v") << "ascending, then descending";
}

TEST_F(ListCtrlResultTest, HomeAndEndGoToTheFirstAndTheLastRow) {
    Fill();
    list.show();
    list.SelectRow(1);
    std::string rows;
    for (Qt::Key key : {Qt::Key_End, Qt::Key_Home}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&list, &press);
        rows += std::to_string(list.GetSelectedRow());
    }
    EXPECT_EQ(rows, "20");
}

} // namespace
