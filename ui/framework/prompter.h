#pragma once

#include <optional>
#include <string>
#include <string_view>

class QMenu;
class QPoint;

namespace ui {

// Answers of a message box, numbered as the dialog results of the rest of the program.
enum MessageResult : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

// kSaveDiscardCancel shows "保存", "破棄" and "キャンセル", answered as kIdYes, kIdNo and
// kIdCancel.
enum class MessageButtons { kOk, kOkCancel, kYesNo, kYesNoCancel, kSaveDiscardCancel };

// The name a save dialog offers when the caller has none of its own.
inline constexpr const char* kUntitledName = "無題";

struct FileDialogRequest {
    std::string filter;      // "description|pattern|description|pattern||", UTF-8
    std::string defaultExt;  // without the dot; appended when the user types a bare name
    std::string initialName; // UTF-8; empty for none
    bool overwritePrompt = false;
    bool createPrompt = false;
    bool hideReadOnly = false; // Qt file dialogs have no read-only box; kept for the callers
};

// Everything the program asks the person in front of it. The window uses the Qt implementation;
// tests queue the answers.
class Prompter {
public:
    virtual ~Prompter() = default;

    // Shows `text` (UTF-8) and returns the button pressed.
    virtual int MessageBox(std::string_view text, MessageButtons buttons = MessageButtons::kOk) = 0;

    // Return the chosen path as file-system bytes, or nothing when the dialog was cancelled.
    virtual std::optional<std::string> OpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> SaveFile(const FileDialogRequest& request) = 0;

    // Shows a context menu at a global position and returns the command id chosen, 0 for none.
    virtual int TrackPopupMenu(QMenu& menu, const QPoint& globalPos) = 0;
};

} // namespace ui
