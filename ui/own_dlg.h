#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lists/owned_lists.h"
#include "ui/equip_dialog.h"
#include "ui/refused_file_keeper.h"

// The owned equipment dialog (dialog 131): a candidate browser over the loaded tables above, the
// owned list with filters of its own below. The owned list comes from OwnEquip.dat at every
// opening and goes back only by OK.
//
// The main window keeps one object for its whole life and shows it as often as the user asks.
// The owned arrays belong to the object: an opening that cannot read OwnEquip.dat keeps what
// they held, and a later OK saves it. The controls start afresh at every showing. There is no
// cancel button: Esc and the close box ask whether changed lists are to be saved. Opening and
// closing are in own_dlg.cpp, the two lists and their buttons in own_dlg_lists.cpp. Handlers are
// public so that tests can drive the dialog.
class COwnDlg : public CEquipDialog {
    Q_OBJECT
public:
    COwnDlg(std::string programFolder, ui::Prompter& prompter, QWidget* parent = nullptr);

    // Controls to their first state, then the owned list from OwnEquip.dat.
    void Open() override;

    // --- The two lists (own_dlg_lists.cpp) ---
    void RefreshCandidates();
    void RefreshOwned();
    void OnBnClickedAddOwned();
    void OnBnClickedAddAll();
    void OnDblclkOwned();
    void OnBnClickedClearOwned();
    void OnBnClickedLoadOwned(bool add);
    void OnBnClickedSaveOwned();
    // Without a path OwnEquip.dat of the program folder is used.
    bool SaveOwnedList(const std::optional<std::string>& path = std::nullopt);
    bool LoadOwnedList(bool add, const std::optional<std::string>& path = std::nullopt);

    void OnBnClickedOk();
    // Esc and the close box: with the lists changed since the opening, asks "保存" (as OK),
    // "破棄" (back to the lists of the opening) or "キャンセル" (the dialog stays).
    void OnCancel() override;
    bool OwnedChanged() const;

    // Members. m_owned holds the owned arrays, one per slot and one of decorations.
    CListCtrlEquip m_listOwned;
    OwnedLists m_owned;

private:
    void OnSetData(const CEquipDatabase& database) override;
    void ConnectMessageMap();
    void ConnectLists();
    void ResetControls();
    void StoreRadios() const;
    void AddCandidate(const EquipRow& row);
    void UpdateOwnedCount();

    RefusedFileKeeper m_ownedFile;
    // The owned lists as the opening left them.
    OwnedLists m_openedOwned;
};
