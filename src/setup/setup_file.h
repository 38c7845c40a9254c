#pragma once
// Setup files (".kelvane"): UTF-8 JSON that a person can read and edit,
//   {"format": "kelvane-setup", "version": 1, "name": ..., "note": ...,
//    "inputs": {...}, "registers": {"7": "00000017", ..., "0": "61A80E80"}}
// The inputs are what a user sets, under kelvanectl's option names, with
// "rfmult-in-force" beside "rfmult": the multiplication in force, which the
// text alone does not give while it reads as no factor ("0"). A missing input
// keeps its start-up value; an unknown key is ignored with a warning. The
// registers are written for other tools to take and never read back.

#include <QByteArray>
#include <QString>
#include <QStringList>
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
    // What the file holds that was ignored or is read only in part (an unknown
    // key, "2320,25"), one line each naming the file and the key. The setup is
    // what it is without them.
    QStringList warnings = {};
    friend bool operator==(const Setup& a, const Setup& b) {
        return a.name == b.name && a.note == b.note && a.inputs == b.inputs && a.beacon == b.beacon;
    }
};

// One line naming the file and, where there is one, the field at fault.
struct SetupError {
    QString message;
};

using SetupRead = std::variant<Setup, SetupError>;

// The whole file checked before anything is returned: a file with any fault is
// refused, so a caller never applies half of it. Only a regular file of at
// most 1 MiB is read.
SetupRead readSetup(const QString& path);
SetupRead parseSetup(const QByteArray& bytes, const QString& fileName);

// The file's text; the registers are left out when there is no plan.
QByteArray setupText(const Setup& setup, const std::optional<RegisterImage>& registers);

// Replaces the file only once the whole text is written, so a full disk or a
// read-only folder leaves any old file as it was; refuses to replace anything
// but a regular file. Returns the error, if any: "cannot write lo.kelvane: No
// space left on device".
std::optional<SetupError> writeSetup(const QString& path, const Setup& setup,
                                     const std::optional<RegisterImage>& registers);

} // namespace kelvane::setup
