#pragma once
// The texts the Beacon dialog shows and reads: its presets, a sequence as the
// element list's cells and back, and the tone table's rows.

#include <array>
#include <string>
#include <variant>
#include <vector>

#include "modes/beacon_tones.h"

namespace kelvane::beacon {

// Element list columns: mode, message, start second, WPM, shift Hz, JT4
// sub-mode, until second (carrier).
inline constexpr std::array<const char*, 7> elementColumns{
    "Mode", "Message", "Start (s)", "WPM", "Shift (Hz)", "Sub-mode", "Until (s)"};
using ElementCells = std::array<std::string, 7>;

inline constexpr std::array<const char*, 4> presetNames{"Mixed", "WSPR", "JT4", "Custom"};

// The preset's sequence for a call and locator ("Custom": one PI4 element of
// the call). WSPR sends "CALL GRID 30", the grid the locator's first four
// characters.
Sequence presetSequence(int preset, const std::string& call, const std::string& locator);

std::vector<ElementCells> elementCells(const Sequence& sequence);
// The cells read back; one line naming the row and column on a cell that
// holds no number where one is needed, or no known mode. An empty WPM,
// shift, sub-mode or until cell takes its default (12, -400, A, the period's
// end).
std::variant<Sequence, std::string> sequenceFromCells(const std::vector<ElementCells>& rows,
                                                      double periodSeconds);

// Tone, wanted Hz, achieved Hz, error Hz, D, Reg2.
inline constexpr std::array<const char*, 6> toneColumns{
    "Tone", "Wanted (Hz)", "Achieved (Hz)", "Error (Hz)", "D", "Reg2"};
std::vector<std::array<std::string, 6>> toneRows(const TonePlan& plan);

// "Next start in 0:42" before a run's first period; "12:03:00 PI4 OZ7IGY".
std::string countdownText(double seconds);

} // namespace kelvane::beacon
