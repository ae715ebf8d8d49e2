#include <QApplication>
#include <algorithm>

#include "lists/fixed_set_file.h"
#include "lists/owned_list_file.h"
#include "platform/message_sink.h"
#include "platform/sjis.h"
#include "res/dialog_102.h"
#include "ui/framework/clipboard.h"
#include "ui/version.h"
#include "ui_fixture.h"

using namespace res;

namespace {

const QColor kWhite(255, 255, 255);

class ResultDisplayTest : public MainWindowTest {
protected:
    // The row of the set-skill list whose system column reads `system`, -1 when there is none.
    int SkillRow(const std::string& system) const {
        const Names systems = Column(dialog->m_listSetSkills, 0);
        const auto row = std::find(systems.begin(), systems.end(), system);
        return row == systems.end() ? -1 : static_cast<int>(row - systems.begin());
    }
    void SearchAttack() {
        ASSERT_TRUE(Start());
        ChooseSkills({"攻撃力UP【小】"});
        PressSearch();
        ASSERT_EQ(dialog->m_search.results.size(), 1U);
    }
};

TEST_F(ResultDisplayTest, DetailsShowPiecesTotalsOwnedPiecesAndSkillColours) {
    // An arm that activates a minus skill on its own.
    folder.Write("data/TEVREQUIP_ARM.csv",
                 platform::Utf8ToSjis(
                     "ハンターアーム,0,0,1,0,5,10,0,0,1,0,0,攻撃,2,体力,-10,,,,,,,,,,,,,,,,\n"));
    ASSERT_TRUE(Start());
    CSimulatorDlg& d = *dialog;
    OwnedLists owned;
    owned.Add(d.m_search.database.Armor(kHead)[0]);
    platform::RecordingSink sink;
    ASSERT_TRUE(SaveOwnedList(owned, folder.File("OwnEquip.dat"), sink));
    ChooseSkills({"攻撃力UP【小】"});
    PressSearch();
    ASSERT_EQ(d.m_search.results.size(), 1U);

    const ui::CReportList& pieces = d.m_listSetEquip;
    ASSERT_EQ(pieces.GetItemCount(), 6) << "five pieces and the total, no weapon row";
    EXPECT_EQ(Row(pieces, 0), "1|ハンターヘルム|10|1|0|0|0|0|○－－|||");
    EXPECT_EQ(Column(pieces, 8), (Names{"○－－", "○－－", "－－－", "○○－", "○○○", ""}));
    EXPECT_EQ(Row(pieces, 5), "|合計|50|2|0|1|1|1||||");
    EXPECT_EQ(Row(d.m_listResult, 0), "1|50|2|0|1|1|1|7|1") << "seven free slots, the owned head";
    EXPECT_EQ(d.OnCustomdrawSetEquip(0, 4).background, QColor(192, 255, 192));
    EXPECT_EQ(d.OnCustomdrawSetEquip(1, 4).background, kWhite);
    EXPECT_EQ(d.OnCustomdrawSetEquip(5, 0).background, QColor(192, 192, 255));

    const ui::CReportList& skills = d.m_listSetSkills;
    const int attack = SkillRow("攻撃");
    const int health = SkillRow("体力");
    const int critical = SkillRow("会心");
    ASSERT_GE(std::min({attack, health, critical}), 0);
    EXPECT_EQ(Row(skills, attack), "攻撃||+3|+3|+2||+2|10|攻撃力UP【小】") << "no weapon points";
    EXPECT_EQ(Row(skills, health), "体力||||-10|||-10|体力－１０");
    EXPECT_EQ(Cell(skills, critical, 8), "");
    EXPECT_EQ(d.OnCustomdrawSetSkills(attack, 0).text, QColor(0, 192, 0));
    EXPECT_EQ(d.OnCustomdrawSetSkills(health, 8).text, QColor(192, 0, 0));
    EXPECT_EQ(d.OnCustomdrawSetSkills(critical, 8).text, QColor(0, 0, 0));
    EXPECT_EQ(d.OnCustomdrawSetSkills(attack, 3).background, kWhite) << "no doubling piece";
    EXPECT_EQ(d.m_listResult.Row(0)->nActive, 1);
    EXPECT_EQ(d.m_listResult.Row(0)->nActiveMinus, 1);

    d.CheckRadio(kIdWeaponSlot2);
    PressSearch();
    ASSERT_EQ(pieces.GetItemCount(), 7);
    EXPECT_EQ(Row(pieces, 5), "|武器スロット|||||||○○－|||");
    EXPECT_EQ(Cell(pieces, 6, 1), "合計");
    EXPECT_EQ(Cell(d.m_listResult, 0, 7), "9") << "seven armour slots and two of the weapon";
}

TEST_F(ResultDisplayTest, DoublingWaistShowsItsMarkerRowAndTintsTheBodyColumn) {
    folder.Write("data/TEVREQUIP_WST.csv",
                 platform::Utf8ToSjis(
                     "ドウフォールド,0,0,1,0,5,10,0,0,0,1,0,胴系倍加,1,,,,,,,,,,,,,,,,,,\n"));
    SearchAttack();
    CSimulatorDlg& d = *dialog;
    const ui::CReportList& skills = d.m_listSetSkills;
    const int last = skills.GetItemCount() - 1;
    const int attack = SkillRow("攻撃");
    ASSERT_EQ(SkillRow("胴系倍加"), last);
    EXPECT_EQ(Row(skills, last), "胴系倍加|||||E|||") << "the marker has no total";
    EXPECT_EQ(Row(skills, attack), "攻撃||+3|+6|+2||+2|13|攻撃力UP【小】")
        << "the waist's copy counts in the body column";
    EXPECT_EQ(d.m_bBodyDoublingShown, 1);
    EXPECT_EQ(d.OnCustomdrawSetSkills(attack, 3).background, QColor(192, 255, 255));
    EXPECT_EQ(d.OnCustomdrawSetSkills(attack, 2).background, kWhite);
    EXPECT_EQ(d.OnCustomdrawSetSkills(last, 3).background, kWhite);
    EXPECT_EQ(d.m_listResult.Row(0)->nInactive, skills.GetItemCount() - 1);
}

TEST_F(ResultDisplayTest, ClipboardTextIsComposedFromTheListsLineByLine) {
    SearchAttack();
    dialog->Click(kIdFemale);
    PressSearch();
    const std::string dashes = "-----------------------------------------------\r\n";
    // A piece line: the name padded to 20 bytes, then three empty decoration columns of 6.
    auto piece = [](const std::string& name, std::size_t blanks) {
        const std::string deco(6, ' ');
        return name + std::string(blanks, ' ') + " " + deco + " " + deco + " " + deco + "\r\n";
    };
    const std::string expected =
        "----------------------TEVRA KESTROVA ver " + std::string(GetVersionString()) +
        "--\r\n■ 女  剣士\r\n\r\n" + dashes + piece("ハンターヘルム", 6) +
        piece("ハンターメイル", 6) + piece("ハンターアーム", 6) + piece("ハンターフォールド", 2) +
        piece("ハンターグリーヴ", 4) + piece("合計", 16) + dashes +
        "防御力[50] 火[2] 水[0] 雷[1] 氷[1] 龍[1]\r\n\r\n攻撃力UP【小】\r\n" + dashes;
    char text[4096];
    dialog->BuildSetText(text, sizeof text);
    EXPECT_EQ(platform::SjisToUtf8(text), expected);
    EXPECT_EQ(std::string(text).find("\r\n"), 47U) << "the header is as long as a rule";
    // The composed bytes keep CR LF; the clipboard of this platform gets LF alone.
    dialog->Click(kIdClip);
    EXPECT_EQ(ui::ClipboardText(),
              QString::fromStdString(expected).replace("\r\n", "\n").toStdString());
}

TEST_F(ResultDisplayTest, ResultFilesAndFixedSetsGoThroughTheButtons) {
    ASSERT_TRUE(Start());
    CSimulatorDlg& d = *dialog;
    d.CheckRadio(kIdWeaponSlot2);
    ChooseSkills({"攻撃力UP【小】", "体力－１０"});
    PressSearch();
    ASSERT_EQ(d.m_search.results.size(), 1U);

    const std::string saved = folder.File("sets.eql");
    prompter.fileAnswers = {saved};
    d.Click(kIdSaveAll);
    ASSERT_EQ(prompter.fileQuestions.size(), 1U);
    EXPECT_EQ(prompter.fileQuestions[0].request.initialName, "攻撃力UP【小】_体力－１０");
    EXPECT_EQ(prompter.fileQuestions[0].request.defaultExt, "eql");
    ASSERT_TRUE(std::filesystem::exists(saved));

    // Loading takes its weapon slots from the file and fills the list as a search would.
    d.m_condition.weaponSlots = 0;
    d.SetText(kIdElapsed, "");
    prompter.fileAnswers = {saved};
    d.Click(kIdLoad);
    QApplication::processEvents();
    EXPECT_EQ(ChosenList().GetItemCount(), 0);
    EXPECT_EQ(d.m_condition.weaponSlots, 2);
    EXPECT_EQ(Text(kIdElapsed), "終了");
    EXPECT_EQ(Text(kIdResultCount), "検索結果 1件");
    EXPECT_EQ(d.m_listSetEquip.GetItemCount(), 7);

    // A loaded set carries no weapon slots of its own; its fixed-set file still gets them.
    const std::string fixed = folder.File("set.eq");
    prompter.fileAnswers = {fixed};
    d.Click(kIdSaveFixed);
    EXPECT_EQ(prompter.fileQuestions.back().request.initialName, "無題");
    FixedRows rows;
    platform::RecordingSink sink;
    ASSERT_TRUE(LoadFixedSet(rows, d.m_search.database, fixed, sink));
    EXPECT_EQ(rows.weaponSlots, 2);
    EXPECT_EQ(rows.rows[kHead].piece, d.m_search.results[0]->pieces[kHead]);

    // A file refused by its magic leaves the results; past magic and version the old sets are
    // gone, and their rows must go with them.
    const std::pair<std::string, int> refused[] = {{std::string(8, '\x01'), 1},
                                                   {folder.Read("sets.eql").substr(0, 40), 0}};
    for (const auto& [bytes, listed] : refused) {
        folder.Write("bad.eql", bytes);
        prompter.fileAnswers = {folder.File("bad.eql")};
        d.Click(kIdLoad);
        QApplication::processEvents();
        EXPECT_EQ(d.m_listResult.GetItemCount(), listed);
    }
    EXPECT_EQ(prompter.messages, (std::vector<std::string>{"検索結果ファイルではありません",
                                                           "検索結果ファイルが不正です"}));
    EXPECT_EQ(d.m_listSetEquip.GetItemCount(), 0);
    EXPECT_EQ(Text(kIdResultCount), "検索結果 0件");
    EXPECT_FALSE(d.IsEnabled(kIdClip));
}

} // namespace
