#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <functional>
#include <new>

#include "res/dialog_102.h"
#include "res/dialog_141.h"
#include "ui/extra_skills_dlg.h"
#include "ui/framework/elided_label.h"
#include "ui/framework/perf_counter.h"
#include "ui_fixture.h"

using namespace res;

namespace {

using SearchControlTest = MainWindowTest;

TEST_F(SearchControlTest, RefusedSearchesChangeNothingButTheCountLabel) {
    ASSERT_TRUE(Start());
    PressSearch();
    EXPECT_EQ(prompter.messages, (std::vector<std::string>{"スキルが選択されていません"}));
    EXPECT_EQ(Text(kIdResultCount), "検索結果 0件");

    // Only a minimum defence, or only avoided skills, is no search either.
    dialog->Click(kIdMinDefence);
    PressSearch();
    SelectCategory(0);
    DoubleClickSkill(kCriticalMinus);
    DoubleClickSkill(kHealthMinus);
    PressSearch();
    EXPECT_EQ(prompter.messages, (std::vector<std::string>{"スキルが選択されていません",
                                                           "除外スキルだけでは検索できません",
                                                           "除外スキルだけでは検索できません"}));
    EXPECT_EQ(Text(kIdResultCount), "組み合わせ 0件");
    EXPECT_EQ(Hooked().pumps, 0);

    // An engine refusing the condition posts no completion; the window must come back anyway.
    dialog->AppendChosenSkill(999, "", "", "10");
    PressSearch();
    EXPECT_EQ(prompter.messages.back(), "スキル/装飾品テーブルの作成に失敗しました");
    EXPECT_EQ(Text(kIdSearch), "検索");
    EXPECT_FALSE(dialog->HasTimer(CSimulatorDlg::kSearchTimer));
    EXPECT_EQ(Enabled(*dialog, {kIdMale, kIdLoad}), "++");
}

TEST_F(SearchControlTest, SearchThroughTheButtonShowsProgressThenTheResults) {
    ASSERT_TRUE(Start());
    ChooseSkills({"攻撃力UP【小】", "体力－１０"});
    // Every tick: the buttons locked, "中断" to press, the count and the progress of the run.
    std::vector<std::string> seen;
    Hooked().onPump = [&seen](HookedDialog& d) {
        d.TickTimer();
        const std::string progress = d.GetText(kIdProgressText);
        seen.push_back(Enabled(d, {kIdLoad, kIdExactFitting, kIdRankKey}) + d.GetText(kIdSearch) +
                       d.GetText(kIdResultCount).substr(0, 16) + progress.substr(1, 8));
    };
    PressSearch();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen, std::vector<std::string>(seen.size(), "---中断組み合わせ  / 1   ("));
    EXPECT_EQ(dialog->m_condition.exactFitting, 1);
    EXPECT_TRUE(dialog->IsEnabled(kIdExactFitting));
    EXPECT_EQ(Text(kIdElapsed), "終了");
    CSimulatorDlg& d = *dialog;
    EXPECT_EQ(Text(kIdProgressText), "1 / 1   (100%)");
    // One set cannot be refined.
    EXPECT_EQ(Enabled(d, {kIdClip, kIdSaveFixed, kIdSaveAll, kIdLoad, kIdMale, kIdRefine}),
              "+++++-");
    EXPECT_EQ(d.m_condition.excludedSkillCount, 1);
    EXPECT_EQ(d.m_condition.excludedSkillRows[0], kHealthMinus);
    EXPECT_EQ(d.m_config.m_recent[0].Values(),
              (std::list<std::int32_t>{kAttackSmall, kHealthMinus}));
}

