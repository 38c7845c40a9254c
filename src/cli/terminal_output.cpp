#include "cli/terminal_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/command_line.h"
#include "model/display_text.h"

namespace kelvane::cli {
namespace {

int outputFailure = 0;

} // namespace

std::string shownText(const QString& text) {
    return escapedText(text.toStdString());
}

void noteOutputFailure(int error) {
    if (outputFailure == 0) outputFailure = error == 0 ? EIO : error;
}

int checkedOutput(int status) {
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
