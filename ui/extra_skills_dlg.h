#pragma once

#include <functional>
#include <vector>

#include "engine/tables/records.h"
#include "ui/framework/template_dialog.h"

// The answer of "追加スキル検索" (dialog 141): the skill levels that some set reaches together with
// the condition, by category as the skill list orders them. A double click hands the level to
// `add`, which puts it on the chosen-skill list.
class CExtraSkillsDlg : public ui::CTemplateDialog {
    Q_OBJECT
public:
    CExtraSkillsDlg(const std::vector<CSkillData*>& skills, std::vector<int> rows,
                    std::function<void(int skillIndex)> add, ui::Prompter& prompter,
                    QWidget* parent = nullptr);

    void OnDblclkSkills();

protected:
    bool OnInitDialog() override;

private:
    const std::vector<CSkillData*>& skills_;
    std::vector<int> rows_;
    std::function<void(int)> add_;
};
