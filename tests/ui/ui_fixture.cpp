#include "ui_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <filesystem>

#include "platform/sjis.h"
#include "res/dialog_102.h"

namespace {

const char* const kSkills = "#スキル名,系統名,必要ポイント,職業,分類,頭文字\n"
                            "攻撃力UP【小】,攻撃,10,0,攻撃,A\n"
                            "攻撃力UP【中】,攻撃,15,0,攻撃,A\n"
                            "会心＋１,会心,10,0,攻撃,Z\n"
                            "会心－１,会心,-10,0,攻撃,Z\n"
                            "耐毒,耐毒,10,0,生存,T\n"
                            "狙い撃ち,狙い,10,2,攻撃,N\n"
                            "抜刀術,抜刀,10,1,攻撃,B\n"
                            "風圧無効,風圧,15,0,生存,F\n"
                            "体力－１０,体力,-10,0,マイ,H\n"
                            "回復速度＋１,回復,10,0,サポ,K\n"
                            "運気,幸運,10,0,他,L\n";

const char* const kDecorations = "攻撃珠【１】,2,1,攻撃,1,会心,-1,下\n"
                                 "耐毒珠【１】,1,1,耐毒,1,,,Ｇ\n";

const char* const kHeadTable =
    "ハンターヘルム,0,0,1,1,5,10,1,0,0,0,0,攻撃,3,会心,2,,,,,,,鉄鉱石,2,,,,,,,,\n"
    "ガンナーキャップ,0,2,2,2,6,12,0,1,0,0,0,狙い,4,,,,,,,,,,,,,,,,,,\n";
const char* const kBodyTable =
    "ハンターメイル,0,0,1,1,5,10,1,0,0,0,0,攻撃,3,耐毒,2,,,,,,,鉄鉱石,3,,,,,,,,\n";
const char* const kArmTable = "ハンターアーム,0,0,1,0,5,10,0,0,1,0,0,攻撃,2,,,,,,,,,,,,,,,,,,\n";
const char* const kWaistTable =
    "ハンターフォールド,0,0,1,2,5,10,0,0,0,1,0,会心,3,,,,,,,,,,,,,,,,,,\n";
const char* const kLegTable =
    "ハンターグリーヴ,0,0,1,3,5,10,0,0,0,0,1,攻撃,2,耐毒,3,,,,,,,竜骨,2,鉄鉱石,0,紅玉,1\n";

} // namespace

void SendDoubleClick(QWidget& target, QPoint at, Qt::KeyboardModifiers modifiers) {
    const QPointF global = target.mapToGlobal(QPointF(at));
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), global, Qt::LeftButton, held, modifiers);
        QApplication::sendEvent(&target, &event);
    }
}

void SendKey(QWidget& target, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&target, &press);
}

std::string Enabled(const ui::CTemplateDialog& dialog, std::initializer_list<int> ids) {
    std::string marks;
    for (int id : ids) {
        marks += dialog.IsEnabled(id) ? '+' : '-';
    }
    return marks;
}

UiFolder::UiFolder() {
    Write("data/SKILL_EQ.csv", platform::Utf8ToSjis(kSkills));
    Write("data/TEVREQUIP_DECO.csv", platform::Utf8ToSjis(kDecorations));
    Write("data/TEVREQUIP_HEAD.csv", platform::Utf8ToSjis(kHeadTable));
    Write("data/TEVREQUIP_BODY.csv", platform::Utf8ToSjis(kBodyTable));
    Write("data/TEVREQUIP_ARM.csv", platform::Utf8ToSjis(kArmTable));
    Write("data/TEVREQUIP_WST.csv", platform::Utf8ToSjis(kWaistTable));
    Write("data/TEVREQUIP_LEG.csv", platform::Utf8ToSjis(kLegTable));
}

