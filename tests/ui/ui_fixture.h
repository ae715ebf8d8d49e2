#pragma once

#include <QPoint>
#include <QString>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <string>

#include "support/temp_folder.h"
#include "ui/framework/scripted_prompter.h"
#include "ui/simulator_dlg.h"

// Skill-table rows of the tiny tables, by index.
enum TinySkill {
    kAttackSmall = 0, // 攻撃力UP【小】 攻撃 +10
    kAttackMedium,    // 攻撃力UP【中】 攻撃 +15
    kCritical,        // 会心＋１ 会心 +10
    kCriticalMinus,   // 会心－１ 会心 -10
    kPoison,          // 耐毒 耐毒 +10, survival
    kSniper,          // 狙い撃ち 狙い +10, gunners only
    kDrawAttack,      // 抜刀術 抜刀 +10, blade users only
    kWindPressure,    // 風圧無効 風圧 +15, survival
    kHealthMinus,     // 体力－１０ 体力 -10, minus category
    kRecovery,        // 回復速度＋１ 回復 +10, support
    kLuck,            // 運気 幸運 +10, other
    kTinySkillCount
};

// Input sent the way a person's input arrives at a widget, so that the widget's own event handling
// runs: press, release, double click and release at a position of `target` (a list's viewport),
// and a key press with its text.
void SendDoubleClick(QWidget& target, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void SendKey(QWidget& target, int key, const QString& text = {});

// A program folder in a temporary directory holding the tiny tables (or a copy of the bundled
// ones), for the main window to start on.
class UiFolder : public TempFolder {
public:
    UiFolder();
    void UseBundledTables() const;
    void RemoveTable(const std::string& file) const;
};

// A started main window on a folder, with a scripted prompter.
class MainWindowTest : public testing::Test {
protected:
    // Constructs and initialises the window; false when the start-up failed.
    bool Start();
    void TearDown() override;

    // UTF-8 text of a list cell.
    static std::string Cell(const ui::CReportList& list, int row, int column);
    ui::CReportList& SkillList() const;
    ui::CReportList& ChosenList() const;
    // Selects the row of the skill list that shows `skill`, then double-clicks it as the user.
    void DoubleClickSkill(int skill);
    // The skill-table indices of the chosen-skill rows, in order.
    std::vector<int> ChosenSkills() const;
    std::vector<int> SkillListIndices() const;
    void SelectCategory(int index);

    UiFolder folder;
    ui::ScriptedPrompter prompter;
    std::unique_ptr<CSimulatorDlg> dialog;
};
