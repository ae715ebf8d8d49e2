#include "config/import_writers.h"

#include "lists/list_format.h"
#include "lists/list_messages.h"
#include "platform/save_failure.h"

bool FindEquipKind(const CEquipDatabase& database, const std::string& name, int& kind) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (database.FindArmor(slot, name.c_str()) != nullptr) {
            kind = slot;
            return true;
        }
    }
    if (database.FindDeco(name.c_str()) != nullptr) {
        kind = kDecoKind;
        return true;
    }
    return false;
}

// Only the kind and the name are filled: a decoration's name goes where the readers look for it.
bool WriteImportedExcludedList(const CEquipDatabase& database, const std::string& path,
                               const std::vector<std::string>& names, platform::MessageSink& sink) {
    std::vector<EquipFileEntry> entries;
    for (const std::string& name : names) {
        EquipFileEntry entry;
        if (!FindEquipKind(database, name, entry.kind)) {
            continue;
        }
        (entry.kind == kDecoKind ? entry.decoNames[0] : entry.armorName) = name;
        entries.push_back(entry);
    }
    return platform::SaveOrTell(path, EncodeExcludedListFile(entries), sink,
                                list_messages::kExcludedListSaveFailed);
}

bool WriteImportedOwnedList(const CEquipDatabase& database, const std::string& path,
                            const std::vector<std::string>& names, platform::MessageSink& sink) {
    std::vector<OwnedFileEntry> entries(names.size());
    std::size_t filled = 0;
    for (const std::string& name : names) {
        int kind = 0;
        if (FindEquipKind(database, name, kind)) {
            entries[filled++] = OwnedFileEntry{kind, name};
        }
    }
    return platform::SaveOrTell(path, EncodeOwnedListFile(entries), sink,
                                list_messages::kOwnedListSaveFailed);
}
