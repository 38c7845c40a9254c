#include "json_line.h"

namespace kelvane::sim {

void writeJsonLine(std::FILE* out, double time, const char* direction, const std::string& bytes,
                   std::optional<double> outputHz) {
    std::string data;
    data.reserve(bytes.size() + 16);
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '"' || byte == '\\') {
            data += '\\';
            data += c;
        } else if (byte == '\r') {
            data += "\\r";
        } else if (byte == '\n') {
            data += "\\n";
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", byte);
            data += escaped;
        } else {
            data += c;
        }
    }
    if (outputHz)
        std::fprintf(out, "{\"t\":%.9f,\"dir\":\"%s\",\"data\":\"%s\",\"outputHz\":%.4f}\n", time,
                     direction, data.c_str(), *outputHz);
    else
        std::fprintf(out, "{\"t\":%.9f,\"dir\":\"%s\",\"data\":\"%s\"}\n", time, direction,
                     data.c_str());
}

} // namespace kelvane::sim
