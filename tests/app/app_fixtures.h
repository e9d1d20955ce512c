#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/editor.h"
#include "app/main_window.h"
#include "gif/gif_writer.h"
#include "model/animation.h"
#include "model/gif.h"
#include "model/outline.h"
#include "scripted_dialogs.h"
#include "support/temp_file.h"

namespace anitrope::test {

// Writes a GIF of `frames` frames of width x height at (left, top), each frame filled with
// its own colour; every frame carries `comments` comments.
inline void WriteTestGif(const std::string& path, int frames, int32_t width, int32_t height,
                         int32_t left = 0, int32_t top = 0, int comments = 0) {
    Animation doc;
    doc.screenWidth = left + width;
    doc.screenHeight = top + height;
    Gif* last = nullptr;
    for (int k = 0; k < frames; ++k) {
        Gif* gif = CreateGif(doc, last, nullptr);
        (last ? last->next : doc.head) = gif;
        gif->left = left;
        gif->top = top;
        gif->width = static_cast<uint32_t>(width);
        gif->height = static_cast<uint32_t>(height);
        gif->palette[0] = {k * 40 % 256, 100, 200};
        gif->palette[1] = {0, 0, 0};
        gif->indexed = std::make_unique<IndexedBitmap>(gif, width, height);
        for (int c = 0; c < comments; ++c) gif->comments.Append("comment " + std::to_string(c));
        last = gif;
    }
    SaveAnimation(doc, doc.head, path);
}

// Every label below the root, depth first.
inline std::vector<std::string> TreeLabels(const Animation& animation) {
    const Outline outline(animation);
    std::vector<std::string> labels;
    for (MaybeItem item = outline.NextItem(OutlineItem::Root()); item; item = outline.NextItem(*item))
        labels.push_back(outline.Label(*item));
    return labels;
}

// An editor with scripted dialogs and a clipboard of its own, and a folder for its files.
class EditorFixture : public ::testing::Test {
protected:
    std::vector<std::string> Labels() { return TreeLabels(editor.Data()); }
    // The item of the only frame with the label.
    OutlineItem ImageItem(std::size_t index) { return OutlineItem::Frame(editor.Data().FrameAt(index)); }

    TempDir dir;
    Settings settings;
    ScriptedMessageBoxes boxes;
    ScriptedFileChooser files;
    MemoryClipboard clipboard;
    Editor editor{settings, boxes, files, clipboard};
};

// The main window with scripted dialogs and a clipboard of its own, and a folder for its files.
struct WindowWorld {
    TempDir dir;
    Settings settings;
    ScriptedMessageBoxes boxes;
    ScriptedFileChooser files;
    MemoryClipboard clipboard;
    ScriptedColorChooser colors;
    ScriptedFontChooser fonts;
    ScriptedConfirmations confirmations;
    MainWindow window{settings, boxes, files, clipboard, colors, fonts, confirmations};
};

}  // namespace anitrope::test
