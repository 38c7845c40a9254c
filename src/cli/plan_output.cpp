#include "cli/plan_output.h"

namespace kelvane::cli {
namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

std::string planText(const Recalculation& r) {
    const auto& c = r.captions;
    const std::pair<const char*, const std::string&> displays[] = {
        {"Fv", c.fv},         {"Fc", c.fc},           {"Dn", c.dn},       {"Frlabel", c.frlabel},
        {"Nlabel", c.nlabel}, {"StepLbl", c.stepLbl}, {"OPerr", c.operr}, {"ChipType", c.chipType},
    };
    std::string text;
    for (const auto& [name, caption] : displays)
        text += std::string(name) + ": " + caption + "\r\n";
    return text + "\r\n" + r.listing;
}

QJsonObject planJson(const Recalculation& r) {
    const auto& p = r.plan;
    const auto& c = r.captions;
    QJsonObject registers;
    for (int address : transferOrder)
        registers.insert(QString("Reg%1").arg(address), q(hexFormat(r.registers[address])));
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

} // namespace kelvane::cli
