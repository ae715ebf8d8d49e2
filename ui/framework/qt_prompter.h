#pragma once

#include <memory>

#include "ui/framework/prompter.h"

class QMessageBox;
class QWidget;

namespace ui {

// A message box over `window` with its title, the text and the buttons, wide enough for the whole
// title to show in its title bar.
std::unique_ptr<QMessageBox> CreateMessageBox(QWidget* window, std::string_view text,
                                              MessageButtons buttons);

// Message boxes, file dialogs and menus on screen.
class QtPrompter final : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    int MessageBox(std::string_view text, MessageButtons buttons) override;
    std::optional<std::string> OpenFile(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFile(const FileDialogRequest& request) override;
    int TrackPopupMenu(QMenu& menu, const QPoint& globalPos) override;

private:
    std::optional<std::string> RunFileDialog(const FileDialogRequest& request, bool save);

    QWidget* parent_;
};

} // namespace ui
