#pragma once

#include <QDialog>
#include <QEvent>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "res/dialog_template.h"
#include "ui/framework/prompter.h"

class QButtonGroup;
class QKeyEvent;
class QTimer;

namespace ui {

class CReportList;

// A dialog whose controls are built from a dialog template and addressed by id, the way the
// handlers of the program are written ("set control 1013 to …"). It opens at the template's size;
// a resizable template lets the user enlarge it, its controls following their Resize rules.
//
// Life cycle: the constructor builds every control; DoModal() runs OnInitDialog() once and then
// the modal loop, unless OnInitDialog() already ended the dialog with EndDialog(). Tests call
// InitDialog() and show() instead of DoModal(), and drive the handlers directly or through the
// widgets.
class CTemplateDialog : public QDialog {
    Q_OBJECT
public:
    CTemplateDialog(const res::DialogTemplate& dialog, Prompter& prompter,
                    QWidget* parent = nullptr);
    ~CTemplateDialog() override;

    int DoModal();
    // Runs OnInitDialog() once; returns its result. Further calls do nothing and return true.
    bool InitDialog();
    void EndDialog(int code);
    bool IsEnded() const { return ended_; }
    int EndCode() const { return endCode_; }

    // Controls by id; null for an id the template does not have (or a widget of another type).
    QWidget* Item(int id) const;
    template <class T> T* Control(int id) const { return qobject_cast<T*>(Item(id)); }
    const res::ControlTemplate* ItemTemplate(int id) const;

    // Text of buttons, statics, edits and the dialog itself, UTF-8. An edit shows the whole text
    // even when it is longer than the template's typing limit.
    void SetText(int id, std::string_view utf8);
    std::string GetText(int id) const;
    // The text read as a decimal integer, 0 when it is not one.
    int GetInt(int id) const;

    // Check boxes, push-like check boxes and radios; setting never runs the click handler.
    bool IsChecked(int id) const;
    void SetCheck(int id, bool checked);
    // Ticks `id` and clears the other radios of its group.
    void CheckRadio(int id);

    void Enable(int id, bool enabled);
    bool IsEnabled(int id) const;

    // Runs `handler` when the button `id` is clicked by the user (or by Click()).
    void OnClicked(int id, std::function<void()> handler);
    // Runs `handler` when the user picks an entry of the drop-down list `id`.
    void OnSelChange(int id, std::function<void()> handler);
    // Presses a button as the user would: toggles a check box or radio and runs its handler.
    void Click(int id);

    // Replaces the report list `id` created from the template by `list`, a member of the derived
    // dialog, with the template's geometry and styles.
    void SubclassItem(int id, CReportList& list);

    // Pixels of a rectangle in dialog units of this dialog's font.
    QRect MapDialogRect(int x, int y, int cx, int cy) const;
    int BaseUnitX() const { return baseX_; }
    int BaseUnitY() const { return baseY_; }

    // Window timers: OnTimer(id) runs every `ms` milliseconds until KillTimer(id).
    void SetTimer(int id, int ms);
    void KillTimer(int id);
    bool HasTimer(int id) const;

    // Queues a message to this dialog; OnMessage() receives it from the event loop.
    void PostMessage(unsigned message, std::uint64_t wParam, std::uint64_t lParam);

    Prompter& GetPrompter() const { return prompter_; }

protected:
    virtual bool OnInitDialog() { return true; }
    // The close box: by default the dialog ends with kIdCancel.
    virtual void OnClose() { EndDialog(kIdCancel); }
    virtual void OnTimer(int /*id*/) {}
    virtual void OnMessage(unsigned /*message*/, std::uint64_t /*wParam*/,
                           std::uint64_t /*lParam*/) {}
    // Sees every key press of the dialog and its controls first, with the widget it is for; true
    // swallows it.
    virtual bool PreTranslateKey(QObject* /*target*/, const QKeyEvent& /*event*/) { return false; }

    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void customEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Placed {
        QWidget* widget;
        const res::ControlTemplate* control;
    };

    void ComputeBaseUnits();
    QWidget* CreateControl(const res::ControlTemplate& control, QButtonGroup*& radioGroup);
    void WatchKeys(QWidget* widget);
    // The control's rectangle at the template's size.
    QRect DesignRect(const res::ControlTemplate& control, const QWidget& widget) const;
    void FollowSize();

    const res::DialogTemplate& template_;
    Prompter& prompter_;
    int baseX_ = 6;
    int baseY_ = 12;
    bool initialized_ = false;
    bool ended_ = false;
    int endCode_ = 0;
    QSize designSize_;
    std::vector<Placed> placed_;
    std::map<int, QWidget*> items_;
    std::map<int, QTimer*> timers_;
};

} // namespace ui
