#include "setup/setup_file.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "model/hex.h"
#include "model/input_table.h"
#include "model/plan_hints.h"
#include "model/plan_input_rules.h"
#include "model/plan_variables.h"
#include "setup/beacon_object.h"
#include "setup/file_access.h"

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

// Beside "rfmult" in the file; not an input of its own.
constexpr const char* keptMultiplierKey = "rfmult-in-force";
constexpr const char* topLevelKeys[] = {"format", "version", "name",     "note",
                                        "inputs", "beacon",  "registers"};

// The field's value from the file, or why it cannot be taken.
std::optional<QString> readField(const InputSpec& input, const QJsonValue& value, Inputs& inputs) {
    const QString key = QString("input \"%1\"").arg(QString::fromUtf8(input.key));
    if (const auto* text = std::get_if<std::string Inputs::*>(&input.field)) {
        if (!value.isString()) return key + " must be a text, not " + shown(value);
        inputs.*(*text) = value.toString().toStdString();
    } else if (const auto* number = std::get_if<int Inputs::*>(&input.field)) {
        const double n = value.toDouble(std::nan(""));
        if (!value.isDouble() || n != std::floor(n) || n < input.low || n > input.high)
            return QString("%1 must be a whole number from %2 to %3, not %4")
                .arg(key)
                .arg(input.low)
                .arg(input.high)
                .arg(shown(value));
        inputs.*(*number) = static_cast<int>(n);
    } else {
        if (!value.isBool()) return key + " must be true or false, not " + shown(value);
        inputs.*std::get<bool Inputs::*>(input.field) = value.toBool();
    }
    return std::nullopt;
}

// The multiplication in force beside the text; counts only while the text
// gives no factor of its own.
std::optional<QString> readKeptMultiplier(const QJsonValue& value, Inputs& inputs) {
    if (value.isUndefined()) return std::nullopt;
    if (!value.isDouble() || !(value.toDouble() > 0))
        return QString("input \"%1\" must be a number above 0, not %2")
            .arg(keptMultiplierKey, shown(value));
    inputs.rfMultKept = keptMultiplier(inputs.rfMult, value.toDouble());
    return std::nullopt;
}

// The keys the file holds that this version does not know, and the number
// texts it reads only in part.
QStringList warningsOf(const QJsonObject& file, const Setup& setup) {
    QStringList warnings;
    for (const QString& key : file.keys())
        if (std::find(std::begin(topLevelKeys), std::end(topLevelKeys), key) ==
            std::end(topLevelKeys))
            warnings << QString("unknown key \"%1\" ignored").arg(key);
    for (const QString& key : file.value("inputs").toObject().keys())
        if (!findInput(key.toStdString()) && key != keptMultiplierKey)
            warnings << QString("unknown input \"%1\" ignored").arg(key);
    for (const InputSpec& input : inputTable())
        if (const auto* text = std::get_if<std::string Inputs::*>(&input.field))
            if (const auto hint = partialNumberHint(setup.inputs.*(*text)); !hint.empty())
                warnings << QString("input \"%1\": %2")
                                .arg(QString::fromUtf8(input.key), QString::fromStdString(hint));
    return warnings;
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
    for (const InputSpec& input : inputTable()) {
        const QJsonValue value = inputs.toObject().value(QString::fromUtf8(input.key));
        if (value.isUndefined()) continue;
        if (auto fault = readField(input, value, setup.inputs)) return fault;
    }
    return readKeptMultiplier(inputs.toObject().value(keptMultiplierKey), setup.inputs);
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
    for (const QString& warning : warningsOf(document.object(), setup))
        setup.warnings << fileName + ": " + warning;
    return setup;
}

SetupRead readSetup(const QString& path) {
    auto read = readRegularFile(path, largestFile);
    if (const auto* fault = std::get_if<FileFault>(&read))
        return SetupError{QString("%1: cannot be read (%2)").arg(path, fault->reason)};
    return parseSetup(std::get<QByteArray>(read), path);
}

// Written by hand rather than through QJsonObject, which would sort the keys:
// the inputs stay in the window's order and the registers in transfer order.
QByteArray setupText(const Setup& setup, const std::optional<RegisterImage>& registers) {
    QStringList inputs;
    for (const InputSpec& input : inputTable()) {
        QString value;
        if (const auto* text = std::get_if<std::string Inputs::*>(&input.field))
            value = quoted(setup.inputs.*(*text));
        else if (const auto* number = std::get_if<int Inputs::*>(&input.field))
            value = QString::number(setup.inputs.*(*number));
        else
            value = setup.inputs.*std::get<bool Inputs::*>(input.field) ? "true" : "false";
        inputs << QString("        \"%1\": %2").arg(QString::fromUtf8(input.key), value);
        if (input.field == InputField(&Inputs::rfMult))
            inputs << QString("        \"%1\": %2")
                          .arg(keptMultiplierKey)
                          .arg(shown(planVariablesFrom(setup.inputs).rfMult));
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
    if (const auto fault = writeWholeFile(path, setupText(setup, registers)))
        return SetupError{QString("cannot write %1: %2").arg(path, fault->reason)};
    return std::nullopt;
}

} // namespace kelvane::setup
