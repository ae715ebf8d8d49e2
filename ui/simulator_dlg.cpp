#include "ui/simulator_dlg.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QProgressBar>
#include <algorithm>
#include <utility>

#include "engine/tables/shown_names.h"
#include "platform/out_of_memory.h"
#include "res/dialog_102.h"
#include "ui/equip_browser.h"
#include "ui/framework/app_icon.h"
#include "ui/version.h"

using namespace res;

namespace {

// Running the event queue costs far more than most of the engine's pumps; a click or a timer
// waiting this much longer goes unnoticed.
constexpr auto kEventInterval = std::chrono::milliseconds(4);

} // namespace

CSimulatorDlg::CSimulatorDlg(std::string programFolder, ui::Prompter& prompter, QWidget* parent)
    : CSimulatorDlg(programFolder, programFolder + "data/", prompter, parent) {}

CSimulatorDlg::CSimulatorDlg(std::string programFolder, std::string dataFolder,
                             ui::Prompter& prompter, QWidget* parent)
    : ui::CTemplateDialog(kDialog102, prompter, parent), m_programFolder(std::move(programFolder)),
      m_dataFolder(std::move(dataFolder)), m_sink(prompter), m_hIcon(ui::LoadAppIcon()),
      m_search(this, &m_sink), m_pumpPacer(kEventInterval) {
    ConnectMessageMap();
}

CSimulatorDlg::~CSimulatorDlg() {
    m_bFillingResults = 0;
    OnSetCursor();
}

void CSimulatorDlg::Post(unsigned message, std::uint64_t visited, std::uint64_t total) {
    m_finishPosted = m_finishPosted || message == SearchHost::kSearchFinished;
    PostMessage(message, visited, total);
}

void CSimulatorDlg::PumpMessages() {
    if (m_pumpPacer.Due()) {
        QCoreApplication::processEvents();
    }
}

void CSimulatorDlg::ConnectMessageMap() {
    OnClicked(kIdSearch, [this] { OnBnClickedSearch(); });
    OnClicked(kIdExtraSkills, [this] { OnBnClickedExtraSkills(); });
    OnClicked(kIdClearSkills, [this] { OnBnClickedClearSkills(); });
    OnClicked(kIdExactFitting, [this] { OnBnClickedExactFitting(); });
    OnSelChange(kIdCategory, [this] { OnCbnSelchangeCategory(); });
    OnClicked(kIdMinDefence, [this] { OnBnClickedMinDefence(); });
    OnClicked(kIdEditCustom, [this] { OnBnClickedEditCustom(); });
    OnClicked(kIdUseExclude, [this] { OnBnClickedUseExclude(); });
    OnClicked(kIdUseFixed, [this] { OnBnClickedUseFixed(); });
    OnClicked(kIdClip, [this] { OnBnClickedClip(); });
    OnClicked(kIdConfig, [this] { OnBnClickedConfig(); });
    OnClicked(kIdRefine, [this] { OnBnClickedRefine(); });
    OnClicked(kIdSaveAll, [this] { OnBnClickedSaveAll(); });
    OnClicked(kIdLoad, [this] { OnBnClickedLoad(); });
    OnClicked(kIdSaveFixed, [this] { OnBnClickedSaveFixed(); });
    OnClicked(kIdBlade, [this] { OnBnClickedWeaponType(); });
    OnClicked(kIdGunner, [this] { OnBnClickedWeaponType(); });
    OnClicked(kIdEditOwn, [this] { OnBnClickedEditOwn(); });
    OnClicked(kIdTempLists, [this] { OnBnClickedTempLists(); });

    auto* chosen = Control<ui::CReportList>(kIdChosenSkills);
    connect(chosen, &ui::CReportList::itemDoubleClicked, this, [this] { OnDblclkChosenSkills(); });
    connect(chosen, &ui::CReportList::keyDown, this,
            [this](int key) { OnKeydownChosenSkills(key); });
    auto* skills = Control<ui::CReportList>(kIdSkillList);
    connect(skills, &ui::CReportList::itemDoubleClicked, this, [this] { OnDblclkSkillList(); });
    connect(skills, &ui::CReportList::keyDown, this, [this](int key) { OnKeydownSkillList(key); });
    for (ui::CReportList* list : {skills, chosen}) {
        connect(list, &ui::CReportList::headerClicked, this,
                [this, list](int column) { OnHeaderItemClick(*list, column); });
    }
}

