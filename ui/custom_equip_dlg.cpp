#include "ui/custom_equip_dlg.h"

#include <algorithm>

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include "engine/tables/shown_names.h"
#include "lists/list_paths.h"
#include "res/dialog_129.h"
#include "ui/equip_browser.h"

using namespace res::custom_equip;

CCustomEquipDlg::CCustomEquipDlg(std::string programFolder, ui::Prompter& prompter, QWidget* parent)
    : CEquipDialog(res::kDialog129, std::move(programFolder), {kIdNameFilter}, prompter, parent),
      m_fixedFile(FixedSetPath(m_programFolder), m_sink),
      m_excludedFile(ExcludedListPath(m_programFolder), m_sink) {
    SubclassItem(kIdTotals, m_listTotals);
    SubclassItem(kIdFixed, m_listFixed);
    m_listFixed.m_pOwner = this;
    CreateColumns();
    ConnectMessageMap();
    ConnectLists();
}

void CCustomEquipDlg::OnSetData(const CEquipDatabase& database) {
    equip_browser::FitDecorationColumns(m_listFixed, kFixedFirstDeco, 3, database.Decos());
}

void CCustomEquipDlg::Open() {
    ResetControls();
    LoadFixedSet();
    LoadExcludedList(false);
    UpdateButtons();
    UpdateExcludedCount();
    m_openedFixed = FixedAsSet();
    m_openedExcluded = m_excluded;
}

bool CCustomEquipDlg::EditsChanged() const {
    const CEquipSet fixed = FixedAsSet();
    const auto samePieces = std::equal(std::begin(fixed.pieces), std::end(fixed.pieces),
                                       std::begin(m_openedFixed.pieces));
    bool sameDecos = fixed.weaponSlots == m_openedFixed.weaponSlots;
    for (int position = 0; position < kPositionCount; ++position) {
        sameDecos = sameDecos &&
                    std::equal(std::begin(fixed.decos[position]), std::end(fixed.decos[position]),
                               std::begin(m_openedFixed.decos[position]));
    }
    const auto sameRecord = [](const ExcludedRow& a, const ExcludedRow& b) {
        return a.piece == b.piece && a.deco == b.deco;
    };
    return !samePieces || !sameDecos ||
           !std::equal(m_excluded.begin(), m_excluded.end(), m_openedExcluded.begin(),
                       m_openedExcluded.end(), sameRecord);
}

ui::CReportList& CCustomEquipDlg::ExcludedList() const {
    return *Control<ui::CReportList>(kIdExcluded);
}

void CCustomEquipDlg::ConnectMessageMap() {
    for (int id : kCategoryIds) {
        OnClicked(id, [this] { RefreshCandidates(); });
    }
    for (int id : std::initializer_list<int>{kIdMale, kIdFemale, kIdBothSexes, kIdBlade, kIdGunner,
                                             kIdBothWeapons, kIdLowTier, kIdHighTier, kIdGTier}) {
        OnClicked(id, [this] { RefreshCandidates(); });
    }
    OnSelChange(kIdSkill, [this] { RefreshCandidates(); });
    OnSelChange(kIdRarity, [this] { RefreshCandidates(); });
    connect(Control<QLineEdit>(kIdNameFilter), &QLineEdit::textChanged, this,
            [this] { RefreshCandidates(); });
    OnClicked(kIdClearName, [this] { SetText(kIdNameFilter, ""); });

    OnClicked(kIdAddExcluded, [this] { OnBnClickedAddExcluded(); });
    OnClicked(kIdExcludeAll, [this] { OnBnClickedExcludeAll(); });
    OnClicked(kIdAddFixed, [this] { OnBnClickedAddFixed(); });
    OnClicked(kIdAttach, [this] { OnBnClickedAttach(); });
    OnClicked(kIdDetach, [this] { OnBnClickedDetach(); });
    OnSelChange(kIdWeaponSlots, [this] { OnCbnSelchangeWeaponSlots(); });
    OnClicked(kIdClearFixed, [this] { OnBnClickedClearFixed(); });
    OnClicked(kIdClearExcluded, [this] { OnBnClickedClearExcluded(); });
    OnClicked(kIdLoadFixed, [this] { OnBnClickedLoadFixed(); });
    OnClicked(kIdSaveFixed, [this] { OnBnClickedSaveFixed(); });
    OnClicked(kIdLoadExcluded, [this] { OnBnClickedLoadExcluded(false); });
    OnClicked(kIdAddLoadExcluded, [this] { OnBnClickedLoadExcluded(true); });
    OnClicked(kIdSaveExcluded, [this] { OnBnClickedSaveExcluded(); });
    OnClicked(kIdClip, [this] { CopyFixedToClipboard(); });
    OnClicked(kIdOk, [this] { OnBnClickedOk(); });
    OnClicked(kIdCancel, [this] { OnCancel(); });
}

