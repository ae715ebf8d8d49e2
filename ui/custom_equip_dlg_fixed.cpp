#include <QComboBox>

#include "engine/tables/shown_names.h"
#include "lists/fixed_set_file.h"
#include "platform/sjis.h"
#include "res/dialog_129.h"
#include "ui/custom_equip_dlg.h"
#include "ui/equip_browser.h"
#include "ui/list_file_dialogs.h"
#include "ui/slot_marks.h"

using namespace res::custom_equip;

namespace {

using Col = CListCtrlEquip;

// The fixed rows are the five slots, then the weapon.
std::string RowLabel(int row) {
    return platform::Utf8ToSjis(row < kSlotCount ? shown::kSlotNames[row] : shown::kWeaponName);
}

std::string DecoName(const CDecoData* deco) {
    return deco != nullptr ? std::string(deco->name) : std::string();
}

} // namespace

void CCustomEquipDlg::CreateFixedRows() {
    m_listFixed.m_bNoNotify = 1;
    m_listFixed.DeleteAllItems();
    m_fixed = FixedRows{};
    m_bWeaponLabel = false;
    for (int row = 0; row < kFixedRowCount; ++row) {
        m_listFixed.InsertItem(row, RowLabel(row));
        ShowFixedRow(row);
    }
    m_listFixed.m_bNoNotify = 0;
    m_listFixed.SelectRow(0);
}

// Everything but the label comes from m_fixed; a piece change reaches the list's item data, which
// makes the fixed list ask for new totals.
void CCustomEquipDlg::ShowFixedRow(int row) {
    const FixedRow& fixed = m_fixed.rows[row];
    if (row < kSlotCount) {
        const CEquipData* piece = fixed.piece;
        m_listFixed.SetItemText(row, Col::kColRarity, piece ? std::to_string(piece->rarity) : "");
        m_listFixed.SetItemText(row, Col::kColName, piece ? std::string(piece->name) : "");
        m_listFixed.SetItemText(row, Col::kColDefence,
                                piece ? std::to_string(piece->EffectiveDefense()) : "");
    } else {
        m_listFixed.SetItemText(row, Col::kColName,
                                m_bWeaponLabel ? platform::Utf8ToSjis("武器スロット") : "");
    }
    m_listFixed.SetItemText(row, Col::kColSlots, SlotMarks(m_fixed.RowSlots(row), fixed.freeSlots));
    for (int place = 0; place < 3; ++place) {
        m_listFixed.SetItemText(row, kFixedFirstDeco + place, DecoName(fixed.decos[place]));
    }
    const auto data = reinterpret_cast<std::uintptr_t>(row < kSlotCount ? fixed.piece : nullptr);
    if (m_listFixed.GetItemData(row) != data) {
        m_listFixed.SetItemData(row, data);
    }
}

void CCustomEquipDlg::ShowAllFixedRows() {
    for (int row = 0; row < kFixedRowCount; ++row) {
        ShowFixedRow(row);
    }
}

void CCustomEquipDlg::ResetFixedRow(int row, int slots) {
    ::ResetFixedRow(m_fixed.rows[row], slots);
    ShowFixedRow(row);
}

void CCustomEquipDlg::AttachDecoration(int row, CDecoData* deco) {
    if (::AttachDecoration(m_fixed.rows[row], deco)) {
        ShowFixedRow(row);
    }
}

void CCustomEquipDlg::OnBnClickedAddFixed() {
    const EquipRow* candidate = SelectedCandidate();
    if (candidate == nullptr) {
        return;
    }
    if (!candidate->bArmour) {
        OnBnClickedAttach();
        return;
    }
    PutIntoFixedSet(*candidate);
}

void CCustomEquipDlg::PutIntoFixedSet(const EquipRow& candidate) {
    CEquipData* piece = equip_browser::PieceOf(candidate);
    const int row = piece->kind;
    if (row < 0 || row >= kSlotCount) {
        return;
    }
    SetFixedPiece(m_fixed.rows[row], piece);
    ShowFixedRow(row);
    // "装着" acts on the selected row, which must now be the one the piece went into.
    m_listFixed.SelectRow(row);
    UpdateButtons();
    RecalcTotals();
}

void CCustomEquipDlg::OnBnClickedAttach() {
    const EquipRow* candidate = SelectedCandidate();
    const int row = m_listFixed.GetSelectedRow();
    if (candidate == nullptr || candidate->bArmour || row < 0 || row >= kFixedRowCount) {
        return;
    }
    CDecoData* deco = equip_browser::DecoOf(*candidate);
    if (deco->size == 0 || (row < kSlotCount && m_fixed.rows[row].piece == nullptr)) {
        return;
    }
    if (m_fixed.rows[row].freeSlots < deco->size) {
        GetPrompter().MessageBox("空きスロットが足りません");
        return;
    }
    AttachDecoration(row, deco);
    RecalcTotals();
}

