#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/message_sink.h"

// A list file of the program folder (Fixed.dat, Exclude.dat, OwnEquip.dat) as an equipment dialog
// reads it when it opens and writes it on OK. A file the opening refuses, of another format or
// version, is still the player's: rather than letting the dialog's save replace it with the empty
// list, the file is moved aside first, and the refusal message says where it goes.
class RefusedFileKeeper {
public:
    RefusedFileKeeper(std::string path, platform::MessageSink& sink);

    // A read or write of the list file at the path it is given, reporting through the sink.
    using FileAction = std::function<bool(const std::string& path, platform::MessageSink& sink)>;
    // Reads the player's file at `path`; without one, the program folder's file as the opening
    // read (Open).
    bool Load(const std::optional<std::string>& path, const FileAction& read);
    // Writes to the player's file at `path`; without one, over the program folder's file once
    // BeforeSave has kept a refused one.
    bool Save(const std::optional<std::string>& path, const FileAction& write);

    // Runs the opening read. `read` reports through the sink it is given; whatever it reports is
    // a refusal of the file, and the message gains a line naming the backup.
    bool Open(const std::function<bool(platform::MessageSink&)>& read);

    // Called before a save replaces the file: a refused file moves to its backup name. False, with
    // a message, when it cannot be moved; the save must then leave the file alone.
    bool BeforeSave();

private:
    // NAME.bak, or NAME.bak.2, NAME.bak.3 … when earlier backups are there; empty when no name
    // can be told free.
    std::string FreeBackupPath() const;
    // The backup's name for messages.
    std::string BackupName() const;

    const std::string path_;
    platform::MessageSink& sink_;
    bool refused_ = false;
    std::string backupPath_;
};