void CCustomEquipDlg::ConnectLists() {
    ui::CReportList& excluded = ExcludedList();
    connect(&m_listCandidates, &ui::CReportList::itemDoubleClicked, this,
            [this](int, Qt::KeyboardModifiers modifiers) {
                OnDblclkCandidates(modifiers & Qt::ControlModifier);
            });
    connect(&m_listFixed, &ui::CReportList::itemDoubleClicked, this, [this] { OnDblclkFixed(); });
    connect(&excluded, &ui::CReportList::itemDoubleClicked, this, [this] { OnDblclkExcluded(); });
    // The buttons follow the selection of both lists, however it moves.
    for (ui::CReportList* list : {static_cast<ui::CReportList*>(&m_listCandidates),
                                  static_cast<ui::CReportList*>(&m_listFixed)}) {
        connect(list, &ui::CReportList::itemChanged, this,
                [this](const ui::CReportList::ItemChange& change) {
                    if (change.BecameSelected()) {
                        UpdateButtons();
                    }
                });
        connect(list, &QAbstractItemView::clicked, this, [this] { UpdateButtons(); });
        connect(list, &ui::CReportList::keyDown, this, [this] { UpdateButtons(); });
    }
    for (ui::CReportList* list : {static_cast<ui::CReportList*>(&m_listCandidates),
                                  static_cast<ui::CReportList*>(&m_listFixed),
                                  static_cast<ui::CReportList*>(&m_listTotals), &excluded}) {
        connect(list, &ui::CReportList::headerClicked, this,
                [this, list](int column) { OnHeaderClick(*list, column); });
    }
    m_listCandidates.SetCustomDraw([](int row, int) { return equip_browser::ShadedRow(row); });
    m_listTotals.SetCustomDraw(
        [this](int row, int column) { return OnCustomdrawTotals(row, column); });
}

void CCustomEquipDlg::CreateColumns() {
    constexpr auto L = ui::CReportList::kLeft;
    constexpr auto R = ui::CReportList::kRight;
    ui::CReportList& excluded = ExcludedList();
    // The excluded and the fixed list begin with the candidates' kind, rarity, name, defence and
    // slot columns; the fixed list adds its three decorations.
    for (int column = CListCtrlEquip::kColKind; column <= CListCtrlEquip::kColSlots; ++column) {
        for (ui::CReportList* list : {&excluded, static_cast<ui::CReportList*>(&m_listFixed)}) {
            list->InsertColumn(column, m_listCandidates.GetColumnHeader(column),
                               m_listCandidates.GetColumnWidth(column),
                               m_listCandidates.GetColumnAlign(column));
        }
    }
    for (int k = 0; k < 3; ++k) {
        m_listFixed.InsertColumn(kFixedFirstDeco + k, "", 50, L);
    }

    m_listTotals.InsertColumn(0, "系統", 70, L);
    m_listTotals.InsertColumn(1, shown::kWeaponName, 32, R);
    for (int k = 0; k < kSlotCount; ++k) {
        m_listTotals.InsertColumn(2 + k, shown::kSlotNames[k], 32, R);
    }
    m_listTotals.InsertColumn(7, "計", 32, R);
    m_listTotals.InsertColumn(8, "発動スキル", 130, L);
}

void CCustomEquipDlg::ResetControls() {
    CheckRadio(m_pConfig->m_nCustomSex == 1 ? kIdMale : kIdFemale);
    CheckRadio(m_pConfig->m_nCustomWeapon == 1 ? kIdBlade : kIdGunner);
    CheckRadio(kIdAllKinds);
    for (int id : {kIdLowTier, kIdHighTier, kIdGTier}) {
        SetCheck(id, true);
    }
    {
        const QSignalBlocker quiet(Control<QLineEdit>(kIdNameFilter));
        SetText(kIdNameFilter, "");
    }
    FillSkillBox();
    auto* rarity = Control<QComboBox>(kIdRarity);
    rarity->clear();
    rarity->addItem(QStringLiteral("全"), -1);
    for (int value = 0; value <= 10; ++value) {
        rarity->addItem(QString::number(value), value);
    }
    auto* weapon = Control<QComboBox>(kIdWeaponSlots);
    weapon->clear();
    for (int value = 0; value <= 3; ++value) {
        weapon->addItem(QString::number(value), value);
    }
    rarity->setCurrentIndex(0);
    weapon->setCurrentIndex(0);

    m_excluded.clear();
    FillExcludedList();
    CreateFixedRows();
    RefreshCandidates();
    UpdateExcludedCount();
}

void CCustomEquipDlg::StoreRadios() const {
    StoreRadiosInto(m_pConfig->m_nCustomSex, m_pConfig->m_nCustomWeapon);
}

// A failed save has shown its message; the dialog closes all the same.
void CCustomEquipDlg::OnBnClickedOk() {
    StoreRadios();
    SaveFixedSet();
    SaveExcludedList();
    EndDialog(ui::kIdOk);
}

// Esc and the close box ask, as the owned-equipment dialog does, before edits are thrown away.
void CCustomEquipDlg::OnCancel() {
    if (!ClosesWithoutSaving(EditsChanged(), "固定装備・除外装備の変更を保存しますか？",
                             [this] { OnBnClickedOk(); })) {
        return;
    }
    StoreRadios();
    EndDialog(ui::kIdCancel);
}
