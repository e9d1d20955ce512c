#pragma once

// Settings as one line per value, so that a failed comparison shows every value that differs
// under its stored name.

#include <sstream>
#include <string>

#include "app/settings.h"

namespace anitrope::test {

inline std::string PlacementText(const WindowPlacement& p) {
    std::ostringstream out;
    out << p.length << ' ' << p.flags << ' ' << p.showCommand << " min " << p.minX << ',' << p.minY
        << " max " << p.maxX << ',' << p.maxY << " normal " << p.left << ',' << p.top << ','
        << p.right << ',' << p.bottom;
    return out.str();
}

inline std::string SettingsText(const Settings& s) {
    std::ostringstream out;
    out << "Path=" << s.path << "\nPathSave=" << s.pathSave << "\nPreview=" << s.preview
        << "\nPreviewFrames=" << s.previewFrames
        << "\nFixed Nr. of PreviewFrames=" << s.fixedPreviewFrames
        << "\nExportAsJpg=" << s.exportAsJpg << "\nReloadAfterSave=" << s.reloadAfterSave
        << "\nConfirm Delete=" << s.confirmDelete << "\nKeep TrueColorInfo=" << s.keepTrueColorInfo
        << "\nMultiInst=" << s.multiInst << "\nJpeg Compression=" << s.jpegCompression
        << "\nGif Compression=" << s.gifCompression
        << "\nTransparent Warning=" << s.transparentWarning
        << "\nOptimize Warning=" << s.optimizeWarning
        << "\nUnOptimize Warning=" << s.unoptimizeWarning << "\nResize Warning=" << s.resizeWarning
        << "\nLocalPal Warning=" << s.localPalWarning
        << "\nGlobalPal Warning=" << s.globalPalWarning << "\ntransition=" << s.lastTransition
        << "\neffect=" << s.lastEffect << "\nToolWindows=" << s.toolWindows
        << "\nUndo Memory=" << s.undoMemory << "\nColor Reduction=" << s.colorReduction
        << "\nDither=" << s.dither
        << "\nWinRect=" << PlacementText(s.winRect)
        << "\nParam Placement=" << PlacementText(s.paramPlacement);
    for (std::size_t slot = 0; slot < s.history.size(); ++slot)
        out << "\nHistory File " << slot << '=' << s.history[slot];
    out << "\nsave optimized=" << s.saveOptimized << '\n';
    return out.str();
}

// Every stored setting different from its default (and the placements not empty), so that a
// value lost or mixed up with another shows.
inline Settings UnusualSettings() {
    Settings s;
    s.path = "/home/me/clips/wave, final.gif";
    s.pathSave = "/home/me/out/Größe 2.gif";
    s.preview = 0;
    s.previewFrames = 24;
    s.fixedPreviewFrames = 1;
    s.exportAsJpg = 1;
    s.reloadAfterSave = 1;
    s.confirmDelete = 0;
    s.keepTrueColorInfo = 0;
    s.multiInst = 1;
    s.jpegCompression = 33;
    s.gifCompression = 0xE0E0E0;
    s.transparentWarning = 1;
    s.optimizeWarning = 1;
    s.unoptimizeWarning = 1;
    s.resizeWarning = 1;
    s.localPalWarning = 1;
    s.globalPalWarning = 1;
    s.lastTransition = 4;
    s.lastEffect = 17;
    s.toolWindows = 0;
    s.colorReduction = 1;
    s.dither = 1;
    s.winRect = {44, 2, 3, -32000, -32000, -1, -1, 10, 20, 810, 620};
    s.paramPlacement = {44, 0, 1, 0, 0, 0, 0, 900, 40, 1100, 400};
    s.history = {"/a/newest.gif", "/b/second.avi", "", "/d/fourth.jpg", "/e/oldest.gif"};
    return s;
}

}  // namespace anitrope::test