void CCustomEquipDlg::OnBnClickedDetach() {
    const int row = m_listFixed.GetSelectedRow();
    if (row < 0 || row >= kFixedRowCount) {
        return;
    }
    ResetFixedRow(row, m_fixed.RowSlots(row));
    UpdateButtons();
    RecalcTotals();
}

// Decorations go first; only a row without them loses its piece. The weapon row has no piece.
void CCustomEquipDlg::OnDblclkFixed() {
    const int row = m_listFixed.GetSelectedRow();
    if (row < 0 || row >= kFixedRowCount) {
        return;
    }
    if (m_fixed.rows[row].decos[0] != nullptr) {
        OnBnClickedDetach();
    } else if (row < kSlotCount && m_fixed.rows[row].piece != nullptr) {
        RemoveFromFixedRow(row);
    }
}

void CCustomEquipDlg::RemoveFromFixedRow(int row) {
    ClearFixedRow(m_fixed.rows[row]);
    ShowFixedRow(row);
    UpdateButtons();
    RecalcTotals();
}

void CCustomEquipDlg::OnCbnSelchangeWeaponSlots() {
    // Picking the count the box already shows is no change and keeps the weapon's decorations.
    const int slots = Control<QComboBox>(kIdWeaponSlots)->currentIndex();
    if (slots < 0 || slots == m_fixed.weaponSlots) {
        return;
    }
    m_fixed.weaponSlots = slots;
    ResetFixedRow(kWeaponPosition, slots);
    RecalcTotals();
}

void CCustomEquipDlg::OnBnClickedClearFixed() {
    for (int row = 0; row < kSlotCount; ++row) {
        ClearFixedRow(m_fixed.rows[row]);
    }
    ::ResetFixedRow(m_fixed.rows[kWeaponPosition], m_fixed.weaponSlots);
    ShowAllFixedRows();
    UpdateButtons();
    RecalcTotals();
}

void CCustomEquipDlg::UpdateButtons() {
    const int fixedRow = m_listFixed.GetSelectedRow();
    if (fixedRow < 0 || fixedRow >= kFixedRowCount) {
        return;
    }
    for (int row = 0; row < kSlotCount; ++row) {
        if (m_fixed.rows[row].piece == nullptr) {
            ResetFixedRow(row, 0);
        }
    }
    Enable(kIdDetach, true);
    const EquipRow* candidate = SelectedCandidate();
    if (candidate == nullptr) {
        return;
    }
    const bool decoration = !candidate->bArmour;
    Enable(kIdAddFixed, !decoration);
    Enable(kIdAttach,
           decoration && (fixedRow == kWeaponPosition || m_fixed.rows[fixedRow].piece != nullptr));
}

void CCustomEquipDlg::OnBnClickedLoadFixed() {
    OpenListFile(GetPrompter(), ListFileKind::kFixedSet,
                 [this](const std::string& path) { LoadFixedSet(path); });
}

void CCustomEquipDlg::OnBnClickedSaveFixed() {
    SaveListFile(GetPrompter(), ListFileKind::kFixedSet,
                 [this](const std::string& path) { SaveFixedSet(path); });
}

bool CCustomEquipDlg::SaveFixedSet(const std::optional<std::string>& path) {
    return m_fixedFile.Save(path, [this](const std::string& file, platform::MessageSink& sink) {
        return ::SaveFixedSet(m_fixed, file, sink);
    });
}

// The rows are filled with the fixed list's recalculation held back, then the totals are made
// once for the whole set.
bool CCustomEquipDlg::LoadFixedSet(const std::optional<std::string>& path) {
    m_listFixed.m_bNoNotify = 1;
    const bool loaded =
        m_fixedFile.Load(path, [this](const std::string& file, platform::MessageSink& sink) {
            return ::LoadFixedSet(m_fixed, *m_pDatabase, file, sink);
        });
    if (loaded) {
        m_bWeaponLabel = true;
        Control<QComboBox>(kIdWeaponSlots)->setCurrentIndex(m_fixed.weaponSlots);
        ShowAllFixedRows();
    }
    m_listFixed.m_bNoNotify = 0;
    if (loaded) {
        RecalcTotals();
    }
    return loaded;
}

CEquipSet CCustomEquipDlg::FixedAsSet() const {
    CEquipSet set;
    for (int position = 0; position < kPositionCount; ++position) {
        const FixedRow& row = m_fixed.rows[position];
        if (position < kSlotCount) {
            set.pieces[position] = row.piece;
            if (row.piece == nullptr) {
                continue;
            }
        }
        std::copy(std::begin(row.decos), std::end(row.decos), set.decos[position]);
    }
    set.weaponSlots = m_fixed.weaponSlots;
    return set;
}
