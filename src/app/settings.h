#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "app/window_placement.h"
#include "platform/key_value_store.h"
#include "quantize/reduction_method.h"

namespace anitrope {

inline constexpr int kRecentFileSlots = 5;
inline constexpr const char kNoPath[] = "N/A";

// Every persistent setting of the editor, with its default. The names of the values in the
// store are the texts in the comments.
struct Settings {
    std::string path = kNoPath;           // "Path"
    std::string pathSave = kNoPath;       // "PathSave" (empty on the very first start)
    uint32_t preview = 1;                 // "Preview"
    uint32_t previewFrames = 10;          // "PreviewFrames"
    uint32_t fixedPreviewFrames = 0;      // "Fixed Nr. of PreviewFrames"
    uint32_t exportAsJpg = 0;             // "ExportAsJpg"
    uint32_t reloadAfterSave = 0;         // "ReloadAfterSave"
    uint32_t confirmDelete = 1;           // "Confirm Delete"
    uint32_t keepTrueColorInfo = 1;       // "Keep TrueColorInfo"
    uint32_t multiInst = 0;               // "MultiInst"
    uint32_t jpegCompression = 75;        // "Jpeg Compression"
    uint32_t gifCompression = 0xF0F0F0;   // "Gif Compression"
    uint32_t transparentWarning = 0;      // "Transparent Warning"
    uint32_t optimizeWarning = 0;         // "Optimize Warning"
    uint32_t unoptimizeWarning = 0;       // "UnOptimize Warning"
    uint32_t resizeWarning = 0;           // "Resize Warning"
    uint32_t localPalWarning = 0;         // "LocalPal Warning"
    uint32_t globalPalWarning = 0;        // "GlobalPal Warning"
    uint32_t lastTransition = 0;          // "Internal" / 256
    uint32_t lastEffect = 0;              // "Internal" % 256
    uint32_t toolWindows = 1;             // "ToolWindows"
    uint32_t undoMemory = 256;            // "Undo Memory": MiB of pictures the undo history keeps
    uint32_t colorReduction = 0;          // "Color Reduction": 0 "Popularity", 1 "High Quality"
    uint32_t dither = 0;                  // "Dither": used with "High Quality" only
    WindowPlacement winRect;              // "WinRect"
    WindowPlacement paramPlacement = WindowPlacement::None();  // "Param Placement" (none)
    std::array<std::string, kRecentFileSlots> history;  // "History File %d", slot 0 newest

    // Not stored: the save dialog's "Save &Opimized" switch, off at every start.
    bool saveOptimized = false;

    // Sets the six warning flags to 0 ("Reactivate all &Warnings").
    void ReactivateWarnings();
};

// Reads the settings from the store. On a first start (the store held nothing) every value
// takes its default, "PathSave" is empty, the window placement is the default for a screen of
// screenWidth x screenHeight, and everything is written back at once. Missing or mistyped
// values take their defaults. Nothing when the store cannot be written on a first start.
std::optional<Settings> LoadSettings(KeyValueStore& store, int32_t screenWidth,
                                     int32_t screenHeight);

// Writes every setting; false when the store cannot be written.
bool SaveSettings(const Settings& settings, KeyValueStore& store);

// The message and exit code for a store that cannot be written: an empty text under the title
// "REGISTRY PANIC !", then exit code 1.
inline constexpr const char kRegistryPanicTitle[] = "REGISTRY PANIC !";
inline constexpr int kRegistryPanicExitCode = 1;

// Hand-over between instances: "Temp%d" text values.
std::string HandOverValueName(uint32_t number);

// The "Gif Compression" levels: slider position 1-5 and name ("Highest Quality" ... "Smallest
// Size"); an unknown stored value shows as position 1 in Options and 3 in the save dialog.
// An empty text for any other position, never null.
const char* GifCompressionLevelName(int position);

// "Jpeg Compression" as a libjpeg quality: the store may hold any number, 100 is the most.
inline constexpr int kMaxJpegQuality = 100;
int JpegQuality(const Settings& settings);

// "Color Reduction" and "Dither" for the reduction workers; a stored method other than the
// two is "Popularity".
ReductionOptions ReductionOptionsOf(const Settings& settings);

}  // namespace anitrope
