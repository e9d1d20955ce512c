#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/command_states.h"
#include "app/document_tree.h"
#include "app/settings.h"
#include "formats/picture_format.h"
#include "formats/picture_read_result.h"
#include "model/animation.h"
#include "model/compositor.h"
#include "model/status_display.h"
#include "model/true_color_bitmap.h"
#include "platform/job_scheduler.h"
#include "quantize/color_reduction.h"

namespace anitrope {

class FileChooser;
class ImageClipboard;
class MessageBoxes;
class OptimizeProgress;

// Where a request to open a file came from: each path has its own messages.
enum class OpenOrigin { Menu, RecentFile, CommandLine, Drop };

// The editor without its window: the one animation, its tree, the selection and the commands
// that work on them, with every enable rule. The window shows it and forwards user input; tests
// drive it directly or through the window.
class Editor final : private TreeObserver {
public:
    Editor(Settings& settings, MessageBoxes& boxes, FileChooser& files, ImageClipboard& clipboard);
    ~Editor();
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    // Carries out a command; `argument` is the file for 1062 and 1063.
    void Dispatch(int command, const std::string& argument = {});

    // Opens a file by its extension. Returns 0 on success, -1 after a reported failure or a
    // cancel.
    int OpenFile(const std::string& path, OpenOrigin origin);
    void DropFiles(const std::vector<std::string>& paths);
    // The GIF loader: into the empty editor, or inserted after the current frame.
    int LoadGifFile(const std::string& path);

    // Where a new picture of another size is scaled to: the screen, or the current frame
    // (a pasted picture).
    enum class ResizeTarget { Screen, CurrentFrame };
    // A new frame of `pixels`, named `name` ("Gif :name" in the tree): the first frame when
    // the root is selected, else after the selected frame. A picture of another size than the
    // target asks the resize question when `askBeforeResize` is set, and is resized in any case
    // (smoothly, keeping its origin). Its colour reduction starts. Returns 0, or -1 after a
    // reported failure or a "&Cancel Loading"; nothing changes then.
    int AddBitmapFrame(std::unique_ptr<TrueColorBitmap> pixels, const std::string& name,
                       bool askBeforeResize, ResizeTarget target = ResizeTarget::Screen);

    // The tree's selection moved (by the user, a command or a load).
    void SelectionChanged(TreeItem item);
    // A view that mirrors the tree (the window's tree widget); told after the editor.
    void SetTreeView(TreeObserver* view);

    bool HasAnimation() const { return animation_.head != nullptr; }
    Animation& Document() { return animation_; }
    Compositor& Pictures() { return compositor_; }
    StatusDisplay& Status() { return status_; }
    DocumentTree& Tree() { return tree_; }
    CommandStates& States() { return states_; }
    Gif* CurrentGif() const { return currentGif_; }
    SelectionKind Kind() const { return kind_; }
    bool Modified() const { return modified_; }
    void MarkModified() { modified_ = true; }
    const std::string& ResizeText() const { return resizeText_; }
    Settings& Config() { return settings_; }
    MessageBoxes& Boxes() { return boxes_; }

    // Views that follow the editor: the preview (repaint, layout), the recent-files menu, the
    // status bar's first part, the window (close).
    std::function<void()> onPreviewChanged;
    std::function<void()> onRecentFilesChanged;
    std::function<void(const std::string&)> onStatusLabel;
    std::function<void()> onCloseRequested;
    std::function<void()> onAbout;
    std::function<void()> onOptions;
    std::function<void()> onToggleParameters;  // command 1016
    std::function<void(const std::string& path)> onOpened;  // after every successful load
    // Playback's timer 1, run by the window: armed with a period in milliseconds, or stopped.
    std::function<void(int periodMs)> onArmTimer;
    std::function<void()> onStopTimer;

    // The "Optimizing Images ..." dialog, made by the window for each run; none in tests.
    std::function<std::unique_ptr<OptimizeProgress>()> makeProgress;
    // The confirmation of Optimize (1026) or UnOptimize (1025); without one they proceed.
    std::function<bool(int command)> confirm;

    // Save As (1005): true when the file was written. `continuation` is 0, 1006 (then close
    // the animation) or 16 (then close the window).
    bool SaveAs(int continuation);
    // Window close and Exit: false when the user kept the editor open.
    bool ConfirmShutdown();
    // The Edit menu opened: Paste follows the clipboard exactly.
    void RefreshPaste();

    bool Playing() const { return playing_; }
    // Timer 1 fired: the next image in tree order (wrapping to the first) becomes current.
    void PlaybackStep();

private:
    void Inserted(TreeItem item, TreeItem parent, TreeItem after, const std::string& label) override;
    void Removed(TreeItem item) override;
    void Selected(TreeItem item) override;

    void ApplyDocumentRule(bool on);
    void UpdateResizeItem();
    void StartOrStopPlayback();
    void CloseAnimation();
    void ExportImage();
    int ExportJpeg(const std::string& path);
    int ImportPicture(const std::string& path, PictureFormat format);
    int ImportStill(const std::string& path, const PictureReadResult& read, const char* failure,
                    bool opaque);
    int ImportCursor(const std::string& path, PictureFormat format);
    int ImportJpeg(const std::string& path);
    void Duplicate();
    bool Copy();
    void Paste();
    void UpdatePaste();
    void OptimizeImages();
    void UnoptimizeImages();
    bool WriteAnimation(const std::string& path);
    void Recompose();
    void StopPlayback();
    void ArmTimer(const Gif& gif);
    void ResetToEmpty();
    void RemoveSelected();
    void GotoLast();
    void OpenRecent(int slot);
    bool FirstFrameMatchesScreen(const Gif& first) const;
    int InsertGifFile(const std::string& path, const std::string& label);
    void FinishLoad(const std::string& path, OpenOrigin origin, bool wasEmpty, PictureFormat format);

    Settings& settings_;
    MessageBoxes& boxes_;
    FileChooser& files_;
    ImageClipboard& clipboard_;

    // Destroyed in reverse: the workers before the compositor, both before the frames.
    StatusDisplay status_;
    JobScheduler scheduler_;
    Animation animation_;
    Compositor compositor_;
    ColorReduction reduction_;

    DocumentTree tree_;
    TreeObserver* treeView_ = nullptr;
    GroupTables groups_;
    CommandStates states_;
    Gif* currentGif_ = nullptr;
    SelectionKind kind_ = SelectionKind::None;
    bool modified_ = false;
    bool playing_ = false;
    TreeItem playbackItem_ = kNoItem;
    std::string resizeText_ = "&Resize ...";
};

// The label of frames read from `path`: its file name.
std::string FrameLabel(const std::string& path);

}  // namespace anitrope
