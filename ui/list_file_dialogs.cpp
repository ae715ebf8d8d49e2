#include "ui/list_file_dialogs.h"

namespace {

ui::FileDialogRequest BaseRequest(ListFileKind kind) {
    ui::FileDialogRequest request;
    switch (kind) {
    case ListFileKind::kFixedSet:
        request.defaultExt = "eq";
        request.filter =
            "TEVRA Kestrova装備セットファイル (*.eq)|*.eq|すべてのファイル (*.*)|*.*||";
        break;
    case ListFileKind::kExcludedList:
        request.defaultExt = "eqe";
        request.filter =
            "TEVRA Kestrova除外装備ファイル (*.eqe)|*.eqe|すべてのファイル (*.*)|*.*||";
        break;
    case ListFileKind::kOwnedList:
        request.defaultExt = "eqo";
        request.filter =
            "TEVRA Kestrova所持装備ファイル (*.eqo)|*.eqo|すべてのファイル (*.*)|*.*||";
        break;
    }
    return request;
}

} // namespace

ui::FileDialogRequest ListOpenRequest(ListFileKind kind) {
    ui::FileDialogRequest request = BaseRequest(kind);
    request.hideReadOnly = true;
    return request;
}

ui::FileDialogRequest ListSaveRequest(ListFileKind kind) {
    ui::FileDialogRequest request = BaseRequest(kind);
    request.initialName = ui::kUntitledName;
    request.overwritePrompt = true;
    request.hideReadOnly = true;
    return request;
}

void OpenListFile(ui::Prompter& prompter, ListFileKind kind,
                  const std::function<void(const std::string&)>& use) {
    if (const std::optional<std::string> path = prompter.OpenFile(ListOpenRequest(kind))) {
        use(*path);
    }
}

void SaveListFile(ui::Prompter& prompter, ListFileKind kind,
                  const std::function<void(const std::string&)>& use) {
    if (const std::optional<std::string> path = prompter.SaveFile(ListSaveRequest(kind))) {
        use(*path);
    }
}
