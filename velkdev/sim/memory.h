// The card's own memory (the SIM and the data card's stores), kept in
// "simcard.dat" in the program folder so a restart finds it.
//
// The file is one JSON document of named sections. Each family keeps its
// own sections, named after it ("messages.sim", "messages.card",
// "contacts.sim", "groups.card", ...); "sim" and "card" belong to the card
// model itself. Records go in as text with encode()/decode().
//
// Use only under sim::card().lock(). Memory is loaded at Velk_Startup and
// every setSection() rewrites the file atomically. A damaged file is moved
// aside to "simcard.dat.damaged" and the card starts with empty memory.
#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <cstddef>

namespace sim {

class Memory {
public:
    // The section's value; Undefined when the section does not exist.
    QJsonValue section(const QString& name) const;
    // Replaces the section and writes the file. On a failed write the section
    // keeps its previous value and false is returned (report VELK_E_FAILED).
    bool setSection(const QString& name, const QJsonValue& value);

    // Bytes as text for a JSON value, and back (empty on bad text).
    static QString encode(const void* data, std::size_t size);
    static QByteArray decode(const QJsonValue& text);

    // Used by the card: load at power-up, forget at power-down.
    void load(const QString& path);
    void unload();
    bool loaded() const;
};
Memory& memory();

}  // namespace sim
