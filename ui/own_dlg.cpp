#include "ui/own_dlg.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include "lists/list_paths.h"
#include "res/dialog_131.h"
#include "ui/equip_browser.h"

using namespace res::own_equip;

COwnDlg::COwnDlg(std::string programFolder, ui::Prompter& prompter, QWidget* parent)
    : CEquipDialog(res::kDialog131, std::move(programFolder), {kIdNameFilter, kIdOwnedNameFilter},
                   prompter, parent),
      m_ownedFile(OwnedListPath(m_programFolder), m_sink) {
    SubclassItem(kIdOwned, m_listOwned);
    equip_browser::CreateEquipColumns(m_listOwned);
    ConnectMessageMap();
    ConnectLists();
}

void COwnDlg::Open() {
    ResetControls();
    RefreshCandidates();
    LoadOwnedList(false);
    m_openedOwned = m_owned;
    RefreshOwned();
}

void COwnDlg::ConnectMessageMap() {
    for (int id : kCategoryIds) {
        OnClicked(id, [this] { RefreshCandidates(); });
    }
    for (int id : kOwnedCategoryIds) {
        OnClicked(id, [this] { RefreshOwned(); });
    }
    for (int id : {kIdMale, kIdFemale, kIdBothSexes, kIdBlade, kIdGunner, kIdBothWeapons}) {
        OnClicked(id, [this] {
            RefreshOwned();
            RefreshCandidates();
        });
    }
    OnSelChange(kIdSkill, [this] { RefreshCandidates(); });
    OnSelChange(kIdOwnedSkill, [this] { RefreshOwned(); });
    connect(Control<QLineEdit>(kIdNameFilter), &QLineEdit::textChanged, this,
            [this] { RefreshCandidates(); });
    connect(Control<QLineEdit>(kIdOwnedNameFilter), &QLineEdit::textChanged, this,
            [this] { RefreshOwned(); });
    OnClicked(kIdClearName, [this] { SetText(kIdNameFilter, ""); });
    OnClicked(kIdClearOwnedName, [this] { SetText(kIdOwnedNameFilter, ""); });

    OnClicked(kIdAddOwned, [this] { OnBnClickedAddOwned(); });
    OnClicked(kIdAddAll, [this] { OnBnClickedAddAll(); });
    OnClicked(kIdClearOwned, [this] { OnBnClickedClearOwned(); });
    OnClicked(kIdLoadOwned, [this] { OnBnClickedLoadOwned(false); });
    OnClicked(kIdAddLoadOwned, [this] { OnBnClickedLoadOwned(true); });
    OnClicked(kIdSaveOwned, [this] { OnBnClickedSaveOwned(); });
    OnClicked(kIdOk, [this] { OnBnClickedOk(); });
}

void COwnDlg::OnSetData(const CEquipDatabase& database) {
    m_listOwned.SetSkillSystems(database.SkillSystems());
}

void COwnDlg::ConnectLists() {
    connect(&m_listCandidates, &ui::CReportList::itemDoubleClicked, this,
            [this] { OnBnClickedAddOwned(); });
    connect(&m_listOwned, &ui::CReportList::itemDoubleClicked, this, [this] { OnDblclkOwned(); });
    for (CListCtrlEquip* list : {&m_listCandidates, &m_listOwned}) {
        connect(list, &ui::CReportList::headerClicked, this,
                [list](int column) { list->SortByColumn(column); });
        list->SetCustomDraw([](int row, int) { return equip_browser::ShadedRow(row); });
    }
}

void COwnDlg::ResetControls() {
    const int sex = m_pConfig->m_nOwnSex;
    const int weapon = m_pConfig->m_nOwnWeapon;
    CheckRadio(sex == 1 ? kIdMale : sex == 2 ? kIdFemale : kIdBothSexes);
    CheckRadio(weapon == 1 ? kIdBlade : weapon == 2 ? kIdGunner : kIdBothWeapons);
    CheckRadio(kIdAllKinds);
    CheckRadio(kIdOwnedAll);
    for (int id : std::initializer_list<int>{kIdNameFilter, kIdOwnedNameFilter}) {
        const QSignalBlocker quiet(Control<QLineEdit>(id));
        SetText(id, "");
    }
    for (int id : std::initializer_list<int>{kIdSkill, kIdOwnedSkill}) {
        equip_browser::FillSkillSystemBox(*Control<QComboBox>(id), *m_pDatabase);
    }
}

void COwnDlg::StoreRadios() const {
    StoreRadiosInto(m_pConfig->m_nOwnSex, m_pConfig->m_nOwnWeapon);
}

// A failed save has shown its message; the dialog closes all the same.
void COwnDlg::OnBnClickedOk() {
    SaveOwnedList();
    StoreRadios();
    EndDialog(ui::kIdOk);
}

bool COwnDlg::OwnedChanged() const {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (m_owned.armor[slot] != m_openedOwned.armor[slot]) {
            return true;
        }
    }
    return m_owned.decos != m_openedOwned.decos;
}

void COwnDlg::OnCancel() {
    if (!ClosesWithoutSaving(OwnedChanged(), "所有装備の変更を保存しますか？",
                             [this] { OnBnClickedOk(); })) {
        return;
    }
    // Discarded for good: a later opening that cannot read OwnEquip.dat keeps the arrays, and a
    // later OK would otherwise save what was discarded here.
    m_owned = m_openedOwned;
    StoreRadios();
    EndDialog(ui::kIdCancel);
}
