#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ui/framework/prompter.h"

namespace ui {

// A prompter for tests: answers come from queues, every question is recorded. An empty queue
// answers with the first button of a message box, a cancelled file dialog and no menu command.
class ScriptedPrompter final : public Prompter {
public:
    struct MenuEntry {
        int id;
        std::string caption; // UTF-8, with its "&" marker
        bool enabled;
    };
    struct FileQuestion {
        bool save;
        FileDialogRequest request;
    };

    int MessageBox(std::string_view text, MessageButtons buttons) override;
    std::optional<std::string> OpenFile(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFile(const FileDialogRequest& request) override;
    int TrackPopupMenu(QMenu& menu, const QPoint& globalPos) override;

    std::deque<int> messageAnswers;
    std::deque<std::optional<std::string>> fileAnswers;
    std::deque<int> menuAnswers;

    std::vector<std::string> messages;
    std::vector<FileQuestion> fileQuestions;
    std::vector<std::vector<MenuEntry>> menus; // the command entries of every menu shown, flattened

private:
    std::optional<std::string> NextFile(bool save, const FileDialogRequest& request);
};

} // namespace ui
