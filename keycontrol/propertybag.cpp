#include "keycontrol/propertybag.h"

#include <QBuffer>
#include <QJsonArray>
#include <QPixmap>

#include <algorithm>

// A font is stored as {"name", "size" (points), "weight" (100 to 900, 400 regular), "italic",
// "underline", "strikeout"}; a picture as {"png": base64 PNG data, "hotspot": [x, y]}, so that the
// store holds the picture itself, whatever it was made from.

QString PropertyBag::readText(QStringView name, const QString& otherwise) const {
    return value(name).toString(otherwise);
}

bool PropertyBag::readBool(QStringView name, bool otherwise) const {
    return value(name).toBool(otherwise);
}

int PropertyBag::readInt(QStringView name, int otherwise) const {
    return value(name).toInt(otherwise);
}

ColorRef PropertyBag::readColor(QStringView name, ColorRef otherwise) const {
    return ColorRef(value(name).toInteger(otherwise));
}

QFont PropertyBag::readFont(QStringView name, const QFont& otherwise) const {
    const QJsonValue stored = value(name);
    if (!stored.isObject())
        return otherwise;
    QFont font(stored["name"].toString(otherwise.family()));
    font.setPointSizeF(stored["size"].toDouble(otherwise.pointSizeF()));
    font.setWeight(QFont::Weight(stored["weight"].toInt(otherwise.weight())));
    font.setItalic(stored["italic"].toBool(otherwise.italic()));
    font.setUnderline(stored["underline"].toBool(otherwise.underline()));
    font.setStrikeOut(stored["strikeout"].toBool(otherwise.strikeOut()));
    return font;
}

QCursor PropertyBag::readPicture(QStringView name) const {
    const QJsonValue stored = value(name);
    QPixmap picture;
    picture.loadFromData(QByteArray::fromBase64(stored["png"].toString().toLatin1()), "PNG");
    if (picture.isNull())
        return QCursor();
    const QJsonArray hotSpot = stored["hotspot"].toArray();
    return QCursor(picture, hotSpot[0].toInt(), hotSpot[1].toInt());
}

void PropertyBag::writeText(QStringView name, const QString& value, const QString& otherwise) {
    store(name, value, value == otherwise);
}

void PropertyBag::writeBool(QStringView name, bool value, std::optional<bool> otherwise) {
    store(name, value, value == otherwise);
}

void PropertyBag::writeInt(QStringView name, int value, int otherwise) {
    store(name, value, value == otherwise);
}

void PropertyBag::writeColor(QStringView name, ColorRef value, ColorRef otherwise) {
    store(name, qint64(value), value == otherwise);
}

void PropertyBag::writeFont(QStringView name, const QFont& value, const QFont& otherwise) {
    store(name,
          QJsonObject{{"name", value.family()},
                      {"size", value.pointSizeF()},
                      {"weight", value.weight()},
                      {"italic", value.italic()},
                      {"underline", value.underline()},
                      {"strikeout", value.strikeOut()}},
          value == otherwise);
}

void PropertyBag::writePicture(QStringView name, const QCursor& value) {
    const QPixmap picture = value.pixmap();
    // The same picture keeps the bytes it is stored as, however another PNG encoder would write it.
    const QCursor stored = readPicture(name);
    if (!picture.isNull() && stored.hotSpot() == value.hotSpot() &&
        stored.pixmap().toImage() == picture.toImage())
        return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    const QPoint hotSpot = value.hotSpot();
    store(name,
          QJsonObject{{"png", QString::fromLatin1(png.toBase64())},
                      {"hotspot", QJsonArray{hotSpot.x(), hotSpot.y()}}},
          picture.isNull());
}

QString PropertyBag::storedName(QStringView name) const {
    const QStringList names = m_entries.keys();
    const auto found = std::ranges::find_if(names, [name](const QString& stored) {
        return stored.compare(name, Qt::CaseInsensitive) == 0;
    });
    return found == names.end() ? name.toString() : *found;
}

void PropertyBag::store(QStringView name, const QJsonValue& value, bool isDefault) {
    const QString key = storedName(name);
    if (isDefault)
        m_entries.remove(key);
    else
        m_entries.insert(key, value);
}
