#pragma once
// The main window's controls: Ui::LMX2541, generated from main_window.ui, with
// one member per control named as the control (Fo, Text1, CPGscroll, ...).
// Code outside this library includes this header rather than the generated
// one, so that its own target's form compiler does not look for the form.

#include "ui_main_window.h" // IWYU pragma: export
