#pragma once

#include <QApplication>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

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

// '+' for each control of `ids` that is enabled, '-' for each that is not.
std::string Enabled(const ui::CTemplateDialog& dialog, std::initializer_list<int> ids);

// Runs `open`, which may show a modal dialog of type T: `work` gets the dialog once it is up, and
// the dialog is cancelled afterwards unless `work` ended it. False when no such dialog came up.
template <class T>
bool WorkModal(const std::function<void()>& open, const std::function<void(T&)>& work = {}) {
    bool shown = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget())) {
            poll.stop();
            shown = true;
            if (work) {
                work(*modal);
            }
            if (!modal->IsEnded()) {
                modal->EndDialog(ui::kIdCancel);
            }
        }
    });
    poll.start(5);
    open();
    QApplication::processEvents();
    return shown;
}

// A program folder in a temporary directory holding the tiny tables (or a copy of the bundled
// ones), for the main window to start on.
class UiFolder : public TempFolder {
public:
    UiFolder();
    void UseBundledTables() const;
    // Rows the equipment dialogs need besides: pieces of either sex and weapon type, a
    // body-doubling waist, a larger decoration, a piece with three materials.
    void AddEquipmentRows() const;
};

// A main window whose message pump the test can hook: the engine pumps through it from inside its
// loops, so a hook can press buttons or let the progress timer tick mid-search.
class HookedDialog : public CSimulatorDlg {
public:
    using CSimulatorDlg::CSimulatorDlg;
    void PumpMessages() override;
    void TickTimer() { OnTimer(kSearchTimer); }

    int pumps = 0;
    std::function<void(HookedDialog&)> onPump;
};

// A started main window on a folder, with a scripted prompter.
class MainWindowTest : public testing::Test {
protected:
    // Constructs and initialises the window; false when the start-up failed.
    bool Start();
    void TearDown() override;
    HookedDialog& Hooked() const { return static_cast<HookedDialog&>(*dialog); }

    // UTF-8 text of a list cell, of one column row by row and of one row column by column.
    static std::string Cell(const ui::CReportList& list, int row, int column);
    static std::vector<std::string> Column(const ui::CReportList& list, int column);
    static std::string Row(const ui::CReportList& list, int row); // '|' between the cells
    ui::CReportList& SkillList() const;
    ui::CReportList& ChosenList() const;
    void SelectCategory(int index);
    // Selects the row of the skill list that shows `skill`, then double-clicks it as the user.
    void DoubleClickSkill(int skill);
    // The skill-table index of an activated-skill name (UTF-8), -1 when the tables lack it.
    int SkillIndex(const std::string& utf8Name) const;
    // Chooses the skills from the list of every skill.
    void ChooseSkills(const std::vector<std::string>& utf8Names);
    // The skill-table indices of the rows of a skill list, in order.
    static std::vector<int> Indices(const ui::CReportList& list);
    std::vector<int> ChosenSkills() const { return Indices(ChosenList()); }
    // Presses "検索" and lets the completion message arrive.
    void PressSearch();
    std::string Text(int id) const { return dialog->GetText(id); }

    UiFolder folder;
    ui::ScriptedPrompter prompter;
    std::unique_ptr<CSimulatorDlg> dialog;
};

using Names = std::vector<std::string>;

// A started main window on the tiny tables with the equipment dialogs' rows added.
class EquipWindowTest : public MainWindowTest {
protected:
    void SetUp() override;

    CEquipData* Piece(int slot, const std::string& utf8Name) const;
    // Selects the row whose name column (2) reads `utf8Name`.
    static void SelectByName(ui::CReportList& list, const std::string& utf8Name);
};
