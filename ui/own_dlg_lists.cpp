#include <algorithm>

#include "lists/owned_list_file.h"
#include "res/dialog_131.h"
#include "ui/equip_browser.h"
#include "ui/list_file_dialogs.h"
#include "ui/own_dlg.h"

using namespace res::own_equip;

namespace {

template <class Record> void Remove(std::vector<Record*>& records, const Record* record) {
    const auto found = std::find(records.begin(), records.end(), record);
    if (found != records.end()) {
        records.erase(found);
    }
}

void RemoveOwned(OwnedLists& owned, const EquipRow& row) {
    if (const CEquipData* piece = row.Armour()) {
        if (piece->kind >= 0 && piece->kind < kSlotCount) {
            Remove(owned.armor[piece->kind], piece);
        }
    } else {
        Remove(owned.decos, row.Deco());
    }
}

std::string CountText(int count) {
    return std::to_string(count) + "件";
}

} // namespace

void COwnDlg::RefreshCandidates() {
    ShowCandidates(BrowserFilter(kIdNameFilter, kIdSkill),
                   equip_browser::CategoryOf(*this, kCategoryIds));
    SetText(kIdCandidateCount, CountText(m_listCandidates.RowCount()));
}

void COwnDlg::RefreshOwned() {
    equip_browser::Sources sources;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        sources.armour[slot] = &m_owned.armor[slot];
    }
    sources.decos = &m_owned.decos;
    const int category = equip_browser::CategoryOf(*this, kOwnedCategoryIds);
    equip_browser::ShowRows(
        m_listOwned, equip_browser::CollectRows(BrowserFilter(kIdOwnedNameFilter, kIdOwnedSkill),
                                                category, sources));
    UpdateOwnedCount();
}

void COwnDlg::UpdateOwnedCount() {
    SetText(kIdOwnedCount, CountText(m_listOwned.RowCount()));
}

void COwnDlg::AddCandidate(const EquipRow& row) {
    if (CEquipData* piece = equip_browser::PieceOf(row)) {
        m_owned.Add(piece);
    } else {
        m_owned.Add(equip_browser::DecoOf(row));
    }
}

// The owned view turns to the new entry's kind; its other filters stay, so the entry shows only
// when it passes them.
void COwnDlg::OnBnClickedAddOwned() {
    const EquipRow* row = SelectedCandidate();
    if (row == nullptr) {
        return;
    }
    const int kind = equip_browser::KindOf(*row);
    const bool owned =
        row->bArmour ? m_owned.Contains(row->Armour()) : m_owned.Contains(row->Deco());
    if (owned || kind < 0 || kind > kDecoKind) {
        return;
    }
    CheckRadio(kOwnedCategoryIds[kind + 1]);
    AddCandidate(*row);
    RefreshOwned();
}

void COwnDlg::OnBnClickedAddAll() {
    CheckRadio(kIdOwnedAll);
    for (int index = 0; index < m_listCandidates.RowCount(); ++index) {
        const EquipRow* row = m_listCandidates.Row(index);
        if (row->pRecord != nullptr) {
            AddCandidate(*row);
        }
    }
    RefreshOwned();
}

void COwnDlg::OnDblclkOwned() {
    const int index = m_listOwned.GetSelectedRow();
    const EquipRow* row = m_listOwned.Row(index);
    if (row == nullptr || row->pRecord == nullptr) {
        return;
    }
    RemoveOwned(m_owned, *row);
    m_listOwned.DeleteRow(index);
    UpdateOwnedCount();
    m_listOwned.Redraw();
}

// Only what the filters show goes; hidden owned entries stay owned.
void COwnDlg::OnBnClickedClearOwned() {
    for (int index = 0; index < m_listOwned.RowCount(); ++index) {
        if (const EquipRow* row = m_listOwned.Row(index); row->pRecord != nullptr) {
            RemoveOwned(m_owned, *row);
        }
    }
    m_listOwned.SetRowCount(0);
    UpdateOwnedCount();
}

void COwnDlg::OnBnClickedLoadOwned(bool add) {
    OpenListFile(GetPrompter(), ListFileKind::kOwnedList, [this, add](const std::string& path) {
        LoadOwnedList(add, path);
        RefreshOwned();
    });
}

void COwnDlg::OnBnClickedSaveOwned() {
    SaveListFile(GetPrompter(), ListFileKind::kOwnedList,
                 [this](const std::string& path) { SaveOwnedList(path); });
}

bool COwnDlg::SaveOwnedList(const std::optional<std::string>& path) {
    return m_ownedFile.Save(path, [this](const std::string& file, platform::MessageSink& sink) {
        return ::SaveOwnedList(m_owned, file, sink);
    });
}

bool COwnDlg::LoadOwnedList(bool add, const std::optional<std::string>& path) {
    return m_ownedFile.Load(path, [&](const std::string& file, platform::MessageSink& sink) {
        return ::LoadOwnedList(m_owned, *m_pDatabase, add, file, sink);
    });
}
