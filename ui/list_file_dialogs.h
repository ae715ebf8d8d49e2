#pragma once

#include <functional>
#include <string>

#include "ui/framework/prompter.h"

// The open and save dialogs of the user's own list files: their default extension and filter.
enum class ListFileKind { kFixedSet, kExcludedList, kOwnedList };

// An open dialog takes only an existing file.
ui::FileDialogRequest ListOpenRequest(ListFileKind kind);
// A save dialog proposes "無題" and asks before overwriting.
ui::FileDialogRequest ListSaveRequest(ListFileKind kind);

// Hands the file the player picks in the open or the save dialog of `kind` to `use`; nothing
// happens when the dialog is cancelled.
void OpenListFile(ui::Prompter& prompter, ListFileKind kind,
                  const std::function<void(const std::string&)>& use);
void SaveListFile(ui::Prompter& prompter, ListFileKind kind,
                  const std::function<void(const std::string&)>& use);
