#include "cli/warnings.h"

#include <QJsonArray>
#include <cstdio>

#include "cli/command_line.h"
#include "cli/terminal_output.h"
#include "model/hex.h"
#include "model/plan_hints.h"
#include "model/plan_variables.h"

namespace kelvane::cli {
namespace {

// Every warning printed so far, those of a setup file included, counts for --check.
bool warned = false;

} // namespace

void addCheckOption(QCommandLineParser& parser) {
    parser.addOption({"check", "Exit with status 3 when there is any warning."});
}

QStringList planWarnings(const Inputs& inputs, const Recalculation& result) {
    const PlanVariables variables = planVariablesFrom(inputs);
    QStringList warnings;
    for (const std::string& hint :
         {denominatorHint(result.plan.denom),
          vcoRangeHint(variables.fvco, variables.fout, variables.rfMult, inputs.odiv)})
        if (!hint.empty()) warnings << qText(hint);
    return warnings + inputTextWarnings(inputs);
}

QStringList inputTextWarnings(const Inputs& inputs) {
    return partlyReadWarning("--fo", inputs.fo) + partlyReadWarning("--fr", inputs.fr) +
           partlyReadWarning("--res", inputs.res) + partlyReadWarning("--rfmult", inputs.rfMult);
}

QStringList partlyReadWarning(const QString& option, const std::string& text) {
    const std::string hint = partialNumberHint(text);
    if (hint.empty()) return {};
    return {option + " " + qText(hint)};
}

QJsonObject withPlanFacts(QJsonObject object, const Inputs& inputs, const Recalculation& result,
                          const QStringList& warnings) {
    const PlanVariables variables = planVariablesFrom(inputs);
    QJsonArray words;
    for (int address : transferOrder)
        words << qText(hexWord(result.registers[address]));
    object.insert("warnings", QJsonArray::fromStringList(warnings));
    object.insert("denominatorFits", denominatorHint(result.plan.denom).empty());
    object.insert(
        "vcoInRange",
        vcoRangeHint(variables.fvco, variables.fout, variables.rfMult, inputs.odiv).empty());
    object.insert("words", words);
    return object;
}

int printGenerated(const QCommandLineParser& parser, const char* key, const GeneratedText& text,
                   const Inputs& inputs, const Recalculation& result) {
    if (!text.ok) return usageError(qText(text.text));
    const QStringList warnings = planWarnings(inputs, result);
    if (parser.isSet("json"))
        writeJson(withPlanFacts({{key, qText(text.text)}}, inputs, result, warnings));
    else
        writeOut(text.text, parser.isSet("crlf"));
    return finish(parser, warnings, exitOk);
}

int finish(const QCommandLineParser& parser, const QStringList& warnings, int status) {
    printWarnings(warnings);
    if (status == exitOk && parser.isSet("check") && anyWarningPrinted()) return exitWarned;
    return status;
}

void printWarnings(const QStringList& warnings) {
    for (const QString& warning : warnings)
        std::fprintf(stderr, "kelvanectl: warning: %s\n", shownText(warning).c_str());
    warned = warned || !warnings.isEmpty();
}

bool anyWarningPrinted() {
    return warned;
}

} // namespace kelvane::cli