void CSimulatorDlg::ConnectListNotifications() {
    connect(&m_listResult, &ui::CReportList::itemChanged, this,
            [this](const ui::CReportList::ItemChange& change) { OnResultItemChanged(change); });
    m_listResult.SetCustomDraw(
        [this](int row, int column) { return OnCustomdrawResult(row, column); });
    m_listSetSkills.SetCustomDraw(
        [this](int row, int column) { return OnCustomdrawSetSkills(row, column); });
    connect(&m_listSetSkills, &ui::CReportList::itemDoubleClicked, this,
            [this] { OnDblclkSetSkills(); });
    m_listSetEquip.SetCustomDraw(
        [this](int row, int column) { return OnCustomdrawSetEquip(row, column); });
    connect(&m_listSetEquip, &ui::CReportList::itemDoubleClicked, this,
            [this] { OnDblclkSetEquip(); });
    connect(&m_listSetEquip, &CListCtrlResultEquip::tempListsChanged, this,
            [this] { UpdateTempListStatus(); });
    for (ui::CReportList* list : {static_cast<ui::CReportList*>(&m_listResult),
                                  static_cast<ui::CReportList*>(&m_listSetEquip),
                                  static_cast<ui::CReportList*>(&m_listSetSkills)}) {
        connect(list, &ui::CReportList::headerClicked, this,
                [this, list](int column) { OnHeaderItemClick(*list, column); });
    }
}

bool CSimulatorDlg::OnInitDialog() {
    setWindowTitle(QString("Kestrova Ver. %1").arg(GetVersionString()));
    // A missing or outdated Config.dat leaves the defaults; nothing to tell the user.
    m_config.Load(m_programFolder);
    m_search.owner = this;
    m_extraProgress.owner = this;
    m_adviceProgress.host = this;
    if (!m_search.database.LoadTablesFrom(m_dataFolder, m_config.m_bEarlyData)) {
        // Which folder was searched tells the player where the tables are missing.
        GetPrompter().MessageBox("装備ファイルが読み込めませんでした\n" + m_dataFolder);
        EndDialog(kLoadFailed);
        return false;
    }
    setWindowIcon(m_hIcon);
    SubclassItem(kIdResult, m_listResult);
    SubclassItem(kIdSetSkills, m_listSetSkills);
    SubclassItem(kIdSetEquip, m_listSetEquip);
    ConnectListNotifications();
    InitControls();
    m_listSetEquip.SetProgramFolder(m_programFolder);
    m_dlgCustomEquip.SetData(m_search.database, m_config);
    m_dlgOwn.SetData(m_search.database, m_config);
    return true;
}

void CSimulatorDlg::InitControls() {
    InitOptionControls();
    InitSkillControls();
    InitResultColumns();
    InitToolTips();
    RestoreChosenSkills();
}

void CSimulatorDlg::InitOptionControls() {
    CheckRadio(m_config.m_nSex == 2 ? kIdFemale : kIdMale);
    CheckRadio(m_config.m_nWeaponType == 2 ? kIdGunner : kIdBlade);
    CheckRadio(kWeaponSlotIds[std::clamp(m_config.m_nWeaponSlots, 0, 3)]);
    SetCheck(kIdFastSearch, m_config.m_bFastSearch);
    SetCheck(kIdExactFitting, m_config.m_bExactFitting);
    InitRankKeyControl();
    SetText(kIdProgressText, "0%");

    const bool minDefence = m_config.m_bMinDefence != 0;
    SetCheck(kIdMinDefence, minDefence);
    Enable(kIdMinDefenceValue, minDefence);
    SetText(kIdMinDefenceValue, minDefence ? std::to_string(m_config.m_nMinDefence) : "");

    for (int rarity = 0; rarity < kRarityCount; ++rarity) {
        SetCheck(kRarityButtonIds[rarity], m_config.m_bRarityOff[rarity]);
    }
    SetCheck(kIdUseExclude, m_config.m_bUseExclude);
    SetCheck(kIdUseFixed, m_config.m_bUseFixed);
    for (int id : kWeaponSlotIds) {
        Enable(id, !m_config.m_bUseFixed);
    }
    UpdateEditCustom(false);
    SetCheck(kIdOwnedOnly, m_config.m_bOwnedOnly);
    SetCheck(kIdNoBodyDoubling, m_config.m_bNoBodyDoubling);

    SetText(kIdSearch, "検索");
    for (int id : {kIdClip, kIdSaveFixed, kIdRefine, kIdSaveAll}) {
        Enable(id, false);
    }
}

