#include "cli/plan_output.h"

#include "cli/command_line.h"
#include "model/hex.h"

namespace kelvane::cli {

std::string planText(const Recalculation& r) {
    const auto& c = r.captions;
    // The window's own label, where it has one, before each display.
    const std::pair<const char*, const std::string&> displays[] = {
        {"Fvco ", c.fv}, {"Fcomp ", c.fc}, {"", c.dn},    {"", c.frlabel},
        {"", c.nlabel},  {"", c.stepLbl},  {"", c.operr}, {"Chip Version(s) allowed ", c.chipType},
    };
    std::string text;
    for (const auto& [label, caption] : displays) {
        // Runs of blanks line the captions up in the window's font; one reads better here.
        const QString shown = qText(caption).simplified();
        if (!shown.isEmpty()) text += label + shown.toStdString() + "\r\n";
    }
    return text + "\r\n" + r.listing;
}

QJsonObject planJson(const Recalculation& r) {
    const auto& p = r.plan;
    const auto& c = r.captions;
    QJsonObject registers;
    for (int address : transferOrder)
        registers.insert(QString("Reg%1").arg(address), qText(hexWord(r.registers[address])));
    return QJsonObject{
        {"plan", QJsonObject{{"Fcomp", p.fcomp},
                             {"Denom", p.denom},
                             {"EffN", p.effN},
                             {"N", p.n},
                             {"Fract", p.fract},
                             {"Fcorr", p.fcorr},
                             {"Ferror", p.ferror}}},
        {"captions", QJsonObject{{"Fv", qText(c.fv)},
                                 {"Fc", qText(c.fc)},
                                 {"Dn", qText(c.dn)},
                                 {"Frlabel", qText(c.frlabel)},
                                 {"Nlabel", qText(c.nlabel)},
                                 {"StepLbl", qText(c.stepLbl)},
                                 {"OPerr", qText(c.operr)},
                                 {"ChipType", qText(c.chipType)}}},
        {"colors", QJsonObject{{"Dn", qText(c.dnColour.name())},
                               {"ChipType", qText(c.chipTypeColour.name())},
                               {"OPerr", qText(colours::red.name())}}},
        {"registers", registers},
        {"listing", qText(r.listing)},
    };
}

} // namespace kelvane::cli
