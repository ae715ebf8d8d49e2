#pragma once

#include "lists/list_format.h"
#include "platform/message_sink.h"

// The fixed texts with which the list files report their failures.
namespace list_messages {

inline constexpr char kNotFixedSet[] = "装備ファイルではありません";
inline constexpr char kFixedSetVersion[] = "装備ファイルのバージョンが違います";
inline constexpr char kFixedSetUnreadable[] = "固定装備の読み込みに失敗しました";
inline constexpr char kFixedSetSaveFailed[] = "固定装備の保存に失敗しました";

inline constexpr char kNotExcludedList[] = "除外装備ファイルではありません";
inline constexpr char kExcludedListVersion[] = "除外装備ファイルのバージョンが違います";
inline constexpr char kExcludedListUnreadable[] = "除外装備ファイルの読込に失敗しました";
inline constexpr char kExcludedListSaveFailed[] = "除外装備の保存に失敗しました";

inline constexpr char kNotOwnedList[] = "所有装備ファイルではありません";
inline constexpr char kOwnedListVersion[] = "所有装備ファイルのバージョンが違います";
inline constexpr char kOwnedListUnreadable[] = "所持装備ファイルの読込に失敗しました";
inline constexpr char kOwnedListSaveFailed[] = "所有装備の保存に失敗しました";

// Shows `notThisFormat` for a foreign or cut-short file and `wrongVersion` for another version;
// nothing for a good file. Returns whether the file was good.
inline bool ReportStatus(ListFileStatus status, platform::MessageSink& sink,
                         const char* notThisFormat, const char* wrongVersion) {
    if (status == ListFileStatus::kOk) {
        return true;
    }
    sink.Show(status == ListFileStatus::kWrongVersion ? wrongVersion : notThisFormat);
    return false;
}

} // namespace list_messages
