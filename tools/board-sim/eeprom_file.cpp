#include "eeprom_file.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "model/hex.h"
#include "model/registers.h"

namespace kelvane::sim {
namespace {

std::runtime_error fileError(const std::string& path, const std::string& what) {
    return std::runtime_error(path + ": " + what);
}

} // namespace

Words loadEeprom(const std::string& path) {
    Words words = startUpWords();
    std::ifstream in(path);
    if (!in) {
        if (!std::filesystem::exists(path)) return words;
        throw fileError(path, "cannot be read");
    }
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        if (line.empty() || line.front() == '#') continue;
        const auto word = parseHexWord(line);
        if (!word || !hasEepromSlot(static_cast<int>(*word & 0xF)))
            throw fileError(path, "line " + std::to_string(number) +
                                      ": expected a register word of 8 hexadecimal digits "
                                      "for register 0 to 9, 12 or 13, found \"" +
                                      line + "\"");
        words[*word & 0xF] = *word;
    }
    return words;
}

void saveEeprom(const std::string& path, const Words& eeprom) {
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << "# EEPROM of kelvane-board-sim: one register word per line\n";
        for (int address : transferOrder)
            out << hexWord(eeprom[static_cast<std::size_t>(address)]) << '\n';
        out.flush();
        if (!out) throw fileError(temporary, "cannot be written");
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) throw fileError(path, "cannot be replaced: " + error.message());
}

} // namespace kelvane::sim
