#pragma once

#include "model/VCardRawCard.h"

#include <QStringList>

#include <optional>

// What a synchronisation does with one contact on each side.
struct VCardMergeResult {
    enum class ServerAction { Nothing, Put, Delete };
    enum class LocalAction { Nothing, Update, Create, Delete };

    ServerAction server = ServerAction::Nothing;  // Put writes `merged`
    LocalAction local = LocalAction::Nothing;     // Update and Create take the entry from `merged`
    // The card both sides keep, and the base of the next synchronisation; none when the contact is gone.
    std::optional<VCardRawCard> merged;
    // The local version of a contact both sides changed in the same field to different values, under a name of
    // its own and a new UID: it is put on the server and created locally, besides `merged`.
    std::optional<VCardRawCard> conflictCopy;
    QStringList conflictingFields;  // "name", "number", "comment", "index", "vip"
};
