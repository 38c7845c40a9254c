#include "setup/beacon_object.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <charconv>
#include <cmath>

namespace kelvane::setup {
namespace {

QString shown(const QJsonValue& value) {
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

std::optional<QString> readNumber(const QJsonObject& object, const char* key, double& number,
                                  const QString& where) {
    const QJsonValue value = object.value(key);
    if (value.isUndefined()) return std::nullopt;
    if (!value.isDouble() || !std::isfinite(value.toDouble()))
        return QString("%1\"%2\" must be a number, not %3").arg(where, key, shown(value));
    number = value.toDouble();
    return std::nullopt;
}

std::optional<QString> readElement(const QJsonValue& value, int index, beacon::Element& element) {
    const QString where = QString("\"beacon\" element %1: ").arg(index + 1);
    if (!value.isObject()) return where + "must be an object, not " + shown(value);
    const QJsonObject object = value.toObject();
    const auto mode = beacon::modeFromName(object.value("mode").toString().toStdString());
    if (!mode)
        return where + "\"mode\" must be \"pi4\", \"jt4\", \"wspr\", \"cw\" or \"carrier\", not " +
               shown(object.value("mode"));
    element.mode = *mode;
    const QJsonValue message = object.value("message");
    if (!message.isUndefined() && !message.isString())
        return where + "\"message\" must be a text, not " + shown(message);
    element.message = message.toString().toStdString();
    const QJsonValue submode = object.value("submode");
    if (!submode.isUndefined()) {
        if (!submode.isString() || submode.toString().size() != 1)
            return where + "\"submode\" must be one letter A to G, not " + shown(submode);
        element.jt4Submode = submode.toString().at(0).toUpper().toLatin1();
    }
    for (auto [key, member] :
         {std::pair{"start", &beacon::Element::startSecond},
          std::pair{"wpm", &beacon::Element::wpm}, std::pair{"shift", &beacon::Element::shiftHz},
          std::pair{"until", &beacon::Element::untilSecond}})
        if (auto fault = readNumber(object, key, element.*member, where)) return fault;
    return std::nullopt;
}

// The shortest text that reads back as the same number.
QString number(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return QString::fromLatin1(text, end - text);
}

QString quoted(const std::string& text) {
    const QByteArray array =
        QJsonDocument(QJsonArray{QString::fromStdString(text)}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

} // namespace

std::optional<QString> readBeaconObject(const QJsonValue& value,
                                        std::optional<beacon::Sequence>& sequence) {
    if (value.isUndefined()) return std::nullopt;
    if (!value.isObject()) return "\"beacon\" must be an object, not " + shown(value);
    const QJsonObject object = value.toObject();
    beacon::Sequence read;
    if (auto fault = readNumber(object, "period", read.periodSeconds, "\"beacon\": ")) return fault;
    const QJsonValue elements = object.value("elements");
    if (elements.isUndefined())
        return QString("\"beacon\": \"elements\" is missing; give the list of elements");
    if (!elements.isArray())
        return "\"beacon\": \"elements\" must be a list of elements, not " + shown(elements);
    const QJsonArray list = elements.toArray();
    if (list.size() > 100) return QString("\"beacon\": more than 100 elements");
    for (int i = 0; i < list.size(); ++i) {
        beacon::Element element;
        if (auto fault = readElement(list.at(i), i, element)) return fault;
        read.elements.push_back(element);
    }
    sequence = read;
    return std::nullopt;
}

QString beaconObjectText(const beacon::Sequence& sequence) {
    QStringList elements;
    for (const auto& element : sequence.elements) {
        QString text =
            QString("{\"mode\": \"%1\"").arg(QString::fromStdString(modeName(element.mode)));
        if (element.mode != beacon::Mode::Carrier)
            text += ", \"message\": " + quoted(element.message);
        text += ", \"start\": " + number(element.startSecond);
        if (element.mode == beacon::Mode::Jt4)
            text += QString(", \"submode\": \"%1\"").arg(QChar(element.jt4Submode));
        if (element.mode == beacon::Mode::Cw)
            text += ", \"wpm\": " + number(element.wpm) + ", \"shift\": " + number(element.shiftHz);
        if (element.mode == beacon::Mode::Carrier)
            text += ", \"until\": " + number(element.untilSecond);
        elements << "            " + text + "}";
    }
    return ",\n    \"beacon\": {\n        \"period\": " + number(sequence.periodSeconds) +
           ",\n        \"elements\": [\n" + elements.join(",\n") + "\n        ]\n    }";
}

} // namespace kelvane::setup
