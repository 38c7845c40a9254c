#include "cli/terminal_output.h"

#include <QJsonObject>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/command_line.h"
#include "model/display_text.h"

namespace kelvane::cli {
namespace {

int outputFailure = 0;
bool jsonOutput = false;
bool jsonWritten = false;
QString firstError;

} // namespace

std::string shownText(const QString& text) {
    return escapedText(text.toStdString());
}

void printError(const QString& line, const QString& jsonError) {
    std::fprintf(stderr, "kelvanectl: %s\n", shownText(line).c_str());
    if (firstError.isEmpty()) firstError = jsonError.isEmpty() ? line : jsonError;
}

void setJsonOutput(bool json) {
    jsonOutput = json;
}

void noteJsonWritten() {
    jsonWritten = true;
}

void noteOutputFailure(int error) {
    if (outputFailure == 0) outputFailure = error == 0 ? EIO : error;
}

int checkedOutput(int status) {
    if (jsonOutput && !jsonWritten && !firstError.isEmpty())
        writeJson(QJsonObject{{"error", firstError}});
    errno = 0;
    if (std::fflush(stdout) != 0) noteOutputFailure(errno);
    if (std::ferror(stdout)) noteOutputFailure(errno);
    errno = 0;
    if (std::fclose(stdout) != 0) noteOutputFailure(errno);
    if (outputFailure == 0) return status;
    std::fprintf(stderr, "kelvanectl: cannot write the output: %s\n", std::strerror(outputFailure));
    return status >= 128 ? status : exitFailure;
}

} // namespace kelvane::cli
