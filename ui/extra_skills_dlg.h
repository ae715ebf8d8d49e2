#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "engine/tables/records.h"
#include "ui/framework/template_dialog.h"

// What the list does with a chosen level: the chosen-skill list it goes to, and the search that
// tells again which levels can still be added together with it.
struct ExtraSkillsChooser {
    std::function<bool()> full;              // the chosen-skill list takes no more levels
    std::function<void(int skillIndex)> add; // puts the level on the chosen-skill list
    // The levels addable now; none when the run was aborted.
    std::function<std::optional<std::vector<int>>()> recompute;
    std::function<void()> abort; // ends a running recompute
    int limit = 5;               // levels the chosen-skill list takes
};

// The answer of "追加スキル検索" (dialog 141): the skill levels that some set reaches together with
// the condition, by category as the skill list orders them. A double click puts the level on the
// chosen-skill list, and the list then offers only what can still be added with it.
class CExtraSkillsDlg : public ui::CTemplateDialog {
    Q_OBJECT
public:
    CExtraSkillsDlg(const std::vector<CSkillData*>& skills, std::vector<int> rows,
                    ExtraSkillsChooser chooser, ui::Prompter& prompter, QWidget* parent = nullptr);

    void OnDblclkSkills();

protected:
    bool OnInitDialog() override;

private:
    void ShowRows();
    void ShowHint();
    void OnClose();

    const std::vector<CSkillData*>& skills_;
    std::vector<int> rows_;
    ExtraSkillsChooser chooser_;
    bool recomputing_ = false;
};
