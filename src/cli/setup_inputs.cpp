#include "cli/setup_inputs.h"

#include <QFileInfo>
#include <cstdio>

#include "cli/command_line.h"
#include "cli/terminal_output.h"
#include "cli/warnings.h"
#include "model/plan_variables.h"
#include "model/recalculation.h"

namespace kelvane::cli {

std::optional<setup::Setup> readSetupOptions(const QCommandLineParser& parser) {
    setup::Setup setup;
    if (parser.isSet("setup")) {
        auto read = setup::readSetup(parser.value("setup"));
        if (const auto* error = std::get_if<setup::SetupError>(&read)) {
            usageError(error->message);
            return std::nullopt;
        }
        setup = std::get<setup::Setup>(std::move(read));
        printWarnings(setup.warnings);
    }
    const auto inputs = readControlOptions(parser, setup.inputs);
    if (!inputs) return std::nullopt;
    setup.inputs = *inputs;
    return setup;
}

std::optional<Inputs> readInputOptions(const QCommandLineParser& parser) {
    const auto setup = readSetupOptions(parser);
    if (!setup) return std::nullopt;
    return setup->inputs;
}

std::optional<int> refuseToReplace(const QString& path, bool force) {
    if (!force && QFileInfo::exists(path))
        return usageError(path + ": exists; give --force to replace it");
    return std::nullopt;
}

int saveSetup(const QString& path, const setup::Setup& setup) {
    const auto outcome = recalculate(setup.inputs, planVariablesFrom(setup.inputs));
    std::optional<RegisterImage> registers;
    if (const auto* result = std::get_if<Recalculation>(&outcome))
        registers = result->registers;
    else
        std::fprintf(stderr, "kelvanectl: saved without register words: no plan: %s\n",
                     std::get<RefusedPlan>(outcome).reason.c_str());
    if (const auto error = setup::writeSetup(path, setup, registers)) {
        printError(error->message);
        return exitFailure;
    }
    return exitOk;
}

} // namespace kelvane::cli
