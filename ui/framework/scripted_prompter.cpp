#include "ui/framework/scripted_prompter.h"

#include <QAction>
#include <QMenu>

namespace ui {
namespace {

int FirstButton(MessageButtons buttons) {
    return buttons == MessageButtons::kOk || buttons == MessageButtons::kOkCancel ? kIdOk : kIdYes;
}

void Flatten(const QMenu& menu, std::vector<ScriptedPrompter::MenuEntry>& out) {
    for (QAction* action : menu.actions()) {
        if (action->menu()) {
            Flatten(*action->menu(), out);
        } else if (!action->isSeparator()) {
            out.push_back(
                {action->data().toInt(), action->text().toStdString(), action->isEnabled()});
        }
    }
}

} // namespace

int ScriptedPrompter::MessageBox(std::string_view text, MessageButtons buttons) {
    messages.emplace_back(text);
    if (messageAnswers.empty()) {
        return FirstButton(buttons);
    }
    const int answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedPrompter::NextFile(bool save, const FileDialogRequest& request) {
    fileQuestions.push_back({save, request});
    if (fileAnswers.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedPrompter::OpenFile(const FileDialogRequest& request) {
    return NextFile(false, request);
}

std::optional<std::string> ScriptedPrompter::SaveFile(const FileDialogRequest& request) {
    return NextFile(true, request);
}

int ScriptedPrompter::TrackPopupMenu(QMenu& menu, const QPoint& /*globalPos*/) {
    std::vector<MenuEntry> entries;
    Flatten(menu, entries);
    menus.push_back(std::move(entries));
    if (menuAnswers.empty()) {
        return 0;
    }
    const int answer = menuAnswers.front();
    menuAnswers.pop_front();
    return answer;
}

} // namespace ui
