#pragma once

#include <QCursor>
#include <QFont>
#include <QJsonObject>
#include <QString>

#include <optional>

// A 32-bit colour reference: 0x00BBGGRR, or 0x80000000 plus the index of a system colour.
using ColorRef = quint32;

// The stored properties of one control: named values, the names matched without regard to case.
// A read gives the default it is passed when the entry is absent; a write leaves out a value
// equal to its default (and removes what was stored under that name), so that the store holds
// only what differs from a new control.
class PropertyBag {
public:
    PropertyBag() = default;
    explicit PropertyBag(QJsonObject entries) : m_entries(std::move(entries)) {}

    const QJsonObject& entries() const { return m_entries; }

    QString readText(QStringView name, const QString& otherwise) const;
    bool readBool(QStringView name, bool otherwise) const;
    int readInt(QStringView name, int otherwise) const;
    ColorRef readColor(QStringView name, ColorRef otherwise) const;
    // A font entry missing some of its fields takes them from `otherwise`.
    QFont readFont(QStringView name, const QFont& otherwise) const;
    // A picture with its hot spot, as a pointer shows it; absent or unreadable, no picture.
    QCursor readPicture(QStringView name) const;

    void writeText(QStringView name, const QString& value, const QString& otherwise);
    // Without a default the value is always stored.
    void writeBool(QStringView name, bool value, std::optional<bool> otherwise = {});
    void writeInt(QStringView name, int value, int otherwise);
    void writeColor(QStringView name, ColorRef value, ColorRef otherwise);
    void writeFont(QStringView name, const QFont& value, const QFont& otherwise);
    // No picture is the default.
    void writePicture(QStringView name, const QCursor& value);

private:
    QString storedName(QStringView name) const;
    QJsonValue value(QStringView name) const { return m_entries.value(storedName(name)); }
    void store(QStringView name, const QJsonValue& value, bool isDefault);

    QJsonObject m_entries;
};
