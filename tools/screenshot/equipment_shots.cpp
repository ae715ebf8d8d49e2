#include "tools/screenshot/equipment_shots.h"

#include <functional>

#include "lists/excluded_list_file.h"
#include "lists/fixed_set_file.h"
#include "lists/list_paths.h"
#include "lists/owned_list_file.h"
#include "platform/message_sink.h"
#include "ui/custom_equip_dlg.h"
#include "ui/equip_info_dlg.h"
#include "ui/own_dlg.h"
#include "ui/simulator_dlg.h"
#include "ui/view_temp_list.h"

namespace {

using Prepared = std::unique_ptr<ui::CTemplateDialog>;

// The first piece of the slot that passes `wanted`, or null.
CEquipData* FirstPiece(const CSimulatorDlg& dialog, int slot,
                       const std::function<bool(const CEquipData&)>& wanted) {
    for (CEquipData* piece : dialog.m_search.database.Armor(slot)) {
        if (wanted(*piece)) {
            return piece;
        }
    }
    return nullptr;
}

CDecoData* FirstDeco(const CSimulatorDlg& dialog, int size) {
    for (CDecoData* deco : dialog.m_search.database.Decos()) {
        if (deco->size == size) {
            return deco;
        }
    }
    return nullptr;
}

bool HasSlots(const CEquipData& piece, int slots) {
    return piece.slots >= slots && piece.sex != 2 && piece.job != 2;
}

// A fixed set whose waist piece doubles the body, with a decoration in the head and the weapon,
// so that the totals show the doubling marker and the tinted body column.
void WriteFixedSet(const CSimulatorDlg& dialog, platform::MessageSink& sink) {
    FixedRows rows;
    SetFixedPiece(rows.rows[kHead], FirstPiece(dialog, kHead, [](const CEquipData& piece) {
                      return HasSlots(piece, 2);
                  }));
    SetFixedPiece(rows.rows[kBody], FirstPiece(dialog, kBody, [](const CEquipData& piece) {
                      return HasSlots(piece, 1);
                  }));
    SetFixedPiece(rows.rows[kWaist], FirstPiece(dialog, kWaist, [](const CEquipData& piece) {
                      return piece.bodyDoubling != 0;
                  }));
    AttachDecoration(rows.rows[kHead], FirstDeco(dialog, 1));
    rows.weaponSlots = 1;
    ResetFixedRow(rows.rows[kWeaponPosition], 1);
    AttachDecoration(rows.rows[kWeaponPosition], FirstDeco(dialog, 1));
    SaveFixedSet(rows, FixedSetPath(dialog.ProgramFolder()), sink);
}

void WriteExcludedList(const CSimulatorDlg& dialog, platform::MessageSink& sink) {
    ExcludedRows rows;
    for (int k = 0; k < 3; ++k) {
        rows.push_back(MakeExcludedRow(dialog.m_search.database.Armor(kArm)[k]));
    }
    rows.push_back(MakeExcludedRow(dialog.m_search.database.Armor(kLeg)[0]));
    rows.push_back(MakeExcludedRow(FirstDeco(dialog, 2)));
    SaveExcludedList(rows, ExcludedListPath(dialog.ProgramFolder()), sink);
}

void WriteOwnedList(const CSimulatorDlg& dialog, platform::MessageSink& sink) {
    OwnedLists owned;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        for (int k = 0; k < 3; ++k) {
            owned.Add(dialog.m_search.database.Armor(slot)[k]);
        }
    }
    for (int k = 0; k < 4; ++k) {
        owned.Add(dialog.m_search.database.Decos()[k]);
    }
    SaveOwnedList(owned, OwnedListPath(dialog.ProgramFolder()), sink);
}

Prepared CustomEquipDialog(CSimulatorDlg& dialog) {
    platform::StderrSink sink;
    WriteFixedSet(dialog, sink);
    WriteExcludedList(dialog, sink);
    auto custom =
        std::make_unique<CCustomEquipDlg>(dialog.ProgramFolder(), dialog.GetPrompter(), &dialog);
    custom->SetData(dialog.m_search.database, dialog.m_config);
    return custom;
}

Prepared OwnDialog(CSimulatorDlg& dialog) {
    platform::StderrSink sink;
    WriteOwnedList(dialog, sink);
    auto own = std::make_unique<COwnDlg>(dialog.ProgramFolder(), dialog.GetPrompter(), &dialog);
    own->SetData(dialog.m_search.database, dialog.m_config);
    return own;
}

Prepared TempListDialog(CSimulatorDlg& dialog) {
    CListCtrlResultEquip& list = dialog.m_listSetEquip;
    const CEquipDatabase& database = dialog.m_search.database;
    list.AddTempFixed(*database.Armor(kHead)[1]);
    list.AddTempFixed(*database.Armor(kLeg)[2]);
    list.AddTempExcluded(*database.Armor(kBody)[0]);
    list.AddTempExcluded(*database.Armor(kBody)[3]);
    list.AddTempExcluded(*database.Armor(kWaist)[1]);
    return std::make_unique<CViewTempList>(list.m_tempFixed, list.m_tempExcluded,
                                           dialog.GetPrompter(), &dialog);
}

Prepared MaterialsDialog(CSimulatorDlg& dialog) {
    auto info = std::make_unique<CEquipInfoDlg>(dialog.GetPrompter(), &dialog);
    info->m_pEquip = FirstPiece(dialog, kWaist, [](const CEquipData& piece) {
        return CEquipInfoDlg::MaterialCount(piece) >= 4;
    });
    return info;
}

} // namespace

std::vector<Shot> EquipmentShots() {
    return {
        {"custom_equip", [](CSimulatorDlg&) {}, CustomEquipDialog},
        {"own_equip", [](CSimulatorDlg&) {}, OwnDialog},
        {"temp_list", [](CSimulatorDlg&) {}, TempListDialog},
        {"materials", [](CSimulatorDlg&) {}, MaterialsDialog},
    };
}