TEST_F(SearchControlTest, AbortOnTheThirdPumpListsTheSetsFoundSoFar) {
    folder.UseBundledTables();
    ASSERT_TRUE(Start());
    ChooseSkills({"先読み", "重撃【小】", "剛腕", "解体上手"});
    dialog->Click(kIdMinDefence);
    dialog->SetText(kIdMinDefenceValue, "300");
    std::vector<std::string> atAbort;
    Hooked().onPump = [&atAbort](HookedDialog& d) {
        if (d.pumps != 3) {
            return;
        }
        d.Click(kIdSearch);
        atAbort = {d.GetText(kIdElapsed), d.GetText(kIdProgressText), d.GetText(kIdSearch)};
        EXPECT_FALSE(d.HasTimer(CSimulatorDlg::kSearchTimer));
        EXPECT_EQ(d.m_search.abortRequested, 1);
        // The engine is still winding down: the configuration must not open now.
        EXPECT_FALSE(WorkModal<ui::CTemplateDialog>([&d] { d.Click(kIdConfig); }));
    };
    PressSearch();

    EXPECT_EQ(atAbort, (std::vector<std::string>{"中断されました", "0%", "検索"}));
    // The completion keeps saying so and shows how far the search came, not a full bar.
    const CSkillSearch& search = dialog->m_search;
    ASSERT_LT(search.visited, search.totalCombos);
    const std::uint64_t percent = search.visited * 100 / search.totalCombos;
    EXPECT_EQ(Text(kIdElapsed), "中断されました");
    EXPECT_EQ(Text(kIdProgressText), std::to_string(search.visited) + " / " +
                                         std::to_string(search.totalCombos) + "   (" +
                                         std::to_string(percent) + "%)");
    EXPECT_EQ(dialog->Control<QProgressBar>(kIdProgressBar)->value(), static_cast<int>(percent));
    EXPECT_EQ(Text(kIdResultCount), "検索結果 " + std::to_string(search.results.size()) + "件");
    EXPECT_EQ(dialog->m_listResult.GetItemCount(), static_cast<int>(search.results.size()));
}

TEST_F(SearchControlTest, RefineKeepsASubsetAndGivesTheControlsBack) {
    folder.UseBundledTables();
    ASSERT_TRUE(Start());
    CSimulatorDlg& d = *dialog;
    d.m_config.m_nMaxDisplay = 300;
    d.SetCheck(kIdExactFitting, false);
    d.Control<QComboBox>(kIdRankKey)->setCurrentIndex(0);
    ChooseSkills({"攻撃力UP【小】"});
    PressSearch();
    ASSERT_GT(d.m_search.results.size(), 1U);
    EXPECT_EQ(Text(kIdElapsed), "最大表示件数(300件)で打ち切りました");
    const std::size_t before = d.m_search.results.size();

    d.Click(kIdRefine);
    EXPECT_EQ(ChosenList().GetItemCount(), 0);
    // A refine keeps its minimum defence and fits its decorations too.
    const std::initializer_list<int> locked = {kIdMale, kIdGunner, kIdLoad, kIdOwnedOnly,
                                               kRarityButtonIds[4]};
    EXPECT_EQ(Enabled(d, locked) + Enabled(d, {kIdSaveAll, kIdMinDefence, kIdExactFitting}),
              "------++");
    ChooseSkills({"会心＋１"});
    d.Click(kIdExactFitting);
    PressSearch();
    EXPECT_EQ(d.m_condition.exactFitting, 1);

    EXPECT_FALSE(d.IsChecked(kIdRefine));
    EXPECT_EQ(Enabled(d, locked), "+++++");
    EXPECT_LT(d.m_search.results.size(), before);
    EXPECT_EQ(Text(kIdElapsed), "終了");
}

