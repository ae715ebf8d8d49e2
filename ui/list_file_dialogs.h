#pragma once

#include "ui/framework/prompter.h"

// The open and save dialogs of the user's own list files: their default extension and filter.
enum class ListFileKind { kFixedSet, kExcludedList, kOwnedList };

// An open dialog takes only an existing file.
ui::FileDialogRequest ListOpenRequest(ListFileKind kind);
// A save dialog proposes "無題" and asks before overwriting.
ui::FileDialogRequest ListSaveRequest(ListFileKind kind);