// The entries are in RankKey order, so an entry's index is the key it stands for.
void CSimulatorDlg::InitRankKeyControl() {
    const char* const entries[kRankKeyCount] = {"見つけた順", "防御力", "空きスロット",
                                                "火耐性",     "水耐性", "雷耐性",
                                                "氷耐性",     "龍耐性", "所持数"};
    auto* combo = Control<QComboBox>(kIdRankKey);
    for (const char* entry : entries) {
        combo->addItem(QString::fromUtf8(entry));
    }
    combo->setCurrentIndex(std::clamp(m_config.m_nRankKey, 0, kRankKeyCount - 1));
}

// Controls whose meaning, or whose disabled state, the caption alone does not explain. The edit
// button keeps its tooltip while disabled, which is when the player wonders about it.
void CSimulatorDlg::InitToolTips() {
    const std::pair<int, const char*> tips[] = {
        {kIdRankKey, "最大表示件数までのセットを、選んだ値の高い順に選んで表示します"
                     "（見つけた順: 見つかった順）"},
        {kIdExactFitting, "装飾品の付け方をすべて試し、条件を満たすセットをもれなく探します"
                          "（オフ: 速い簡易判定、一部を見落とします）"},
        {kIdEditCustom, "「除外装備有効」か「固定装備有効」をチェックすると編集できます"},
        {kIdExtraSkills, "今の条件に加えても組み合わせが見つかるスキルを一覧にします"},
    };
    for (const auto& [id, tip] : tips) {
        Item(id)->setToolTip(QString::fromUtf8(tip));
    }
    Control<ui::CReportList>(kIdChosenSkills)
        ->SetColumnToolTip(kChosenExcluded,
                           "チェックしたスキルは発動しない組み合わせだけを探します");
}

void CSimulatorDlg::InitResultColumns() {
    using Align = ui::CReportList::Align;
    constexpr Align L = ui::CReportList::kLeft;
    constexpr Align R = ui::CReportList::kRight;
    constexpr Align C = ui::CReportList::kCenter;
    using Result = CListCtrlResult;
    using Equip = CListCtrlResultEquip;

    m_listResult.InsertColumn(Result::kKeyNumber, "No.", 36, R);
    m_listResult.InsertColumn(Result::kKeyDefence, "防", 30, R);
    for (int k = 0; k < 5; ++k) {
        m_listResult.InsertColumn(Result::kKeyFirstResist + k, shown::kElementNames[k], 30, R);
    }
    m_listResult.InsertColumn(Result::kKeyFreeSlots, "空", 30, R);
    m_listResult.InsertColumn(Result::kKeyOwned, "持", 30, C);

    m_listSetEquip.InsertColumn(Equip::kColRarity, "レア", 30, R);
    m_listSetEquip.InsertColumn(Equip::kColName, "名前", 130, L);
    m_listSetEquip.InsertColumn(Equip::kColDefence, "防御", 35, R);
    for (int k = 0; k < 5; ++k) {
        m_listSetEquip.InsertColumn(Equip::kColFirstResist + k, shown::kElementNames[k], 30, R);
    }
    m_listSetEquip.InsertColumn(Equip::kColSlots, "スロット", 50, L);
    for (int k = 0; k < 3; ++k) {
        m_listSetEquip.InsertColumn(Equip::kColFirstDeco + k, "", 50, L);
    }
    equip_browser::FitDecorationColumns(m_listSetEquip, Equip::kColFirstDeco, 3,
                                        m_search.database.Decos());

    m_listSetSkills.InsertColumn(kSetSkillSystem, "系統", 70, L);
    m_listSetSkills.InsertColumn(kSetSkillWeapon, shown::kWeaponName, 30, R);
    for (int k = 0; k < kSlotCount; ++k) {
        m_listSetSkills.InsertColumn(kSetSkillFirstSlot + k, shown::kSlotNames[k], 30, R);
    }
    m_listSetSkills.InsertColumn(kSetSkillTotal, "計", 30, R);
    m_listSetSkills.InsertColumn(kSetSkillName, "発動スキル", 130, L);
}