void UiFolder::UseBundledTables() const {
    const std::filesystem::path bundled = std::filesystem::path(KESTROVA_SOURCE_DIR) / "data";
    for (const auto& entry : std::filesystem::directory_iterator(bundled)) {
        if (entry.path().extension() == ".csv") {
            std::filesystem::copy_file(entry.path(),
                                       File("data/" + entry.path().filename().string()),
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }
}

void UiFolder::AddEquipmentRows() const {
    const std::pair<const char*, const char*> rows[] = {
        {"HEAD", "レディヘルム,2,1,3,0,7,14,0,0,0,0,0,耐毒,2\n"
                 "メンズヘルム,1,0,5,3,8,16,0,0,0,0,0,攻撃,1\n"},
        {"BODY", "ボーンメイル,0,0,2,2,6,12,0,0,0,0,0,攻撃,5,,,,,,,,,竜骨,1,鉄鉱石,2,紅玉,3\n"},
        {"WST", "倍加フォールド,0,0,3,1,5,10,0,0,0,0,0,胴系倍加,0\n"},
        {"DECO", "攻撃珠【２】,4,2,攻撃,3,,,上\n"}};
    for (const auto& [table, lines] : rows) {
        const std::string file = std::string("data/TEVREQUIP_") + table + ".csv";
        Write(file, Read(file) + platform::Utf8ToSjis(lines));
    }
}

void HookedDialog::PumpMessages() {
    ++pumps;
    if (onPump) {
        onPump(*this);
    }
    CSimulatorDlg::PumpMessages();
}

bool MainWindowTest::Start() {
    dialog = std::make_unique<HookedDialog>(folder.Path(), prompter);
    return dialog->InitDialog();
}

void MainWindowTest::TearDown() {
    dialog.reset();
    QApplication::processEvents();
}

std::string MainWindowTest::Cell(const ui::CReportList& list, int row, int column) {
    return platform::SjisToUtf8(list.GetItemText(row, column));
}

std::vector<std::string> MainWindowTest::Column(const ui::CReportList& list, int column) {
    std::vector<std::string> texts;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        texts.push_back(Cell(list, row, column));
    }
    return texts;
}

std::string MainWindowTest::Row(const ui::CReportList& list, int row) {
    std::string texts = Cell(list, row, 0);
    for (int column = 1; column < list.GetColumnCount(); ++column) {
        texts += "|" + Cell(list, row, column);
    }
    return texts;
}

ui::CReportList& MainWindowTest::SkillList() const {
    return *dialog->Control<ui::CReportList>(res::kIdSkillList);
}

ui::CReportList& MainWindowTest::ChosenList() const {
    return *dialog->Control<ui::CReportList>(res::kIdChosenSkills);
}

void MainWindowTest::DoubleClickSkill(int skill) {
    const std::vector<int> rows = Indices(SkillList());
    const auto row = std::find(rows.begin(), rows.end(), skill);
    ASSERT_NE(row, rows.end()) << "skill " << skill << " is not in the skill list";
    SkillList().SelectRow(static_cast<int>(row - rows.begin()));
    dialog->OnDblclkSkillList();
}

int MainWindowTest::SkillIndex(const std::string& utf8Name) const {
    const std::string name = platform::Utf8ToSjis(utf8Name);
    const auto& skills = dialog->m_search.database.Skills();
    for (std::size_t i = 0; i < skills.size(); ++i) {
        if (name == skills[i]->skillName) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void MainWindowTest::ChooseSkills(const std::vector<std::string>& utf8Names) {
    SelectCategory(0);
    for (const std::string& name : utf8Names) {
        DoubleClickSkill(SkillIndex(name));
    }
}

std::vector<int> MainWindowTest::Indices(const ui::CReportList& list) {
    std::vector<int> indices;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        indices.push_back(static_cast<int>(list.GetItemData(row)));
    }
    return indices;
}

void MainWindowTest::SelectCategory(int index) {
    dialog->Control<QComboBox>(res::kIdCategory)->setCurrentIndex(index);
    dialog->OnCbnSelchangeCategory();
}

void MainWindowTest::PressSearch() {
    dialog->Click(res::kIdSearch);
    QApplication::processEvents();
}

void EquipWindowTest::SetUp() {
    folder.AddEquipmentRows();
    ASSERT_TRUE(Start());
}

CEquipData* EquipWindowTest::Piece(int slot, const std::string& utf8Name) const {
    for (CEquipData* piece : dialog->m_search.database.Armor(slot)) {
        if (platform::SjisToUtf8(piece->name) == utf8Name) {
            return piece;
        }
    }
    ADD_FAILURE() << utf8Name << " is not in table " << slot;
    return nullptr;
}

void EquipWindowTest::SelectByName(ui::CReportList& list, const std::string& utf8Name) {
    const std::vector<std::string> names = Column(list, 2);
    const auto row = std::find(names.begin(), names.end(), utf8Name);
    ASSERT_NE(row, names.end()) << utf8Name << " is not listed";
    list.SelectRow(static_cast<int>(row - names.begin()));
}
