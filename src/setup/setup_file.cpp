#include "setup/setup_file.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <cmath>

#include "model/hex.h"
#include "setup/beacon_object.h"
#include "setup/setup_fields.h"

namespace kelvane::setup {
namespace {

constexpr const char* formatName = "kelvane-setup";
// Far above any setup a person writes; a larger file is something else, and
// is not read into memory whole.
constexpr qint64 largestFile = 1 << 20;

// A JSON value as it stands in the file, for the message that refuses it.
QString shown(const QJsonValue& value) {
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

QString quoted(const std::string& text) {
    return shown(QJsonValue(QString::fromStdString(text)));
}

// The field's value from the file, or why it cannot be taken.
std::optional<QString> readField(const InputField& field, const QJsonValue& value, Inputs& inputs) {
    const QString key = QString("input \"%1\"").arg(field.key);
    if (const auto* text = std::get_if<TextField>(&field.kind)) {
        if (!value.isString()) return key + " must be a text, not " + shown(value);
        inputs.*text->member = value.toString().toStdString();
    } else if (const auto* number = std::get_if<WholeNumberField>(&field.kind)) {
        const double n = value.toDouble(std::nan(""));
        if (!value.isDouble() || n != std::floor(n) || n < number->low || n > number->high)
            return QString("%1 must be a whole number from %2 to %3, not %4")
                .arg(key)
                .arg(number->low)
                .arg(number->high)
                .arg(shown(value));
        inputs.*number->member = static_cast<int>(n);
    } else {
        if (!value.isBool()) return key + " must be true or false, not " + shown(value);
        inputs.*std::get<SwitchField>(field.kind).member = value.toBool();
    }
    return std::nullopt;
}

std::optional<QString> readSetupObject(const QJsonObject& file, Setup& setup) {
    if (file.value("format") != QJsonValue(formatName))
        return QString("not a Kelvane setup (\"format\" is not \"%1\")").arg(formatName);
    const QJsonValue version = file.value("version");
    if (!version.isDouble() || version.toDouble() != std::floor(version.toDouble()) ||
        version.toDouble() < 1)
        return "\"version\" must be a whole number from 1, not " + shown(version);
    if (version.toDouble() > formatVersion)
        return QString("version %1 is newer than this Kelvane reads (version %2)")
            .arg(shown(version))
            .arg(formatVersion);
    for (auto [key, member] : {std::pair{"name", &Setup::name}, std::pair{"note", &Setup::note}}) {
        const QJsonValue value = file.value(key);
        if (value.isUndefined()) continue;
        if (!value.isString())
            return QString("\"%1\" must be a text, not %2").arg(key, shown(value));
        setup.*member = value.toString().toStdString();
    }
    if (auto fault = readBeaconObject(file.value("beacon"), setup.beacon)) return fault;
    const QJsonValue inputs = file.value("inputs");
    if (inputs.isUndefined()) return std::nullopt;
    if (!inputs.isObject()) return "\"inputs\" must be an object, not " + shown(inputs);
    for (const InputField& field : inputFields) {
        const QJsonValue value = inputs.toObject().value(field.key);
        if (value.isUndefined()) continue;
        if (auto fault = readField(field, value, setup.inputs)) return fault;
    }
    return std::nullopt;
}

} // namespace

SetupRead parseSetup(const QByteArray& bytes, const QString& fileName) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return SetupError{QString("%1: not JSON (%2 at byte %3)")
                              .arg(fileName, parseError.errorString())
                              .arg(parseError.offset)};
    if (!document.isObject())
        return SetupError{fileName + ": not a Kelvane setup (not a JSON object)"};
    Setup setup;
    if (auto fault = readSetupObject(document.object(), setup))
        return SetupError{fileName + ": " + *fault};
    return setup;
}

SetupRead readSetup(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return SetupError{QString("%1: cannot be read (%2)").arg(path, file.errorString())};
    if (file.size() > largestFile)
        return SetupError{path + ": not a Kelvane setup (larger than 1 MiB)"};
    return parseSetup(file.readAll(), path);
}

// Written by hand rather than through QJsonObject, which would sort the keys:
// the inputs stay in the window's order and the registers in transfer order.
QByteArray setupText(const Setup& setup, const std::optional<RegisterImage>& registers) {
    QStringList inputs;
    for (const InputField& field : inputFields) {
        QString value;
        if (const auto* text = std::get_if<TextField>(&field.kind))
            value = quoted(setup.inputs.*text->member);
        else if (const auto* number = std::get_if<WholeNumberField>(&field.kind))
            value = QString::number(setup.inputs.*number->member);
        else
            value = setup.inputs.*std::get<SwitchField>(field.kind).member ? "true" : "false";
        inputs << QString("        \"%1\": %2").arg(field.key, value);
    }
    QString text = QString("{\n    \"format\": \"%1\",\n    \"version\": %2,\n"
                           "    \"name\": %3,\n    \"note\": %4,\n    \"inputs\": {\n%5\n    }")
                       .arg(formatName)
                       .arg(formatVersion)
                       .arg(quoted(setup.name), quoted(setup.note), inputs.join(",\n"));
    if (setup.beacon) text += beaconObjectText(*setup.beacon);
    if (registers) {
        QStringList words;
        for (int address : transferOrder)
            words << QString("        \"%1\": \"%2\"")
                         .arg(address)
                         .arg(QString::fromStdString(hexWord((*registers)[address])));
        text += ",\n    \"registers\": {\n" + words.join(",\n") + "\n    }";
    }
    return (text + "\n}\n").toUtf8();
}

std::optional<SetupError> writeSetup(const QString& path, const Setup& setup,
                                     const std::optional<RegisterImage>& registers) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(setupText(setup, registers));
        if (file.commit()) return std::nullopt;
    }
    return SetupError{QString("%1: cannot be written (%2)").arg(path, file.errorString())};
}

} // namespace kelvane::setup
