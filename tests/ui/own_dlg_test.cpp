#include <QComboBox>
#include <algorithm>

#include "res/dialog_131.h"
#include "ui/own_dlg.h"
#include "ui/refused_file_keeper.h"
#include "ui_fixture.h"

using namespace res::own_equip;

namespace {

class OwnDlgTest : public EquipWindowTest {
protected:
    void SetUp() override {
        EquipWindowTest::SetUp();
        own().Open();
        own().Click(kIdBothSexes);
        own().Click(kIdBothWeapons);
    }
    COwnDlg& own() const { return dialog->m_dlgOwn; }
    void Own(const std::string& name) const {
        SelectByName(own().m_listCandidates, name);
        own().Click(kIdAddOwned);
    }
    Names Owned() const { return Column(own().m_listOwned, 2); }
    // The owned-list category radio that is ticked, -1 for none.
    int OwnedCategory() const {
        const auto ticked = [this](int id) { return own().IsChecked(id); };
        const auto* id =
            std::find_if(std::begin(kOwnedCategoryIds), std::end(kOwnedCategoryIds), ticked);
        return id == std::end(kOwnedCategoryIds) ? -1 : *id;
    }
};

TEST_F(OwnDlgTest, AddingTurnsTheOwnedViewToTheNewKindUnlessAlreadyOwned) {
    own().Click(kIdOwnedHead);
    Own("攻撃珠【１】");
    EXPECT_EQ(OwnedCategory(), kIdOwnedDecos);
    EXPECT_EQ(Owned(), (Names{"攻撃珠【１】"}));
    EXPECT_EQ(own().GetText(kIdOwnedCount), "1件");

    own().Click(kIdOwnedHead);
    Own("攻撃珠【１】");
    EXPECT_EQ(OwnedCategory(), kIdOwnedHead);
    EXPECT_EQ(own().m_owned.decos.size(), 1U);

    // A double click on a candidate adds it too; the view's name filter still applies.
    own().SetText(kIdOwnedNameFilter, "メイル");
    SelectByName(own().m_listCandidates, "ハンターアーム");
    Q_EMIT own().m_listCandidates.itemDoubleClicked(own().m_listCandidates.GetSelectedRow(),
                                                    Qt::NoModifier);
    EXPECT_EQ(OwnedCategory(), kIdOwnedArm);
    EXPECT_EQ(Owned(), Names{});
}

TEST_F(OwnDlgTest, AddAllTakesTheListedCandidatesAndClearAllOnlyTheShownOwned) {
    auto* skill = own().Control<QComboBox>(kIdSkill);
    skill->setCurrentIndex(skill->findText("耐毒"));
    Q_EMIT skill->activated(skill->currentIndex());
    EXPECT_EQ(own().GetText(kIdCandidateCount), "4件");
    own().Click(kIdOwnedLeg);
    own().Click(kIdAddAll);
    EXPECT_EQ(OwnedCategory(), kIdOwnedAll);
    EXPECT_EQ(Owned(),
              (Names{"レディヘルム", "ハンターメイル", "ハンターグリーヴ", "耐毒珠【１】"}));

    own().SetText(kIdOwnedNameFilter, "ハンター");
    EXPECT_EQ(own().GetText(kIdOwnedCount), "2件");
    own().Click(kIdClearOwned);
    EXPECT_EQ(own().GetText(kIdOwnedCount), "0件");
    own().Click(kIdClearOwnedName);
    EXPECT_EQ(Owned(), (Names{"レディヘルム", "耐毒珠【１】"}));
}

TEST_F(OwnDlgTest, AddLoadTakesOnlyNewEntriesAndLoadReplaces) {
    const std::string file = folder.File("mine.eqo");
    Own("ハンターヘルム");
    Own("攻撃珠【１】");
    prompter.fileAnswers = {file};
    own().Click(kIdSaveOwned);
    EXPECT_EQ(folder.Read("mine.eqo").size(), 12U + 2 * 28);

    own().Click(kIdOwnedAll);
    own().m_listOwned.SelectRow(0);
    Q_EMIT own().m_listOwned.itemDoubleClicked(0, Qt::NoModifier);
    Own("ハンターメイル");
    own().Click(kIdOwnedAll);
    prompter.fileAnswers = {file};
    own().Click(kIdAddLoadOwned);
    EXPECT_EQ(Owned(), (Names{"ハンターヘルム", "ハンターメイル", "攻撃珠【１】"}));

    prompter.fileAnswers = {file};
    own().Click(kIdLoadOwned);
    EXPECT_EQ(Owned(), (Names{"ハンターヘルム", "攻撃珠【１】"}));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(OwnDlgTest, OkSavesAndStoresOnlyMaleOrFemale) {
    Own("メンズヘルム");
    Own("レディヘルム");
    own().Click(kIdOk);
    EXPECT_EQ(dialog->m_config.m_nOwnSex, 2);
    EXPECT_EQ(dialog->m_config.m_nOwnWeapon, 2);
    EXPECT_EQ(folder.Read("OwnEquip.dat").size(), 12U + 2 * 28);

    own().Open();
    EXPECT_TRUE(own().IsChecked(kIdFemale));
    EXPECT_TRUE(own().IsChecked(kIdGunner));
    own().Click(kIdBothWeapons);
    own().Click(kIdOwnedAll);
    EXPECT_EQ(Owned(), (Names{"レディヘルム"})) << "the sex filter applies to the owned list";
}

// Nothing the player edited or owns is lost by accident: Esc and the close box ask about changed
// lists ("キャンセル" stays, "保存" saves, "破棄" drops the changes for good), Enter in a name
// filter presses no OK, and a refused OwnEquip.dat is moved aside, beside an older backup, before
// OK replaces it.
TEST_F(OwnDlgTest, EditsAndFilesAreNotLostByAccident) {
    own().show();
    for (int id : std::initializer_list<int>{kIdNameFilter, kIdOwnedNameFilter}) {
        SendKey(*own().Item(id), Qt::Key_Return);
    }
    Own("ハンターメイル");
    prompter.messageAnswers = {ui::kIdCancel};
    SendKey(own(), Qt::Key_Escape);
    EXPECT_EQ(prompter.messages, (Names{"所有装備の変更を保存しますか？"}));
    EXPECT_FALSE(own().IsEnded());
    prompter.messageAnswers = {ui::kIdYes};
    own().close();
    EXPECT_EQ(own().EndCode(), ui::kIdOk);
    const std::string saved = folder.Read("OwnEquip.dat");
    EXPECT_EQ(saved.size(), 12U + 28);

    own().Open();
    Own("ハンターアーム");
    prompter.messageAnswers = {ui::kIdNo};
    own().close();
    EXPECT_EQ(folder.Read("OwnEquip.dat"), saved);
    EXPECT_EQ(own().m_owned.TotalCount(), 1U) << "discarded, not kept for a later OK";

    folder.Write("OwnEquip.dat", "foreign");
    folder.Write("OwnEquip.dat.bak", "older");
    own().Open();
    EXPECT_EQ(prompter.messages.back(),
              "所有装備ファイルではありません\n元のOwnEquip.datは保存の前に"
              "OwnEquip.dat.bak.2として残します");
    own().Click(kIdOk);
    EXPECT_EQ(folder.Read("OwnEquip.dat.bak"), "older");
    EXPECT_EQ(folder.Read("OwnEquip.dat.bak.2"), "foreign");
    EXPECT_EQ(folder.Read("OwnEquip.dat"), saved);
}

// A backup name whose state cannot be told (here too long a folder name) once made the search for
// a free name run forever at the dialog's opening.
TEST(RefusedFileKeeperTest, AnUnsearchableFolderRefusesTheSaveInsteadOfHanging) {
    platform::RecordingSink sink;
    RefusedFileKeeper keeper("/tmp/" + std::string(300, 'x') + "/OwnEquip.dat", sink);
    EXPECT_FALSE(keeper.Open([](platform::MessageSink& noted) {
        noted.Show("refused");
        return false;
    }));
    EXPECT_FALSE(keeper.BeforeSave());
    EXPECT_EQ(sink.messages.back(),
              "OwnEquip.datをOwnEquip.dat.bakとして残せなかったため保存しませんでした");
}

} // namespace