void CSimulatorDlg::SaveControlsToConfig() {
    m_config.m_nSex = IsChecked(kIdMale) ? 1 : 2;
    m_config.m_nWeaponType = IsChecked(kIdBlade) ? 1 : 2;
    m_config.m_nWeaponSlots = CheckedWeaponSlots();
    const int minDefence = IsChecked(kIdMinDefence) ? GetInt(kIdMinDefenceValue) : 0;
    m_config.m_nMinDefence = minDefence;
    m_config.m_bMinDefence = minDefence != 0;
    for (int rarity = 0; rarity < kRarityCount; ++rarity) {
        m_config.m_bRarityOff[rarity] = IsChecked(kRarityButtonIds[rarity]);
    }
    m_config.m_bUseExclude = IsChecked(kIdUseExclude);
    m_config.m_bUseFixed = IsChecked(kIdUseFixed);
    m_config.m_bFastSearch = IsChecked(kIdFastSearch);
    m_config.m_bExactFitting = IsChecked(kIdExactFitting);
    m_config.m_nRankKey = Control<QComboBox>(kIdRankKey)->currentIndex();
    m_config.m_bNoBodyDoubling = IsChecked(kIdNoBodyDoubling);
    m_config.m_bOwnedOnly = IsChecked(kIdOwnedOnly);

    const auto* chosen = Control<ui::CReportList>(kIdChosenSkills);
    const int count = std::min(chosen->GetItemCount(), kMaxRuleFittingSkills);
    m_config.m_nSkillCount = count;
    for (int k = 0; k < kMaxRuleFittingSkills; ++k) {
        m_config.m_nSkills[k] = k < count ? static_cast<std::int32_t>(chosen->GetItemData(k)) : 0;
    }
    for (int k = 0; k < kMaxChosenSkills - kMaxRuleFittingSkills; ++k) {
        const int row = kMaxRuleFittingSkills + k;
        m_config.m_nMoreSkills[k] =
            row < chosen->GetItemCount() ? static_cast<std::int32_t>(chosen->GetItemData(row)) : -1;
    }
}

int CSimulatorDlg::CheckedWeaponSlots() const {
    for (int slots = 0; slots < 3; ++slots) {
        if (IsChecked(kWeaponSlotIds[slots])) {
            return slots;
        }
    }
    return 3;
}

void CSimulatorDlg::OnClose() {
    AbortEveryRun();
    SaveControlsToConfig();
    m_config.Save(m_programFolder, m_sink);
    EndDialog(ui::kIdCancel);
}

bool CSimulatorDlg::PreTranslateKey(QObject* target, const QKeyEvent& event) {
    const int key = event.key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (enter && target == Item(kIdSkillList)) {
        OnKeydownSkillList(key);
    }
    return enter || key == Qt::Key_Escape;
}

// A running search sees its flag at its next check and winds down before the modal loop returns.
void CSimulatorDlg::AbortEveryRun() {
    m_search.abortRequested = 1;
    m_extraProgress.abortRequested = 1;
    m_adviceProgress.abortRequested = 1;
}

void CSimulatorDlg::OnTimer(int id) {
    if (id == kSearchTimer && m_bAdviceRunning) {
        ShowAdviceProgress();
    } else if (id == kSearchTimer && m_bExtraSkillsRunning) {
        UpdateProgress(m_extraProgress.visited, m_extraProgress.totalCombos);
    } else if (id == kSearchTimer) {
        UpdateProgress(m_search.visited, m_search.totalCombos);
    }
}

void CSimulatorDlg::OnMessage(unsigned message, std::uint64_t wParam, std::uint64_t lParam) {
    if (message == SearchHost::kSearchFinished &&
        !platform::RunWithinMemory([&] { OnSearchFinished(wParam, lParam); })) {
        EndForLackOfMemory();
    }
}

void CSimulatorDlg::OnSetCursor() {
    if (m_bFillingResults && !m_busyCursorShown) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        m_busyCursorShown = true;
    } else if (!m_bFillingResults && m_busyCursorShown) {
        QApplication::restoreOverrideCursor();
        m_busyCursorShown = false;
    }
}
