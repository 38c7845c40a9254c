#include "cli/board_tools.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

#include "cli/command_line.h"
#include "model/eeprom_verify.h"

namespace kelvane::cli {
namespace {

QJsonObject comparisonJson(const EepromComparison& comparison) {
    QJsonArray differences;
    for (const auto& difference : comparison.differences)
        differences.append(QJsonObject{
            {"register", difference.address},
            {"stored", difference.stored ? QJsonValue(QString::fromStdString(*difference.stored))
                                         : QJsonValue(QJsonValue::Null)},
            {"plan", QString::fromStdString(difference.plan)}});
    return QJsonObject{{"match", comparison.matches()},
                       {"compared", comparison.compared},
                       {"differences", differences}};
}

} // namespace

int verifyOnBoard(session::BoardSession& board, const RegisterImage& plan, bool json) {
    const auto answer = board.readStoredSet(QStringLiteral("Verify EE"));
    if (!answer) return exitFailure;

    const auto outcome = verifyAnswer(*answer, plan);
    if (const auto* refusal = std::get_if<VerifyRefusal>(&outcome)) {
        std::fprintf(stderr, "kelvanectl: %s\n", refusal->line.c_str());
        return exitFailure;
    }
    const auto& comparison = std::get<EepromComparison>(outcome);
    if (json)
        writeOut(
            QJsonDocument(comparisonJson(comparison)).toJson(QJsonDocument::Compact).toStdString() +
                "\n",
            true);
    else
        writeOut(verdictLine(comparison) + "\n", true);
    return comparison.matches() ? exitOk : exitDiffers;
}

std::optional<double> readNumberOption(const QCommandLineParser& parser, const QString& name,
                                       const char* example, NumberRule rule) {
    const std::string field = "--" + name.toStdString();
    const auto read = readNumberField({field, example, rule}, parser.value(name).toStdString());
    if (const auto* refusal = std::get_if<std::string>(&read)) {
        usageError(QString::fromStdString(*refusal));
        return std::nullopt;
    }
    return std::get<double>(read);
}

} // namespace kelvane::cli
