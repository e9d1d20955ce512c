#include <algorithm>
#include <array>
#include <cctype>

#include "effects/effect_families.h"
#include "effects/effect_params.h"
#include "model/gif.h"

namespace anitrope {
namespace {

constexpr const char* kFringeDirections[] = {"Top/Bottom", "Left/Right"};
constexpr const char* kSides[] = {"Left", "Right", "Top", "Bottom"};
// The spot's paths, in the order ComputeSpot knows them by.
constexpr const char* kSpotMovements[] = {"Simple circle",
                                          "loop (sin 2t , cos t)",
                                          "double loop (sin t , cos 3t)",
                                          "butterfly (sin 2t , cos 3t)",
                                          "atomium (sin 4t , cos 3t)",
                                          "multicircle1 (sin 2t cos t , cos 3t)",
                                          "multicircle2 (sin t cos 2t , cos 3t)"};
// Move's directions, clockwise from the top; image 2's lists the same ways reversed.
constexpr const char* kMoveAway[] = {"Center to Top Edge",    "Center to Top-Right Corner",
                                     "Center to Right Edge",  "Center to Bottom-Right Corner",
                                     "Center to Bottom Edge", "Center to Bottom-Left Corner",
                                     "Center to Left Edge",   "Center to Top-Left Corner"};
constexpr const char* kMoveIn[] = {"Top Edge to Center",    "Top-Right Corner to Center",
                                   "Right Edge to Center",  "Bottom-Right Corner to Center",
                                   "Bottom Edge to Center", "Bottom-Left Corner to Center",
                                   "Left Edge to Center",   "Top-Left Corner to Center"};

constexpr const char* kRadiusSentence =
    "'Radius' is specified in percent of the smaller image's dimension.";
// The satellite's dialog has always shown the same sentence without its full stop.
constexpr const char* kSatelliteRadiusSentence =
    "'Radius' is specified in percent of the smaller image's dimension";
// Where the satellite starts; each item also fills in its two angles (SetupSatellite).
constexpr const char* kStartPositions[] = {
    "Center-Front",     "Top-Left-Front",    "Top-Right-Front",
    "Bottom-Left-Front", "Bottom-Right-Front", "Top-Left-Back",
    "Top-Right-Back",   "Bottom-Left-Back",  "Bottom-Right-Back"};

// Radar's pivots: the centre, or a corner from which the beam sweeps a quarter.
constexpr const char* kRadarPositions[] = {"Center", "Top Right Corner", "Top Left Corner",
                                           "Bottom Left Corner", "Bottom Right Corner"};
// Page's motions; each item also fills in the three values (SetupPage).
constexpr const char* kPageMotions[] = {"Top-Left to Bottom-Right", "Bottom-Left to Top-Right",
                                        "Bottom-Right to Top-Right"};

constexpr ValueForm Value(const char* label, const char* text = nullptr) { return {label, text}; }
constexpr CheckForm Check(const char* label, bool checked = false) { return {label, checked}; }

// Forms shared by an effect and its transition.
constexpr EntryForm kBlurForm{.description = "Blurs the image(s)",
                              .values = {Value("Strength(0-100)", "20")}};
constexpr EntryForm kEmbossForm{
    .description = "Embosses (in work - best with grayscale images).",
    .values = {Value("Strength(0-100)", "20"), Value("Bias(0-255)", "128")}};
constexpr EntryForm kPageForm{
    .description = "Turns the image away as if turning a page.",
    .values = {Value("Start Angle"), Value("Angle Increment"), Value("Rolling Thickness")},
    .first = {"Predefined", kPageMotions},
    .pingPong = true};

const std::array kEffects{
    EffectEntry{"Blind",
                {.description = "Images will be covered by the selected Color as if closing a blind.",
                 .values = {Value("Blind Height", "10")}, .color = true, .pingPong = true},
                SetupBlind, ComputeBlind},
    EffectEntry{"Blur", kBlurForm, SetupBlur, ComputeBlur},
    EffectEntry{"Checkers",
                {.description = "Structurizes the image by overlaying Checkers", .pingPong = true},
                nullptr, ComputeCheckers},
    EffectEntry{"Color Blending Out",
                {.description = "Performs a color blending into the selected Color.",
                 .checks = {Check("Dark to Light", true)}, .color = true, .pingPong = true},
                nullptr, ComputeColorBlending},
    EffectEntry{"Emboss", kEmbossForm, SetupEmboss, ComputeEmboss},
    EffectEntry{"Fade Out",
                {.description = "Performs a 'Fade out' into the selected Color.", .color = true,
                 .pingPong = true},
                SetupFade, ComputeFade},
    EffectEntry{"Flag",
                {.description = "Projects image onto a Flag.",
                 .values = {Value("Nr. of halfWaves", "4"), Value("Amplitude in %", "5")},
                 .color = true},
                SetupFlag, ComputeFlag},
    EffectEntry{"Frame Out",
                {.description = "Removes image by expanding a frame around it.", .color = true,
                 .pingPong = true},
                nullptr, ComputeFrameOut},
    EffectEntry{"Fringe",
                {.description = "Overlays the first image with fringes in the selected color.",
                 .values = {Value("Width of fringe", "1")},
                 .checks = {Check("Transparent Fringes")},
                 .first = {"Direction", kFringeDirections}, .color = true, .pingPong = true},
                SetupFringe, ComputeFringe},
    EffectEntry{"Invert",
                {.description = "Inverts Image (making it look like a photo-negative).",
                 .color = true, .pingPong = true},
                nullptr, ComputeInvertOverblend},
    EffectEntry{"Move",
                {.description = "Moves Image into selected direction.",
                 .first = {"Direction of Image 1", kMoveAway}, .color = true, .pingPong = true},
                SetupMove, ComputeMoveFirst},
    EffectEntry{"Page", kPageForm, SetupPage, ComputePage},
    EffectEntry{"Pixelize",
                {.description = "Increases the pixel size by averaging over nearby colors.",
                 .pingPong = true},
                SetupPixelize, ComputePixelize},
    EffectEntry{"Radar",
                {.description = "Image will be covered by a 'Radar' in the selected color",
                 .values = {Value("Start angle", "0")}, .checks = {Check("Clockwise", true)},
                 .first = {"Position", kRadarPositions}, .color = true, .pingPong = true},
                SetupRadar, ComputeRadar},
    EffectEntry{"Random Shine through",
                {.description = "Image turns to selected Color - random pixel by random pixel.",
                 .color = true, .pingPong = true},
                nullptr, ComputeRandomShine},
    EffectEntry{"Roll Sphere",
                {.description = "Projects image onto a rolling Sphere",
                 .values = {Value("Radius [%]", "90")}, .checks = {Check("Roll left", true)},
                 .color = true, .pingPong = true},
                SetupRollSphere, ComputeRollSphere},
    EffectEntry{"Rotor",
                {.description = "Linewise rotation of the image.", .color = true, .pingPong = true},
                nullptr, ComputeRotor},
    EffectEntry{"Spiral",
                {.description = "Image will be overlayed by a rectangular Spiral .", .color = true,
                 .pingPong = true},
                SetupSpiral, ComputeSpiral},
    EffectEntry{"Spot",
                {.description = "Spot lighting up parts of the Image.",
                 .values = {Value("Radius in %", "20")},
                 .first = {"Predefined Movements", kSpotMovements}, .color = true},
                SetupSpot, ComputeSpot},
    EffectEntry{"Tilt In",
                {.description = "Tilts in the Image (like a saloon door).",
                 .values = {Value("Nr. Halfwaves", "3")}, .first = {"Side", kSides},
                 .color = true, .pingPong = true},
                SetupTiltIn, ComputeTiltIn},
    EffectEntry{"Wave Out",
                {.description = "Wave (image starts swinging)",
                 .values = {Value("Nr. Halfwaves", "3")},
                 .checks = {Check("Up to Down", true), Check("Left side", true)}, .color = true,
                 .pingPong = true},
                SetupWave, ComputeWave},
    EffectEntry{"Weave",
                {.description = "Texturizes the image to look like coarse weaved cloth.",
                 .pingPong = true},
                nullptr, ComputeWeave},
    EffectEntry{"Zoom Out",
                {.description = "Zooms out the 1st Image.", .values = {Value("Rotation Angle", "-360")},
                 .color = true, .pingPong = true},
                nullptr, ComputeZoomOut},
};

const std::array kTransitions{
    EffectEntry{"Blind",
                {.description = "First image will be covered by the second image as if closing a blind.",
                 .values = {Value("Blind Height", "10")}, .pingPong = true},
                SetupBlind, ComputeBlind},
    EffectEntry{"Blur", kBlurForm, SetupBlur, ComputeBlur},
    EffectEntry{"Color Blending",
                {.description = "Performs a color blending from Image 1 into Image 2 or vice versa.",
                 .checks = {Check("Dark to Light", true), Check("Blend Out", true)},
                 .pingPong = true},
                nullptr, ComputeColorBlending},
    EffectEntry{"Emboss", kEmbossForm, SetupEmboss, ComputeEmboss},
    EffectEntry{"Fade",
                {.description = "Performs a 'Fade out' of Image 1 into Image 2.", .pingPong = true},
                SetupFade, ComputeFade},
    EffectEntry{"Frame Out 1. Image",
                {.description = "Expands 2nd Image as frame around 1st Image.", .pingPong = true},
                nullptr, ComputeFrameOut},
    EffectEntry{"Frame In 2. Image",
                {.description = "Expands 1st Image as frame around 2nd Image.", .pingPong = true},
                nullptr, ComputeFrameIn},
    EffectEntry{"Fringe",
                {.description = "Overlays the first image with fringes of the second.",
                 .values = {Value("Width of fringe", "1")},
                 .first = {"Direction", kFringeDirections}, .pingPong = true},
                SetupFringe, ComputeFringe},
    EffectEntry{"Move 1. Image",
                {.description = "Moves 1st Image over fixed 2nd Image into selected direction.",
                 .first = {"Direction of Image 1", kMoveAway}, .pingPong = true},
                SetupMove, ComputeMoveFirst},
    EffectEntry{"Move 2. Image",
                {.description = "Moves 2nd Image over fixed 1st Image into selected direction.",
                 .second = {"Direction of Image 2", kMoveIn}, .pingPong = true},
                SetupMove, ComputeMoveSecond},
    EffectEntry{"Move both Images",
                {.description = "Moves both Images,with Image 1 on top of Image 2.",
                 .checks = {Check("2.Image on top")}, .first = {"Direction of Image 1", kMoveAway},
                 .second = {"Direction of Image 2", kMoveIn}, .color = true, .pingPong = true},
                SetupMoveBoth, ComputeMoveBoth},
    EffectEntry{"Overblend",
                {.description = "Blends from 1st Image into 2nd Image using the specified Color.",
                 .color = true, .pingPong = true},
                nullptr, ComputeInvertOverblend},
    EffectEntry{"Page", kPageForm, SetupPage, ComputePage},
    EffectEntry{"Pixelize",
                {.description = "Increases the pixel size by averaging over nearby colors, then "
                                "decreases them resulting in the 2nd image."},
                SetupPixelize, ComputePixelize},
    EffectEntry{"Radar",
                {.description = "Image will be covered by a 'Radar' of the second image",
                 .values = {Value("Start angle", "0")}, .checks = {Check("Clockwise", true)},
                 .first = {"Position", kRadarPositions}, .pingPong = true},
                SetupRadar, ComputeRadar},
    EffectEntry{"Random Rects",
                {.description = "Randomly positiones Rectangles of the 2nd image over the 1st.",
                 .values = {Value("Rects per row", "10"), Value("Rects per column", "10")},
                 .pingPong = true},
                SetupRandomRects, ComputeRandomRects},
    EffectEntry{"Random Shine through",
                {.description = "Second images shines through first image at random positions.",
                 .pingPong = true},
                nullptr, ComputeRandomShine},
    EffectEntry{"Roll Sphere",
                {.description = "Projects both images onto a rolling Sphere",
                 .values = {Value("Radius [%]", "90")}, .checks = {Check("Roll left", true)},
                 .color = true, .pingPong = true},
                SetupRollSphere, ComputeRollSphere},
    EffectEntry{"Roll Sphere with Satellite",
                {.description = "1.Image = Sphere, 2.Image = Satellite.",
                 .values = {Value("Sphere-Radius [%]", "65"), Value("Satellite Tilt Angle"),
                            Value("Satellite Angle"), Value("Satellite width [%]", "10"),
                            Value("Satellite height [%]", "20")},
                 .checks = {Check("Roll Sphere left", true), Check("Roll Satellite left"),
                            Check("Roll Sphere", true), Check("Flat Satellite")},
                 .first = {"Start Position", kStartPositions}, .color = true, .pingPong = true},
                SetupSatellite, ComputeSatellite},
    EffectEntry{"Rotor",
                {.description = "Linewise rotates the first image into the second one.",
                 .color = true, .pingPong = true},
                nullptr, ComputeRotor},
    EffectEntry{"Spiral", {.description = "Spirals first image onto second.", .pingPong = true},
                SetupSpiral, ComputeSpiral},
    EffectEntry{"Spot",
                {.description = "Spot lighting up parts of the 1st Image by revealing the 2nd Image.",
                 .values = {Value("Radius in %", "20")},
                 .first = {"Predefined Movements", kSpotMovements}},
                SetupSpot, ComputeSpot},
    EffectEntry{"Tilt In",
                {.description = "Tilts in the 2nd Image (like a saloon door).",
                 .values = {Value("Nr. Halfwaves", "3")}, .first = {"Side", kSides},
                 .pingPong = true},
                SetupTiltIn, ComputeTiltIn},
    EffectEntry{"Wave",
                {.description = "Wave (image starts swinging)",
                 .values = {Value("Nr. Halfwaves", "3")},
                 .checks = {Check("Up to Down", true), Check("Left side", true), Check("Out", true)},
                 .pingPong = true},
                SetupWave, ComputeWave},
    EffectEntry{"Zoom In",
                {.description = "Zooms in the 2nd Image.", .values = {Value("Rotation Angle", "-360")},
                 .pingPong = true},
                nullptr, ComputeZoomIn},
    EffectEntry{"Zoom Out",
                {.description = "Zooms out the 1st Image.", .values = {Value("Rotation Angle", "-360")},
                 .pingPong = true},
                nullptr, ComputeZoomOut},
};

// Entries whose description has a second sentence.
const char* SecondSentence(const EffectEntry& entry) {
    const std::string_view name = entry.name;
    if (name == "Roll Sphere") return kRadiusSentence;
    if (name == "Roll Sphere with Satellite") return kSatelliteRadiusSentence;
    return nullptr;
}

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

void PutForm(const EntryForm& form, const EffectEntry& entry, EffectSlots& slots) {
    std::string description = form.description;
    if (const char* more = SecondSentence(entry)) description = description + "\n" + more;
    slots.Describe(description);
    for (int n = 1; n <= kValueSlots; ++n) {
        const ValueForm& v = form.values[static_cast<std::size_t>(n - 1)];
        if (v.label) slots.EnableValue(n, v.label, std::string(v.text ? v.text : ""));
    }
    for (int n = 1; n <= kCheckSlots; ++n) {
        const CheckForm& c = form.checks[static_cast<std::size_t>(n - 1)];
        if (c.label) slots.EnableCheck(n, c.label, c.checked);
    }
    int list = 1;
    for (const ListForm* l : {&form.first, &form.second}) {
        if (l->label) slots.SetListLabel(list, l->label);
        for (const char* item : l->items) slots.AddListItem(list, item);
        if (!l->items.empty()) slots.SelectListItem(list, 0);
        ++list;
    }
    if (form.color) slots.EnableColor();
    if (form.pingPong) slots.EnableCheck(kPingPongSlot, std::nullopt, false);
}

}  // namespace

std::span<const EffectEntry> EffectTable() { return kEffects; }
std::span<const EffectEntry> TransitionTable() { return kTransitions; }
std::span<const EffectEntry> EntryTable(bool effect) { return effect ? EffectTable() : TransitionTable(); }

const EffectEntry* FindEntry(bool effect, std::string_view name) {
    for (const EffectEntry& entry : EntryTable(effect))
        if (SameName(entry.name, name)) return &entry;
    return nullptr;
}

const EffectEntry* ChosenEntry(const EffectParams& params) {
    const auto table = EntryTable(params.isEffect != 0);
    const int32_t index = params.isEffect ? params.effectIndex : params.transitionIndex;
    if (index < 0 || static_cast<std::size_t>(index) >= table.size()) return nullptr;
    return &table[static_cast<std::size_t>(index)];
}

int RunSetup(const EffectEntry& entry, EffectSlots& slots, SetupMode mode) {
    if (mode == SetupMode::Init) PutForm(entry.form, entry, slots);
    return entry.setup ? entry.setup(slots, mode) : 1;
}

FrameChain RunEntry(const EffectParams& params, const Gif& first, const Gif* second,
                    EffectProgress& progress) {
    const EffectEntry* entry = ChosenEntry(params);
    if (!entry || !entry->Available() || !FramesFit(first, params.frameCount)) return nullptr;
    if (!params.isEffect) {
        // Transitions read both pictures over the same rectangle.
        if (!second || second->left != first.left || second->top != first.top ||
            second->width != first.width || second->height != first.height)
            return nullptr;
    }
    return entry->compute(&first, params.isEffect ? nullptr : second, params, progress);
}

}  // namespace anitrope
