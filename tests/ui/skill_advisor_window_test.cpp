#include <functional>

#include "res/dialog_102.h"
#include "res/dialog_141.h"
#include "ui/extra_skills_dlg.h"
#include "ui_fixture.h"

using namespace res;

namespace {

class SkillAdvisorWindowTest : public MainWindowTest {
protected:
    // Presses "追加スキル検索" and works the additional-skill list if it opens.
    bool PressExtraSkills(const std::function<void(CExtraSkillsDlg&)>& work) {
        return WorkModal<CExtraSkillsDlg>([this] { dialog->Click(kIdExtraSkills); }, work);
    }
};

// The button runs like a search, locking the search button and aborting on a second press; a full
// run lists the levels by category, and a double click chooses one. The listed results keep their
// counters.
TEST_F(SkillAdvisorWindowTest, TheButtonRunsAbortsListsAndChooses) {
    folder.UseBundledTables();
    ASSERT_TRUE(Start());
    CSimulatorDlg& d = *dialog;
    ChooseSkills({"先読み", "剛腕"});
    PressSearch();
    const std::uint64_t visited = d.m_search.visited;
    const std::size_t listed = d.m_search.results.size();
    ASSERT_GT(listed, 0U);
    EXPECT_TRUE(d.IsEnabled(kIdExtraSkills));

    std::vector<std::string> seen;
    Hooked().onPump = [&seen](HookedDialog& h) {
        h.TickTimer();
        seen.push_back(Enabled(h, {kIdSearch, kIdExtraSkills, kIdLoad}) +
                       h.GetText(kIdExtraSkills));
        h.Click(kIdExtraSkills);
    };
    EXPECT_FALSE(PressExtraSkills([](CExtraSkillsDlg&) {})) << "an aborted run lists nothing";
    EXPECT_EQ(seen, (std::vector<std::string>{"-+-中断"}))
        << "the abort is answered at the next pump";
    EXPECT_EQ(Text(kIdElapsed), "中断されました");
    EXPECT_EQ(Text(kIdExtraSkills), "追加スキル検索");
    EXPECT_TRUE(d.IsEnabled(kIdSearch));

    Hooked().onPump = nullptr;
    const auto& skills = d.m_search.database.Skills();
    std::vector<int> shown;
    EXPECT_TRUE(PressExtraSkills([&](CExtraSkillsDlg& list) {
        auto& rows = *list.Control<ui::CReportList>(extra_skills::kIdSkills);
        for (int row = 0; row < rows.GetItemCount(); ++row) {
            shown.push_back(static_cast<int>(rows.GetItemData(row)));
        }
        ASSERT_FALSE(shown.empty());
        SendDoubleClick(*rows.viewport(), rows.SubItemRect(0, 1).center());
        SendDoubleClick(*rows.viewport(), rows.SubItemRect(0, 1).center());
    }));
    for (std::size_t k = 1; k < shown.size(); ++k) {
        EXPECT_LE(skills[shown[k - 1]]->category, skills[shown[k]]->category);
    }
    EXPECT_EQ(ChosenSkills(),
              (std::vector<int>{SkillIndex("先読み"), SkillIndex("剛腕"), shown[0]}));
    EXPECT_EQ(Text(kIdElapsed), "終了");
    EXPECT_NE(Text(kIdProgressText).find("(100%)"), std::string::npos);
    EXPECT_EQ(d.m_search.visited, visited);
    EXPECT_EQ(d.m_search.results.size(), listed);
}

// The selected set tells which levels its free slots could still add; without a set, nothing.
TEST_F(SkillAdvisorWindowTest, TheSetLineNamesWhatTheFreeSlotsCouldAdd) {
    ASSERT_TRUE(Start());
    CSimulatorDlg& d = *dialog;
    ChooseSkills({"攻撃力UP【小】"});
    PressSearch();
    ASSERT_EQ(d.m_search.results.size(), 1U);
    EXPECT_EQ(Text(kIdSetExtras), "追加可能: 攻撃力UP【中】 耐毒");

    ChooseSkills({"会心＋１"});
    PressSearch();
    EXPECT_EQ(d.m_search.results.size(), 0U);
    EXPECT_EQ(Text(kIdSetExtras), "");
}

} // namespace