// A search or a filling that runs out of memory empties the list rather than leave part of it
// (the sets of the search before are gone too), says so, and gives the window back.
TEST_F(SearchControlTest, RunningOutOfMemoryEmptiesTheListAndTheWindowGoesOn) {
    folder.UseBundledTables();
    ASSERT_TRUE(Start());
    CSimulatorDlg& d = *dialog;
    d.m_config.m_nMaxDisplay = 300;
    d.Control<QComboBox>(kIdRankKey)->setCurrentIndex(0);
    ChooseSkills({"攻撃力UP【小】"});
    const struct {
        const char* name;
        std::function<bool(const HookedDialog&)> failsNow;
    } cases[] = {
        {"search",
         [](const HookedDialog& h) {
             return h.m_search.running == 1 && h.m_search.results.size() >= 100;
         }},
        {"filling", [](const HookedDialog& h) { return h.m_bFillingResults != 0; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Hooked().onPump = nullptr;
        PressSearch();
        ASSERT_EQ(d.m_listResult.GetItemCount(), 300);
        prompter.messages.clear();
        Hooked().onPump = [&c](HookedDialog& h) {
            if (c.failsNow(h)) {
                throw std::bad_alloc();
            }
        };
        PressSearch();
        EXPECT_EQ(prompter.messages,
                  (std::vector<std::string>{"メモリが足りません。検索結果は消去しました\n"
                                            "最大表示件数を減らすと、使うメモリが減ります"}));
        EXPECT_TRUE(d.m_search.results.empty());
        EXPECT_EQ(d.m_listResult.GetItemCount(), 0);
        EXPECT_EQ(Text(kIdResultCount) + Text(kIdElapsed) + Text(kIdSearch),
                  "検索結果 0件メモリ不足で中止しました検索");
        EXPECT_FALSE(d.HasTimer(CSimulatorDlg::kSearchTimer));
        EXPECT_EQ(Enabled(d, {kIdMale, kIdLoad, kIdSaveAll}), "++-");
    }
    Hooked().onPump = nullptr;
    PressSearch();
    EXPECT_EQ(d.m_listResult.GetItemCount(), 300);
}

// A new window lists the best sets by defence and says when more exist.
TEST_F(SearchControlTest, ByDefaultTheListHoldsTheBestSetsByDefence) {
    folder.UseBundledTables();
    ASSERT_TRUE(Start());
    CSimulatorDlg& d = *dialog;
    d.m_config.m_nMaxDisplay = 300;
    ChooseSkills({"攻撃力UP【小】"});
    PressSearch();
    ASSERT_EQ(d.m_search.results.size(), 300U);
    EXPECT_EQ(Text(kIdElapsed), "防御力の高い順に上位300件を表示（ほかにもあります）");
    // Too long for the status line at the starting size: it is cut with "…", not clipped.
    const auto* status = d.Control<ui::ElidedLabel>(kIdElapsed);
    ASSERT_NE(status, nullptr);
    d.SetText(kIdElapsed, std::string(100, 'x'));
    EXPECT_TRUE(status->ShownText().endsWith(QChar(0x2026)));
    EXPECT_GE(d.m_search.results.front()->TotalDefense(),
              d.m_search.results.back()->TotalDefense());
    EXPECT_EQ(d.m_condition.rankKey, RankKey::kDefense);
}

TEST_F(SearchControlTest, TemporaryListsSteerOneSearchAndFixedDatOtherwise) {
    ASSERT_TRUE(Start());
    CSimulatorDlg& d = *dialog;
    const CEquipDatabase& tables = d.m_search.database;
    d.CheckRadio(kIdWeaponSlot2);
    d.Click(kIdUseFixed);
    EXPECT_FALSE(d.IsEnabled(kIdWeaponSlot0));
    ChooseSkills({"攻撃力UP【小】"});
    CEquipData* helm = tables.Armor(kHead)[0];
    CEquipData* greave = tables.Armor(kLeg)[0];
    d.m_listSetEquip.m_tempFixed.pieces[kHead] = helm;
    d.m_listSetEquip.m_tempExcluded[kLeg].push_back(greave);
    PressSearch();

    // The temporary fixed head stands in for Fixed.dat, which is not even looked for.
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(d.m_condition.fixed.pieces[kHead], helm);
    EXPECT_EQ(d.m_condition.weaponSlots, 2);
    EXPECT_EQ(d.m_condition.excluded[kLeg], (std::vector<CEquipData*>{greave}));
    EXPECT_EQ(Text(kIdResultCount), "検索結果 0件") << "the only leg was left out";
    EXPECT_EQ(Enabled(d, {kIdClip, kIdSaveFixed, kIdRefine, kIdSaveAll}), "----");
    EXPECT_TRUE(d.m_listSetEquip.TempListsEmpty());

    PressSearch();
    EXPECT_EQ(prompter.messages, (std::vector<std::string>{"固定装備の読み込みに失敗しました"}));
    EXPECT_EQ(d.m_condition.weaponSlots, 0);
    EXPECT_EQ(d.m_condition.fixed.pieces[kHead], nullptr);
    EXPECT_EQ(Text(kIdResultCount), "検索結果 1件");
}

// A search cut by a limit names the limit and shows how far it came; one that found nothing says
// so, with "所持品のみ" also that only owned decorations are used. The temporary lists that steer
// the next search are shown, and can be opened without results, until that search empties them.
TEST_F(SearchControlTest, TheWindowSaysWhyASearchEndedAndWhatSteersTheNext) {
    folder.UseBundledTables();
    ASSERT_TRUE(Start());
    CSimulatorDlg& d = *dialog;
    ChooseSkills({"攻撃力UP【小】"});
    d.m_config.m_nMaxDisplay = 100000;
    d.m_config.m_nMaxCalc = 5;
    PressSearch();
    EXPECT_EQ(Text(kIdElapsed), "最大計算件数(5件)で打ち切りました");
    EXPECT_EQ(Text(kIdProgressText).find("(100%)"), std::string::npos) << Text(kIdProgressText);

    const CEquipSet& set = *d.m_search.results.front();
    d.m_listSetEquip.AddTempExcluded(*set.pieces[kHead]);
    d.m_listSetEquip.AddTempFixed(*set.pieces[kLeg]);
    d.ClearResultDisplay();
    EXPECT_EQ(Text(kIdTempListStatus), "次の検索に使う一時リスト: 除外 1件 / 固定 1件");
    EXPECT_TRUE(WorkModal<ui::CTemplateDialog>([&d] { d.Click(kIdTempLists); }));

    ChooseSkills({"攻撃力UP【小】"});
    d.Click(kIdOwnedOnly);
    PressSearch();
    EXPECT_EQ(Text(kIdElapsed), "終了");
    EXPECT_EQ(d.m_listResult.EmptyText().toStdString(),
              "条件を満たす装備の組み合わせはありません\n「所持品のみ」では所持している装飾品だけを"
              "使います。所持している装飾品が登録されていません\n「所持品のみ」を外すと 1628件\n"
              "次のどれでも 0件: 「攻撃力UP【小】」を外す、固定装備を外す");
    EXPECT_EQ(Text(kIdTempListStatus), "");
    EXPECT_FALSE(d.IsEnabled(kIdTempLists));
}

TEST_F(SearchControlTest, ProgressCountsIn64BitsAndShowsHoursWhenThereAreAny) {
    ASSERT_TRUE(Start());
    CSimulatorDlg& d = *dialog;
    // A clock of 10^12 ticks a second started 4000 s ago: the test's own run time stays far
    // below a millisecond of it.
    d.m_liFrequency = 1'000'000'000'000;
    d.m_liSearchStart = ui::PerfCounter() - 4'000'000'000'000'000;
    d.m_search.hitCount = 7;
    // (15449 − 8000) / 8000 × 4000 s = 3724.5 s, shown as 1 + 3724 s = 1 h 2 min 5 s.
    d.UpdateProgress(8000, 15449);
    EXPECT_EQ(Text(kIdProgressText), "8000 / 15449   (51%)");
    EXPECT_EQ(Text(kIdElapsed), "4000秒経過 推定残り時間 1:02:05\n");
    EXPECT_EQ(Text(kIdResultCount), "組み合わせ 7件");

    const std::uint64_t total = std::uint64_t{1} << 63;
    d.UpdateProgress(total / 4 * 3, total);
    EXPECT_EQ(Text(kIdProgressText), "6917529027641081856 / 9223372036854775808   (75%)");
    const auto* label = d.Control<QLabel>(kIdProgressText);
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width())
        << "the leading digits must not be cut";
    d.SetText(kIdElapsed, "unchanged");
    d.UpdateProgress(0, 0);
    EXPECT_EQ(Text(kIdProgressText), "0 / 0   (0%)");
    EXPECT_EQ(Text(kIdElapsed), "unchanged") << "nothing to estimate from yet";
}

// The button runs like a search, locking the search button and aborting on a second press; a full
// run lists the levels by category, and a double click chooses one. The listed results keep their
// counters.
TEST_F(SearchControlTest, TheButtonRunsAbortsListsAndChooses) {
    folder.UseBundledTables();
    ASSERT_TRUE(Start());
    CSimulatorDlg& d = *dialog;
    ChooseSkills({"先読み", "剛腕"});
    PressSearch();
    // The advisor's runs leave the search's status and progress as they were.
    const std::string status = Text(kIdElapsed) + Text(kIdProgressText) + Text(kIdResultCount);
    const std::uint64_t visited = d.m_search.visited;
    const std::size_t listed = d.m_search.results.size();
    ASSERT_GT(listed, 0U);
    EXPECT_TRUE(d.IsEnabled(kIdExtraSkills));
    const auto press = [&d] { d.Click(kIdExtraSkills); };

    std::vector<std::string> seen;
    Hooked().onPump = [&seen](HookedDialog& h) {
        h.TickTimer();
        seen.push_back(Enabled(h, {kIdSearch, kIdExtraSkills, kIdLoad}) +
                       h.GetText(kIdExtraSkills));
        h.Click(kIdExtraSkills);
    };
    EXPECT_FALSE(WorkModal<CExtraSkillsDlg>(press)) << "an aborted run lists nothing";
    EXPECT_EQ(seen, (std::vector<std::string>{"-+-中断"}))
        << "the abort is answered at the next pump";
    EXPECT_EQ(Text(kIdElapsed) + Text(kIdProgressText) + Text(kIdResultCount), status);
    EXPECT_EQ(Text(kIdExtraSkills), "追加スキル検索");
    EXPECT_TRUE(d.IsEnabled(kIdSearch));

    Hooked().onPump = nullptr;
    const auto& skills = d.m_search.database.Skills();
    // Each level chosen from the list narrows it to what can still be added with it, until the
    // chosen list is full and a double click says so; without "完全検索" it takes five.
    d.SetCheck(kIdExactFitting, false);
    std::vector<std::vector<int>> shown;
    std::string hint;
    EXPECT_TRUE(WorkModal<CExtraSkillsDlg>(press, [&](CExtraSkillsDlg& list) {
        auto& rows = *list.Control<ui::CReportList>(extra_skills::kIdSkills);
        for (int pick = 0; pick < 4; ++pick) {
            shown.push_back(Indices(rows));
            ASSERT_FALSE(shown.back().empty());
            SendDoubleClick(*rows.viewport(), rows.SubItemRect(0, 1).center());
        }
        hint = list.GetText(extra_skills::kIdHint);
    }));
    ASSERT_EQ(shown.size(), 4U);
    for (std::size_t k = 1; k < shown[0].size(); ++k) {
        EXPECT_LE(skills[shown[0][k - 1]]->category, skills[shown[0][k]]->category);
    }
    // The third pick filled the list: nothing to narrow after it.
    EXPECT_LT(shown[1].size(), shown[0].size());
    EXPECT_LT(shown[2].size(), shown[1].size());
    EXPECT_EQ(shown[3], shown[2]);
    EXPECT_EQ(ChosenSkills(), (std::vector<int>{SkillIndex("先読み"), SkillIndex("剛腕"),
                                                shown[0][0], shown[1][0], shown[2][0]}));
    EXPECT_EQ(prompter.messages,
              (std::vector<std::string>{"選択スキルは5個までです。これ以上追加できません"}));
    EXPECT_EQ(hint, "選択スキルは5個で満杯です");
    EXPECT_EQ(Text(kIdElapsed) + Text(kIdProgressText) + Text(kIdResultCount), status);
    EXPECT_EQ(d.m_search.visited, visited);
    EXPECT_EQ(d.m_search.results.size(), listed);
}

// The advice after an empty search is counted with the window answering: the progress says what
// runs, "中断" ends it, and the search's own status and results stay. Unaborted, the limit that
// keeps every set out comes first.
TEST_F(SearchControlTest, AdviceAfterAnEmptySearchShowsProgressAndAborts) {
    folder.UseBundledTables();
    ASSERT_TRUE(Start());
    CSimulatorDlg& d = *dialog;
    ChooseSkills({"攻撃力UP【小】"});
    d.Click(kIdMinDefence);
    d.SetText(kIdMinDefenceValue, "100000");
    std::vector<std::string> seen;
    Hooked().onPump = [&seen](HookedDialog& h) {
        h.TickTimer();
        if (h.GetText(kIdElapsed) == "見つからない理由を調べています" && seen.empty()) {
            seen.push_back(Enabled(h, {kIdSearch, kIdLoad}) + h.GetText(kIdSearch));
            h.Click(kIdSearch);
        }
    };
    PressSearch();
    EXPECT_EQ(seen, std::vector<std::string>{"+-中断"});
    const std::string total = std::to_string(d.m_search.totalCombos);
    EXPECT_EQ(Text(kIdElapsed) + Text(kIdProgressText) + Text(kIdResultCount),
              "終了" + total + " / " + total + "   (100%)検索結果 0件");
    EXPECT_EQ(d.m_listResult.EmptyText().toStdString(), "条件を満たす装備の組み合わせはありません");
    EXPECT_EQ(Enabled(d, {kIdSearch, kIdLoad, kIdSaveAll}) + Text(kIdSearch), "++-検索");

    Hooked().onPump = nullptr;
    PressSearch();
    const std::string text = d.m_listResult.EmptyText().toStdString();
    EXPECT_EQ(text.rfind("条件を満たす装備の組み合わせはありません\n最低防御力を外すと ", 0), 0U)
        << text;
}

// The selected set tells which levels its free slots could still add; without a set, nothing.
TEST_F(SearchControlTest, TheSetLineNamesWhatTheFreeSlotsCouldAdd) {
    ASSERT_TRUE(Start());
    ChooseSkills({"攻撃力UP【小】"});
    PressSearch();
    ASSERT_EQ(dialog->m_search.results.size(), 1U);
    EXPECT_EQ(Text(kIdSetExtras), "追加可能: 攻撃力UP【中】 耐毒");
    EXPECT_EQ(dialog->Item(kIdSetExtras)->toolTip().toStdString(), Text(kIdSetExtras));
    // A line longer than the window ends in "…" where it is cut.
    const auto* line = dialog->Control<ui::ElidedLabel>(kIdSetExtras);
    dialog->SetText(kIdSetExtras, "追加可能:" + std::string(200, 'x'));
    EXPECT_TRUE(line->ShownText().endsWith(QChar(0x2026))) << line->ShownText().toStdString();

    ChooseSkills({"会心＋１"});
    PressSearch();
    EXPECT_EQ(dialog->m_search.results.size(), 0U);
    EXPECT_EQ(Text(kIdSetExtras), "");
}

} // namespace
