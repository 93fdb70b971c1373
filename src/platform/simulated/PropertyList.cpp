#include "platform/simulated/PropertyList.h"

#include <QDateTime>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace vesk::platform {

namespace {

void writeValue(QXmlStreamWriter& xml, const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QVariantMap: {
        xml.writeStartElement("dict");
        const QVariantMap map = value.toMap();
        for (auto it = map.begin(); it != map.end(); ++it) {
            xml.writeTextElement("key", it.key());
            writeValue(xml, it.value());
        }
        xml.writeEndElement();
        break;
    }
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        xml.writeStartElement("array");
        for (const QVariant& item : value.toList())
            writeValue(xml, item);
        xml.writeEndElement();
        break;
    }
    case QMetaType::Bool:
        xml.writeEmptyElement(value.toBool() ? "true" : "false");
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        xml.writeTextElement("integer", QString::number(value.toLongLong()));
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        xml.writeTextElement("real", QString::number(value.toDouble(), 'g', 17));
        break;
    case QMetaType::QDateTime:
        xml.writeTextElement("date", value.toDateTime().toUTC().toString(Qt::ISODate));
        break;
    case QMetaType::QByteArray:
        xml.writeTextElement("data", QString::fromLatin1(value.toByteArray().toBase64()));
        break;
    default:
        xml.writeTextElement("string", value.toString());
        break;
    }
}

class Reader {
public:
    explicit Reader(const QByteArray& xml) : xml_(xml) { }

    std::optional<QVariant> readDocument(QString* error)
    {
        while (!xml_.atEnd() && !xml_.hasError()) {
            xml_.readNext();
            if (xml_.isStartElement()) {
                if (xml_.name() != QLatin1String("plist"))
                    return fail(error, QStringLiteral("root element is not plist"));
                if (!nextElement())
                    return fail(error, QStringLiteral("plist holds no value"));
                auto value = readValue();
                if (!value)
                    return fail(error, problem_);
                return value;
            }
        }
        return fail(error, xml_.hasError() ? xml_.errorString() : QStringLiteral("empty document"));
    }

private:
    std::optional<QVariant> fail(QString* error, const QString& message)
    {
        if (error)
            *error = xml_.hasError() ? xml_.errorString() : message;
        return std::nullopt;
    }

    // Moves to the next start element inside the current element; false at
    // the current element's end.
    bool nextElement()
    {
        while (!xml_.atEnd()) {
            xml_.readNext();
            if (xml_.isStartElement())
                return true;
            if (xml_.isEndElement() || xml_.hasError())
                return false;
        }
        return false;
    }

    std::optional<QVariant> readValue()
    {
        const QString tag = xml_.name().toString();
        if (tag == QLatin1String("dict"))
            return readDict();
        if (tag == QLatin1String("array"))
            return readArray();
        if (tag == QLatin1String("true") || tag == QLatin1String("false")) {
            xml_.skipCurrentElement();
            return QVariant(tag == QLatin1String("true"));
        }
        const QString text = xml_.readElementText();
        if (xml_.hasError())
            return failValue(xml_.errorString());
        if (tag == QLatin1String("string"))
            return QVariant(text);
        if (tag == QLatin1String("integer")) {
            bool ok = false;
            const qlonglong number = text.trimmed().toLongLong(&ok);
            if (!ok)
                return failValue(QStringLiteral("integer is not a number: ") + text);
            return QVariant(number);
        }
        if (tag == QLatin1String("real")) {
            bool ok = false;
            const double number = text.trimmed().toDouble(&ok);
            if (!ok)
                return failValue(QStringLiteral("real is not a number: ") + text);
            return QVariant(number);
        }
        if (tag == QLatin1String("date"))
            return QVariant(QDateTime::fromString(text.trimmed(), Qt::ISODate));
        if (tag == QLatin1String("data"))
            return QVariant(QByteArray::fromBase64(text.toLatin1()));
        return failValue(QStringLiteral("unknown element ") + tag);
    }

    std::optional<QVariant> readDict()
    {
        QVariantMap map;
        while (nextElement()) {
            if (xml_.name() != QLatin1String("key"))
                return failValue(QStringLiteral("dict entry without key"));
            const QString key = xml_.readElementText();
            if (!nextElement())
                return failValue(QStringLiteral("key without value: ") + key);
            auto value = readValue();
            if (!value)
                return std::nullopt;
            map.insert(key, *value);
        }
        if (xml_.hasError())
            return failValue(xml_.errorString());
        return QVariant(map);
    }

    std::optional<QVariant> readArray()
    {
        QVariantList list;
        while (nextElement()) {
            auto value = readValue();
            if (!value)
                return std::nullopt;
            list.append(*value);
        }
        if (xml_.hasError())
            return failValue(xml_.errorString());
        return QVariant(list);
    }

    std::optional<QVariant> failValue(const QString& message)
    {
        if (problem_.isEmpty())
            problem_ = message;
        return std::nullopt;
    }

    QXmlStreamReader xml_;
    QString problem_;
};

} // namespace

QByteArray PropertyList::toXml(const QVariant& root)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeDTD(QStringLiteral("<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                                "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">"));
    xml.writeStartElement("plist");
    xml.writeAttribute("version", "1.0");
    writeValue(xml, root);
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

std::optional<QVariant> PropertyList::fromXml(const QByteArray& xml, QString* error)
{
    return Reader(xml).readDocument(error);
}

} // namespace vesk::platform
