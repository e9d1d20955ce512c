#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/command_table.h"
#include "app/resize_request.h"
#include "app/export_all_request.h"
#include "app/selection_kind.h"
#include "app/settings.h"
#include "banner/banner_settings.h"
#include "effects/effect_params.h"
#include "formats/picture_format.h"
#include "formats/picture_read_result.h"
#include "formats/video_import.h"
#include "model/compositor.h"
#include "model/document.h"
#include "model/outline.h"
#include "model/status_display.h"
#include "model/true_color_bitmap.h"
#include "platform/job_scheduler.h"
#include "quantize/color_reduction.h"

namespace anitrope {

class FileChooser;
class HelpViewer;
class ImageClipboard;
class MessageBoxes;
class OptimizeProgress;
class TextDrawer;
class VideoLoadProgress;

// Where a request to open a file came from: each path has its own messages.
enum class OpenOrigin { Menu, RecentFile, CommandLine, Drop };

// The editor without its window: the document with its undo history, the selection and the
// commands that work on them (see command_table.h for their rules). Every change of the
// document goes through a Transaction; looking at it (selecting, playing) never changes it.
// The window shows it and forwards user input; tests drive it directly or through the window.
class Editor final : private DocumentObserver {
public:
    Editor(Settings& settings, MessageBoxes& boxes, FileChooser& files, ImageClipboard& clipboard);
    ~Editor() override;
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    // Carries out a command; `argument` is the file for 1062 and 1063. Commands whose work
    // comes later do nothing.
    void Dispatch(int command, const std::string& argument = {});

    // --- the document ----------------------------------------------------------------------
    Document& Doc() { return document_; }
    const Animation& Data() const { return document_.Data(); }
    Outline Items() const { return Outline(document_.Data()); }
    bool HasAnimation() const { return !document_.Empty(); }
    bool Modified() const { return document_.Modified(); }
    Compositor& Pictures() { return compositor_; }
    ColorReduction& Reduction() { return reduction_; }
    StatusDisplay& Status() { return status_; }
    Settings& Config() { return settings_; }
    MessageBoxes& Boxes() { return boxes_; }
    FileChooser& Files() { return files_; }
    // "bounce.gif * - Anitrope": the file shown, and a mark while it has unsaved changes.
    std::string WindowTitle() const;

    // --- the selection ---------------------------------------------------------------------
    // Selects an item of the tree (by the user, a command or playback). Changes nothing in the
    // document. An item that is not in the document is ignored.
    void Select(const OutlineItem& item);
    const OutlineItem& Selected() const { return selected_; }
    Gif* CurrentGif() const { return currentGif_; }
    SelectionKind Kind() const { return KindOf(selected_); }

    // --- commands --------------------------------------------------------------------------
    AppState State() const;
    bool MenuEnabled(int command) const { return anitrope::MenuEnabled(command, State()); }

    // Opens a file by its extension. Returns 0 on success, -1 after a reported failure or a
    // cancel.
    int OpenFile(const std::string& path, OpenOrigin origin);
    void DropFiles(const std::vector<std::string>& paths);
    void Open();
    void OpenRecent(int slot);

    // Where a new picture of another size is scaled to: the screen, or the current frame
    // (a pasted picture).
    enum class ResizeTarget { Screen, CurrentFrame };
    // A new frame of `pixels`, named `name` ("Gif :name" in the tree), placed after the
    // selected item as one edit called `step`. A picture of another size than the target asks
    // the resize question when `askBeforeResize` is set, and is resized in any case (smoothly,
    // keeping its origin). Into the empty editor it opens the document instead. Returns 0, or
    // -1 after a reported failure or a "&Cancel Loading"; nothing changes then.
    int AddBitmapFrame(std::unique_ptr<TrueColorBitmap> pixels, const std::string& name,
                       bool askBeforeResize, ResizeTarget target = ResizeTarget::Screen,
                       const std::string& step = "Import Image");

