#pragma once
// Setup files (".kelvane"): UTF-8 JSON that a person can read and edit,
//   {"format": "kelvane-setup", "version": 1, "name": ..., "note": ...,
//    "inputs": {...}, "registers": {"7": "00000017", ..., "0": "61A80E80"}}
// The inputs are what a user sets, under kelvanectl's option names; a missing
// input keeps its start-up value and unknown keys are ignored. The registers
// are written for other tools to take and never read back.

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>
#include <variant>

#include "model/inputs.h"
#include "model/registers.h"
#include "modes/beacon_sequence.h"

namespace kelvane::setup {

inline constexpr const char* fileSuffix = "kelvane";
inline constexpr int formatVersion = 1;

struct Setup {
    std::string name;
    std::string note;
    Inputs inputs;
    std::optional<beacon::Sequence> beacon{}; // the "beacon" object, see beacon_object.h
    friend bool operator==(const Setup&, const Setup&) = default;
};

// One line naming the file and, where there is one, the field at fault.
struct SetupError {
    QString message;
};

using SetupRead = std::variant<Setup, SetupError>;

// The whole file checked before anything is returned: a file with any fault is
// refused, so a caller never applies half of it.
SetupRead readSetup(const QString& path);
SetupRead parseSetup(const QByteArray& bytes, const QString& fileName);

// The file's text; the registers are left out when there is no plan.
QByteArray setupText(const Setup& setup, const std::optional<RegisterImage>& registers);

// Replaces the file only once the whole text is written, so a full disk or a
// read-only folder leaves any old file as it was. Returns the error, if any.
std::optional<SetupError> writeSetup(const QString& path, const Setup& setup,
                                     const std::optional<RegisterImage>& registers);

} // namespace kelvane::setup
