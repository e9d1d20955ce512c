#pragma once

#include <cstdint>
#include <string>

namespace anitrope {

struct Settings;

// The questions that can be silenced for good ("Don't &Show this message again"), each tied
// to its own warning flag of the settings.
enum class ConfirmKind {
    Transparent,    // "Transparent Warning": an effect colour is the transparent one
    Optimize,       // "Optimize Warning"
    UnOptimize,     // "UnOptimize Warning"
    GlobalPalette,  // "GlobalPal Warning": switching the global palette off
    LocalPalette,   // "LocalPal Warning": switching a frame's local palette off
};

// The question asked for `kind`, as the user reads it.
const std::string& ConfirmationText(ConfirmKind kind);

// The setting that silences `kind`: 0 asks, 1 proceeds without asking.
uint32_t& ConfirmationFlag(Settings& settings, ConfirmKind kind);

struct ConfirmationAnswer {
    bool proceed = false;        // "&Ok"
    bool dontShowAgain = false;  // the check box was ticked
};

// Shows the confirmation dialog with a message and reports how it was closed (closing it
// without a button is Cancel). The editor uses a Qt dialog; tests answer from a script.
class Confirmations {
  public:
    virtual ~Confirmations() = default;
    virtual ConfirmationAnswer Ask(const std::string& text) = 0;
};

// True when the user lets the operation go ahead. A silenced question answers true without
// showing anything; "&Ok" with the check box ticked silences it, Cancel never does.
bool Confirm(ConfirmKind kind, Settings& settings, Confirmations& confirmations);

}  // namespace anitrope