    // Save As (1005): true when the file was written. `continuation` is 0, 1006 (then close
    // the animation) or 16 (then close the window).
    bool SaveAs(int continuation);
    // Window close and Exit: false when the user kept the editor open.
    bool ConfirmShutdown();
    void RequestClose();
    void CloseAnimation();  // New (1006), with its question
    void ExportImage();
    // "Ex&port All Images ..." (1008): the dialog, then every frame as a GIF or JPEG file of
    // its own under numbered names; a failing frame asks whether to go on.
    void ExportAllImages();
    // "&Comment ..." (1049): edits the comment the selection stands for, or adds one to the
    // selected frame (to the global comments from the root), as one edit.
    void EditComment();
    bool Copy();
    void Cut();
    void Paste();
    void Delete();
    void Duplicate();
    void OptimizeImages();
    void UnoptimizeImages();
    // "&Resize All" (1024): the screen and every frame to the size "Resize Image(s)" asks
    // for, as one edit.
    void ResizeAll();
    bool Undo();
    bool Redo();
    void GotoFirst();
    void GotoLast();
    void ToggleParameters();
    void ShowOptions();
    void ShowAbout();
    // Commands 1030-1032 and 1048: the manual's contents, search, help on help, key bindings.
    void ShowHelp(int command);
    void SetHelp(HelpViewer* help) { help_ = help; }
    HelpViewer* Help() const { return help_; }

    // "Insert &Effect ..." (1021) and "Insert &Transition ..." (1022, 1023) choose the table
    // and go on as the "Effect/Transition" button (1061): the dialog, then the frames it asks
    // for inserted after the current frame as one group, one edit.
    void InsertEffect();
    void InsertTransition();
    void EffectOrTransition();
    // The record the effect dialog edits, kept for the whole run, and the palette index its
    // colour swatch shows (kept across openings too).
    EffectParams& Effects() { return effects_; }
    int32_t& EffectColor() { return effectColor_; }
    JobScheduler& Scheduler() { return scheduler_; }

    // "&Banner Text ..." (1045): the banner dialog, then the frames it asks for after the
    // current frame (or as the animation, when there is none) as one group, one edit; the
    // screen grows to hold them.
    void InsertBanner();
    // What the banner dialog edits, kept for the whole run, and what draws its text.
    BannerSettings& Banner() { return banner_; }
    TextDrawer& Text() { return *textDrawer_; }

    bool Playing() const { return playing_; }
    void StartOrStopPlayback();
    void StopPlayback();
    // Timer 1 fired: the next image in tree order (wrapping to the first) becomes current.
    void PlaybackStep();

    // --- what the window provides ------------------------------------------------------------
    // The document changed (after the editor has fixed its selection).
    std::function<void(const DocumentChange&)> onDocumentChanged;
    // The selection moved.
    std::function<void()> onSelectionChanged;
    // Anything the commands' rules, menu texts or the title read may have changed.
    std::function<void()> onStateChanged;
    // Frames the document is about to free (see DocumentObserver::FramesFreed).
    std::function<void(std::span<Gif* const>)> onFramesFreed;
    std::function<void(const std::string&)> onStatusLabel;
    std::function<void()> onCloseRequested;
    std::function<void()> onAbout;
    std::function<void()> onOptions;
    std::function<void()> onToggleParameters;  // command 1016
    std::function<bool()> parametersOpen;
    std::function<void(const std::string& path)> onOpened;  // after every successful load
    // Playback's timer 1, run by the window: armed with a period in milliseconds, or stopped.
    std::function<void(int periodMs)> onArmTimer;
    std::function<void()> onStopTimer;
    // The "Optimizing Images ..." dialog, made by the window for each run; none in tests.
    std::function<std::unique_ptr<OptimizeProgress>()> makeProgress;
    // The confirmation of Optimize (1026) or UnOptimize (1025); without one they proceed.
    std::function<bool(int command)> confirm;
    // Told true before a long operation and false after it, for the wait cursor.
    std::function<void(bool)> busy;
    // The "Select Effect/Transition" dialog over Effects(): true for OK. Without one the
    // commands do nothing.
    std::function<bool(EffectParams&)> chooseEffect;
    // The "Banner" dialog completing the request (see BannerRequest); false when it could not
    // be shown. Without one the command does nothing.
    std::function<bool(BannerRequest&)> chooseBanner;
    // "Resize Image(s)" completing the request; false for Cancel. Without one the command
    // does nothing.
    std::function<bool(ResizeRequest&)> chooseResize;
    // The "Export All Images" dialog completing the request; false for Cancel. Without one
    // the command does nothing.
    std::function<bool(ExportAllRequest&)> chooseExportAll;
    // The "Comments" dialog over `text` (empty for a new comment); false for Cancel. Without
    // one the command does nothing.
    std::function<bool(std::string& text)> editComment;
    // The "Load AVI" dialog over a video's stream: `range` comes with the choices remembered
    // for the run and leaves with the user's; false for Cancel. Without one the whole stream
    // is read forwards.
    std::function<bool(const VideoInfo&, VideoRange&)> chooseVideoRange;
    // The "Loading AVI ..." window of one import; without one the reading cannot be cancelled.
    std::function<std::unique_ptr<VideoLoadProgress>()> makeVideoProgress;
    // After each frame an effect or a banner computed, while the interface waits: show the progress now.
    std::function<void()> onProgressStep;

private:
    void DocumentChanged(const DocumentChange& change) override;
    void FramesFreed(std::span<Gif* const> frames) override;

