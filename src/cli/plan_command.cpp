// kelvanectl plan: the frequency plan, its captions and the register listing.

#include <QJsonDocument>
#include <QJsonObject>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "model/recalculation.h"

namespace kelvane::cli {
namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }

std::string planText(const Recalculation& r) {
    const auto& c = r.captions;
    const std::pair<const char*, const std::string&> displays[] = {
        {"Fv", c.fv},         {"Fc", c.fc},           {"Dn", c.dn},       {"Frlabel", c.frlabel},
        {"Nlabel", c.nlabel}, {"StepLbl", c.stepLbl}, {"OPerr", c.operr}, {"ChipType", c.chipType},
    };
    std::string text;
    for (const auto& [name, caption] : displays) text += std::string(name) + ": " + caption + "\r\n";
    return text + "\r\n" + r.listing;
}

QJsonObject planJson(const Recalculation& r) {
    const auto& p = r.plan;
    const auto& c = r.captions;
    QJsonObject registers;
    for (int address : transferOrder) registers.insert(QString("Reg%1").arg(address), q(hexFormat(r.registers[address])));
    return QJsonObject{
        {"plan", QJsonObject{{"Fcomp", p.fcomp},
                             {"Denom", p.denom},
                             {"EffN", p.effN},
                             {"N", p.n},
                             {"Fract", p.fract},
                             {"Fcorr", p.fcorr},
                             {"Ferror", p.ferror}}},
        {"captions", QJsonObject{{"Fv", q(c.fv)},
                                 {"Fc", q(c.fc)},
                                 {"Dn", q(c.dn)},
                                 {"Frlabel", q(c.frlabel)},
                                 {"Nlabel", q(c.nlabel)},
                                 {"StepLbl", q(c.stepLbl)},
                                 {"OPerr", q(c.operr)},
                                 {"ChipType", q(c.chipType)}}},
        {"colors", QJsonObject{{"Dn", q(c.dnColour.name())},
                               {"ChipType", q(c.chipTypeColour.name())},
                               {"OPerr", q(colours::red.name())}}},
        {"registers", registers},
        {"listing", q(r.listing)},
    };
}

} // namespace

int runPlan(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Prints the frequency plan, the plan displays and the register listing\n"
        "for the given inputs, exactly as the main window shows them.");
    addControlOptions(parser);
    parser.addOption({"json", "Print one JSON object instead of text."});
    parser.addOption({"crlf", "End lines with CR LF, as the window has them."});
    if (auto exit = parseOrExit(parser, arguments)) return *exit;
    const auto controls = readControlOptions(parser);
    if (!controls) return exitUsage;

    const bool json = parser.isSet("json");
    const auto outcome = recalculate(planInputsFrom(*controls), loopSettingsFrom(*controls));
    if (const auto* refused = std::get_if<RefusedPlan>(&outcome)) {
        if (json) {
            writeOut(QJsonDocument(QJsonObject{{"error", q(refused->reason)}}).toJson(QJsonDocument::Compact).toStdString() + "\n", true);
        } else {
            std::fprintf(stderr, "kelvanectl: no plan: %s\n", refused->reason.c_str());
        }
        return exitUsage;
    }
    const auto& result = std::get<Recalculation>(outcome);
    if (json) {
        writeOut(QJsonDocument(planJson(result)).toJson(QJsonDocument::Indented).toStdString(), true);
    } else {
        writeOut(planText(result), parser.isSet("crlf"));
    }
    return exitOk;
}

} // namespace kelvane::cli
