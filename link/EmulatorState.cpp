#include "link/EmulatorState.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {
const char* const kOrder[] = {"SM", "ME", "ON", "FD", "LD", "MC", "RC"};

EmulatorStorage makeStorage(int capacity, int nameLength, int numberLength, bool writable)
{
    EmulatorStorage s;
    s.capacity = capacity;
    s.nameLength = nameLength;
    s.numberLength = numberLength;
    s.writable = writable;
    return s;
}

QJsonObject toJson(const EmulatorStorage& s)
{
    QJsonArray entries;
    for (auto it = s.entries.begin(); it != s.entries.end(); ++it)
        entries.append(QJsonObject{{"index", it.key()}, {"name", it->name}, {"number", it->number}});
    return QJsonObject{{"capacity", s.capacity}, {"nameLength", s.nameLength}, {"numberLength", s.numberLength},
                       {"writable", s.writable}, {"entries", entries}};
}

bool fromJson(const QJsonObject& o, EmulatorStorage* s)
{
    s->capacity = o.value("capacity").toInt(0);
    s->nameLength = o.value("nameLength").toInt(16);
    s->numberLength = o.value("numberLength").toInt(20);
    s->writable = o.value("writable").toBool(true);
    if (s->capacity < 1 || s->capacity > 32767 || s->nameLength < 1 || s->nameLength > 255 || s->numberLength < 1
        || s->numberLength > 255)
        return false;
    for (const QJsonValue& v : o.value("entries").toArray()) {
        const QJsonObject e = v.toObject();
        const int index = e.value("index").toInt(0);
        if (index < 1 || index > s->capacity) continue;
        s->entries.insert(index, EmulatorEntry{e.value("name").toString(), e.value("number").toString()});
    }
    return true;
}
}

EmulatorState EmulatorState::blank()
{
    EmulatorState state;
    state.m_storages.insert("SM", makeStorage(250, 16, 20, true));
    state.m_storages.insert("ME", makeStorage(500, 16, 20, true));
    state.m_storages.insert("ON", makeStorage(4, 16, 20, true));
    state.m_storages.insert("FD", makeStorage(20, 16, 20, true));
    state.m_storages.insert("LD", makeStorage(10, 16, 20, false));
    state.m_storages.insert("MC", makeStorage(10, 16, 20, false));
    state.m_storages.insert("RC", makeStorage(10, 16, 20, false));
    return state;
}

EmulatorState EmulatorState::seeded()
{
    EmulatorState state = blank();
    auto put = [&](const char* storage, int index, const char* name, const char* number) {
        state.m_storages[storage].entries.insert(index, EmulatorEntry{QString::fromUtf8(name), QString::fromUtf8(number)});
    };
    put("SM", 1, "Anna Müller", "+4930123456");
    put("SM", 2, "Jörg Bäcker!", "+49891234567");
    put("SM", 3, "Büro", "0301234567");
    put("SM", 4, "Café Olé", "+33142685300");
    put("SM", 5, "Søren Ærø", "+4533123456");
    put("SM", 7, "Peña Iñigo", "+34911234567");
    put("SM", 8, "Mailbox", "*100#");
    put("SM", 12, "Dr. Weiß!", "+41441234567");
    put("ME", 1, "Mama", "+4930987654");
    put("ME", 2, "Pizza Express", "0301112233");
    put("ME", 3, "Åsa Öberg", "+46812345678");
    put("ON", 1, "Mein Handy", "+491701234567");
    put("FD", 1, "Notruf", "112");
    put("LD", 1, "Anna Müller", "+4930123456");
    put("LD", 2, "", "0800123456");
    put("MC", 1, "", "+4940555666");
    put("RC", 1, "Büro", "0301234567");
    return state;
}

bool EmulatorState::load(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!doc.isObject()) {
        *error = parseError.errorString();
        return false;
    }
    const QJsonObject storages = doc.object().value("storages").toObject();
    QMap<QString, EmulatorStorage> loaded;
    for (auto it = storages.begin(); it != storages.end(); ++it) {
        EmulatorStorage s;
        if (!fromJson(it.value().toObject(), &s)) {
            *error = QStringLiteral("storage %1 has invalid limits").arg(it.key());
            return false;
        }
        loaded.insert(it.key().toUpper(), s);
    }
    m_storages = loaded;
    return true;
}

bool EmulatorState::save(const QString& path, QString* error) const
{
    QJsonObject storages;
    for (auto it = m_storages.begin(); it != m_storages.end(); ++it) storages.insert(it.key(), toJson(it.value()));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    file.write(QJsonDocument(QJsonObject{{"storages", storages}}).toJson(QJsonDocument::Indented));
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

QStringList EmulatorState::storageNames() const
{
    QStringList names;
    for (const char* name : kOrder)
        if (m_storages.contains(name)) names.append(name);
    for (const QString& name : m_storages.keys())
        if (!names.contains(name)) names.append(name);
    return names;
}

EmulatorStorage* EmulatorState::storage(const QString& name)
{
    auto it = m_storages.find(name.toUpper());
    return it == m_storages.end() ? nullptr : &it.value();
}

const EmulatorStorage* EmulatorState::storage(const QString& name) const
{
    auto it = m_storages.find(name.toUpper());
    return it == m_storages.end() ? nullptr : &it.value();
}

void EmulatorState::setStorage(const QString& name, const EmulatorStorage& s)
{
    m_storages.insert(name.toUpper(), s);
}