    void SelectAfterChange(const DocumentChange& change);
    // Command 1018 (and the second half of Cut) as the edit `step`.
    void RemoveSelected(const std::string& step);
    void RemoveImage(Gif& frame, const std::string& step);
    void RemoveComment(const OutlineItem& item, const std::string& step);
    void RemoveGroup(FrameGroup& group, const std::string& step);
    // After the last frame went, the editor is as after New (but the edit can be undone).
    void EmptyIfNoFrames(Transaction& edit);
    void AfterRemoval(Gif* current, MaybeItem item);
    void StateChanged();
    int LoadGifFile(const std::string& path);
    int InsertGifFile(std::unique_ptr<Animation> read);
    // Opens `content` into the empty editor; `title` names it, `saved` says whether a file
    // shows it already.
    void OpenInto(Animation& content, const std::string& title, bool saved);
    void FinishLoad(const std::string& path, OpenOrigin origin, bool wasEmpty, PictureFormat format);
    int ImportPicture(const std::string& path, PictureFormat format);
    int ImportStill(const std::string& path, const PictureReadResult& read, const char* failure,
                    bool opaque);
    int ImportCursor(const std::string& path, PictureFormat format);
    int ImportJpeg(const std::string& path);
    // AVI and the other video containers: a run of frames, forwards or backwards.
    int ImportVideo(const std::string& path);
    int ExportJpeg(const std::string& path);
    bool WriteAnimation(const std::string& path);
    // Replaces the contents of `frames` (still listed) and the animation's palette by those
    // of a reworked copy of them, frame for frame.
    void ApplyRework(Transaction& edit, const std::vector<Gif*>& frames, Animation& rework);
    bool StepHistory(bool back);  // Undo, or Redo
    // Computes what Effects() chose and inserts it after the current frame; false after the
    // error was reported.
    bool InsertGeneratedFrames();
    void ArmTimer(const Gif& gif);
    bool FirstFrameMatchesScreen(const Gif& first) const;
    // The animation-wide values a document opened now takes over from the one it replaces.
    void KeepEditorValues(Animation& content) const;

    Settings& settings_;
    MessageBoxes& boxes_;
    HelpViewer* help_ = nullptr;
    FileChooser& files_;
    ImageClipboard& clipboard_;

    // Destroyed in reverse: the workers and the compositor leave the document first.
    StatusDisplay status_;
    JobScheduler scheduler_;
    Document document_;
    Compositor compositor_;
    ColorReduction reduction_;

    OutlineItem selected_;
    Gif* currentGif_ = nullptr;
    bool playing_ = false;
    std::optional<OutlineItem> playbackItem_;
    EffectParams effects_;
    int32_t effectColor_ = 0;
    BannerSettings banner_;
    bool exportAdvanced_ = false;  // the export naming, for the run
    VideoRange videoChoices_;  // "&Load all Frames" and "&Reverse Animation", for the run
    std::unique_ptr<TextDrawer> textDrawer_;
    std::string title_;  // the file the document shows, empty for none
};

// The name frames read from `path` carry, and the window title shows: its file name.
std::string FileNameOf(const std::string& path);

}  // namespace anitrope
