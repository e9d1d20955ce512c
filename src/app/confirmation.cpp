#include "app/confirmation.h"

#include "app/settings.h"

namespace anitrope {

const std::string& ConfirmationText(ConfirmKind kind) {
    // The misspelt "Coninue" is the text users know from earlier releases.
    static const std::string transparent =
        "The color selected for the effect/transition is the transparent color, this may result "
        "in effects without a visible change.\nContinue ?";
    static const std::string optimize =
        "Optimizing will affect all Images, further applying of effects/transitions will only be "
        "performed on parts of the image.\nConinue ?";
    static const std::string unoptimize =
        "UnOptimizing will affect all Images, because of this process all transparency will be "
        "lost. All images will use a local Palette and will have the same size.\nConinue ?";
    static const std::string globalPalette =
        "Deactivating the global Palette requires activation of all local palettes\nDo you want "
        "all local palettes to be turned on ?\n";
    static const std::string localPalette =
        "Deactivating the local Palette requires activation of the global palette\nDo you want "
        "the global palette to be turned on ?\n";
    switch (kind) {
        case ConfirmKind::Transparent:
            return transparent;
        case ConfirmKind::Optimize:
            return optimize;
        case ConfirmKind::UnOptimize:
            return unoptimize;
        case ConfirmKind::GlobalPalette:
            return globalPalette;
        case ConfirmKind::LocalPalette:
            return localPalette;
    }
    return transparent;
}

uint32_t& ConfirmationFlag(Settings& settings, ConfirmKind kind) {
    switch (kind) {
        case ConfirmKind::Transparent:
            return settings.transparentWarning;
        case ConfirmKind::Optimize:
            return settings.optimizeWarning;
        case ConfirmKind::UnOptimize:
            return settings.unoptimizeWarning;
        case ConfirmKind::GlobalPalette:
            return settings.globalPalWarning;
        case ConfirmKind::LocalPalette:
            return settings.localPalWarning;
    }
    return settings.transparentWarning;
}

bool Confirm(ConfirmKind kind, Settings& settings, Confirmations& confirmations) {
    uint32_t& flag = ConfirmationFlag(settings, kind);
    if (flag == 1) return true;
    const ConfirmationAnswer answer = confirmations.Ask(ConfirmationText(kind));
    if (answer.proceed && answer.dontShowAgain) flag = 1;
    return answer.proceed;
}

}  // namespace anitrope
