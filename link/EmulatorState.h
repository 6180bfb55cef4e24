#pragma once
// What the phone emulator stores: its storages with their limits and entries. Kept as readable JSON:
//   {"storages": {"SM": {"capacity": 250, "nameLength": 16, "numberLength": 20, "writable": true,
//                        "entries": [{"index": 1, "name": "Anna Müller", "number": "+4930123456"}]}, ...}}
#include <QMap>
#include <QString>
#include <QStringList>

struct EmulatorEntry {
    QString name;
    QString number;
};

struct EmulatorStorage {
    int capacity = 0;
    int nameLength = 16;
    int numberLength = 20;
    bool writable = true;
    QMap<int, EmulatorEntry> entries; // by index, 1..capacity
};

class EmulatorState {
public:
    // The storages a fresh phone has (SM, ME, ON, FD writable; LD, MC, RC read-only), with sample entries.
    static EmulatorState seeded();
    // Empty storages of the standard sizes.
    static EmulatorState blank();

    // Reads a state file; false (with the reason) when it cannot be read or is not a state file.
    bool load(const QString& path, QString* error);
    // Writes the whole state to a temporary file and renames it over the old one, so that a crash leaves
    // either the old or the new file, never half of one.
    bool save(const QString& path, QString* error) const;

    QStringList storageNames() const; // in the order a phone lists them
    EmulatorStorage* storage(const QString& name);
    const EmulatorStorage* storage(const QString& name) const;
    void setStorage(const QString& name, const EmulatorStorage& storage);

private:
    QMap<QString, EmulatorStorage> m_storages;
};
