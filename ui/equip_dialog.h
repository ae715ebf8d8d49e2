#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "config/config_data.h"
#include "engine/tables/equip_database.h"
#include "ui/equip_browser.h"
#include "ui/framework/prompter_sink.h"
#include "ui/framework/template_dialog.h"
#include "ui/list_ctrl_equip.h"

// What the fixed/excluded and the owned equipment dialogs share: the tables and settings they
// are given, a modal showing that starts from the opening every time, and the candidate browser
// over the tables. Both templates give the browser's filter controls the same ids.
class CEquipDialog : public ui::CTemplateDialog {
    Q_OBJECT
public:
    void SetData(const CEquipDatabase& database, CConfigData& config);

    // Shows the dialog modally, each time from its opening state.
    int DoModal();
    // The opening: controls to their first state, then the lists from the program's files.
    virtual void Open() = 0;

    // The selected candidate, null without one.
    const EquipRow* SelectedCandidate() const;
    // Esc and the close box.
    virtual void OnCancel() = 0;

    CConfigData* m_pConfig = nullptr;
    CListCtrlEquip m_listCandidates;

protected:
    // `programFolder` ends in '/': the dialog's list files are read and written there.
    // `nameFilterIds` are the dialog's name-filter edits.
    CEquipDialog(const res::DialogTemplate& dialog, std::string programFolder,
                 std::initializer_list<int> nameFilterIds, ui::Prompter& prompter, QWidget* parent);

    bool OnInitDialog() override;
    void OnClose() override;
    // Esc.
    void reject() override;
    // Enter in a name filter filters as typing does and must not also press the default button.
    bool PreTranslateKey(QObject* target, const QKeyEvent& event) override;
    // Whether Esc or the close box closes the dialog without saving: yes when nothing `changed`
    // or the player discards the edits when asked `question` ("…の変更を保存しますか？"). Saving
    // goes through `save`, OK's handler, which closes the dialog itself; cancelling stays.
    bool ClosesWithoutSaving(bool changed, const char* question, const std::function<void()>& save);
    // Lets a dialog fit its lists to the tables it is given.
    virtual void OnSetData(const CEquipDatabase&) {}

    // Keeps the sex and weapon-type radios as the configuration does: 1 for male and blade, else 2.
    void StoreRadiosInto(int& sex, int& weapon) const;
    // The sex and weapon-type radios with the name filter and skill box of one list.
    equip_browser::Filter BrowserFilter(int nameFilterId, int skillBoxId) const;
    // Fills the candidate list with the table records of the category that pass the filter.
    void ShowCandidates(const equip_browser::Filter& filter, int category);
    const std::vector<CSkillData*>& SkillTable() const { return m_pDatabase->Skills(); }

    const std::string m_programFolder;
    ui::PrompterSink m_sink;
    const CEquipDatabase* m_pDatabase = nullptr;

private:
    const std::vector<int> m_nameFilterIds;
};
