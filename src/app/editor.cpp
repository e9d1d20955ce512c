#include "app/editor.h"

#include <algorithm>
#include <utility>

#include "app/busy_scope.h"
#include "app/command_ids.h"
#include "app/file_chooser.h"
#include "app/image_clipboard.h"
#include "app/jpeg_messages.h"
#include "app/message_boxes.h"
#include "app/open_messages.h"
#include "app/recent_files.h"
#include "banner/qt_text_drawer.h"
#include "formats/avi_writer.h"
#include "formats/jpeg_writer.h"
#include "gif/animation_optimizer.h"
#include "gif/gif_reader.h"
#include "gif/gif_writer.h"
#include "gif/optimize_progress.h"
#include "model/frame_chain.h"
#include "model/picture_frame.h"
#include "model/screen_fit.h"
#include "model/true_color_conversion.h"

namespace anitrope {
namespace {

constexpr char kProductName[] = "Anitrope";

// A file name without a '.' gets the extension of the chosen file type.
std::string WithExtension(std::string path, const char* extension) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) path += extension;
    return path;
}

std::size_t HistoryBytes(const Settings& settings) {
    return static_cast<std::size_t>(settings.undoMemory) << 20;
}

}  // namespace

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

Editor::Editor(Settings& settings, MessageBoxes& boxes, FileChooser& files,
               ImageClipboard& clipboard)
    : settings_(settings),
      boxes_(boxes),
      files_(files),
      clipboard_(clipboard),
      compositor_(document_.Data(), &scheduler_, &document_.Lock()),
      reduction_(&scheduler_, &status_),
      textDrawer_(std::make_unique<QtTextDrawer>()) {
    document_.SetStatus(&status_);
    document_.SetHistoryBound(HistoryBytes(settings_));
    reduction_.Attach(&document_);
    reduction_.SetKeepTrueColor(settings_.keepTrueColorInfo != 0);
    reduction_.SetOptions(ReductionOptionsOf(settings_));
    document_.Subscribe(&compositor_);
    document_.Subscribe(this);
}

Editor::~Editor() {
    status_.SetShuttingDown(true);
    document_.Unsubscribe(this);
    document_.Unsubscribe(&compositor_);
    reduction_.Attach(nullptr);
}

void Editor::Dispatch(int command, const std::string& argument) {
    const Command* found = FindCommand(command);
    if (!found || !found->available) return;
    found->run(*this, argument);
    StateChanged();
}

void Editor::StateChanged() {
    if (onStateChanged) onStateChanged();
}

AppState Editor::State() const {
    AppState state;
    state.document = HasAnimation();
    state.kind = Kind();
    state.currentFrame = currentGif_ != nullptr;
    if (currentGif_ && currentGif_->next) {
        const Gif& a = *currentGif_;
        const Gif& b = *currentGif_->next;
        state.successor = true;
        state.sameRectSuccessor =
            a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
    }
    state.clipboardImage = clipboard_.HasImage();
    state.playing = playing_;
    state.parametersOpen = parametersOpen && parametersOpen();
    state.frames = Data().FrameCount();
    state.undoName = document_.UndoName();
    state.redoName = document_.RedoName();
    return state;
}

std::string Editor::WindowTitle() const {
    if (!HasAnimation()) return kProductName;
    return (title_.empty() ? std::string("Untitled") : title_) + (Modified() ? " *" : "") + " - " +
           kProductName;
}

// --- selection ---------------------------------------------------------------------------------

void Editor::Select(const OutlineItem& item) {
    if (!Items().Contains(item)) return;
    selected_ = item;
    if (item.kind == OutlineKind::Frame) currentGif_ = item.frame;
    playbackItem_ = item;
    if (onSelectionChanged) onSelectionChanged();
    if (onStatusLabel) onStatusLabel(Items().Label(item));
    StateChanged();
}

void Editor::DocumentChanged(const DocumentChange& change) {
    SelectAfterChange(change);
    if (onDocumentChanged) onDocumentChanged(change);
    StateChanged();
}

void Editor::FramesFreed(std::span<Gif* const> frames) {
    if (onFramesFreed) onFramesFreed(frames);
    for (Gif* gif : frames) {
        if (currentGif_ == gif) currentGif_ = nullptr;
        if (selected_.frame == gif) selected_ = OutlineItem::Root();
        if (playbackItem_ && playbackItem_->frame == gif) playbackItem_.reset();
    }
}

void Editor::SelectAfterChange(const DocumentChange& change) {
    const Outline items = Items();
    if (currentGif_ && !currentGif_->alive) currentGif_ = nullptr;
    const bool undone = change.cause == DocumentChange::Cause::Undo ||
                        change.cause == DocumentChange::Cause::Redo;
    OutlineItem next = selected_;
    // What an undo or redo brings back is what the user wants to see.
    if (undone && !change.inserted.empty()) {
        next = OutlineItem::Frame(change.inserted.front());
    } else if (!items.Contains(selected_)) {
        Gif* fallback =
            change.cause == DocumentChange::Cause::Reset || !currentGif_ ? Data().head : currentGif_;
        next = fallback ? OutlineItem::Frame(fallback) : OutlineItem::Root();
    }
    if (playbackItem_ && !items.Contains(*playbackItem_)) playbackItem_.reset();
    if (next == selected_ && items.Contains(selected_)) return;
    selected_ = next;
    if (next.kind == OutlineKind::Frame) currentGif_ = next.frame;
    if (!HasAnimation()) currentGif_ = nullptr;
    if (onSelectionChanged) onSelectionChanged();
    if (onStatusLabel) onStatusLabel(items.Label(selected_));
}

// --- opening -----------------------------------------------------------------------------------

void Editor::Open() {
    StopPlayback();
    FileDialogRequest request = OpenDialogRequest(settings_.path);
    if (auto choice = files_.ChooseToOpen(request)) OpenFile(choice->path, OpenOrigin::Menu);
}

int Editor::OpenFile(const std::string& path, OpenOrigin origin) {
    StopPlayback();
    const std::string extension = ExtensionOf(path);
    // Dropped files without an extension are read as GIF, as the Open dialog's choice is.
    const bool mayGuess = origin == OpenOrigin::Drop && extension.empty();
    if (origin == OpenOrigin::CommandLine || origin == OpenOrigin::Drop) {
        if (!mayGuess && !IsAcceptedExtension(extension)) {
            boxes_.Show(InvalidFormatMessage(extension, origin));
            return -1;
        }
    }
    const PictureFormat format = FormatOfExtension(extension);
    const bool wasEmpty = !HasAnimation();
    const int result = format == PictureFormat::Gif   ? LoadGifFile(path)
                       : format == PictureFormat::Avi ? ImportVideo(path)
                                                      : ImportPicture(path, format);
    if (result == 0) FinishLoad(path, origin, wasEmpty, format);
    StateChanged();
    return result;
}

void Editor::DropFiles(const std::vector<std::string>& paths) {
    StopPlayback();
    for (const std::string& path : paths) {
        // A refused or failed file ends the drop: the rest of the list is dropped.
        if (OpenFile(path, OpenOrigin::Drop) != 0) return;
    }
}

void Editor::FinishLoad(const std::string& path, OpenOrigin origin, bool wasEmpty,
                        PictureFormat format) {
    settings_.path = path;
    RecentFiles(settings_.history).Add(path);
    // Saving writes GIF: a picture of another format proposes its name with ".gif".
    const std::string gifName =
        format == PictureFormat::Gif ? path : path.substr(0, path.size() - ExtensionOf(path).size()) + "gif";
    if (origin == OpenOrigin::Menu && wasEmpty) settings_.pathSave = gifName;
    if (wasEmpty) title_ = FileNameOf(gifName);
    if (onOpened) onOpened(path);
}

void Editor::OpenRecent(int slot) {
    RecentFiles recent(settings_.history);
    if (slot < 0 || slot >= kRecentFileSlots || recent.At(slot).empty()) return;
    const std::string path = recent.At(slot);
    if (OpenFile(path, OpenOrigin::RecentFile) != 0) recent.Remove(slot);
}

void Editor::KeepEditorValues(Animation& content) const {
    // The global delay and disposal are the editor's, not a file's: they stay.
    content.animationDelay = Data().animationDelay;
    content.useAnimationDelay = Data().useAnimationDelay;
    content.animationDisposal = Data().animationDisposal;
    content.useAnimationDisposal = Data().useAnimationDisposal;
}

void Editor::OpenInto(Animation& content, const std::string& title, bool saved) {
    KeepEditorValues(content);
    document_.Reset(content);
    if (!saved) document_.MarkNeverSaved();
    title_ = title;
    playbackItem_.reset();
    if (const Gif* first = Data().head) compositor_.StartCompositions(first, Data().FrameCount());
    if (Data().head) Select(OutlineItem::Frame(Data().head));
}

int Editor::LoadGifFile(const std::string& path) {
    GifReadResult read = ReadGifFile(path);
    if (read.status != GifReadStatus::Ok) {
        boxes_.Tell("Loading Gif", "Error", MessageIcon::Warning);
        return -1;
    }
    const std::string name = FileNameOf(path);
    for (Gif* g = read.animation->head; g; g = g->next) g->name = name;
    if (HasAnimation()) return InsertGifFile(std::move(read.animation));
    read.animation->FitScreenToFrames();
    OpenInto(*read.animation, name, true);
    return 0;
}

bool Editor::FirstFrameMatchesScreen(const Gif& first) const {
    return int64_t{first.left} + first.width == Data().screenWidth &&
           int64_t{first.top} + first.height == Data().screenHeight;
}

int Editor::InsertGifFile(std::unique_ptr<Animation> read) {
    // The frames keep the colours of the file's global palette as their own; the edit binds
    // them to this document.
    Gif* first = DetachFrames(*read, *read);
    const std::vector<Gif*> chain = ChainFrames(first);
    if (!FirstFrameMatchesScreen(*first)) {
        if (boxes_.Show(ResizeQuestion()) != 0) {
            DiscardFrames(first);
            return -1;
        }
        BusyScope wait(busy);
        ScaleFramesToScreen(chain, Data().screenWidth, Data().screenHeight);
    }
    {
        Transaction edit(document_, "Import Image");
        edit.Insert(first, PlaceAfterItem(selected_));
    }
    compositor_.StartCompositions(first, chain.size());
    Select(OutlineItem::Frame(first));
    return 0;
}

int Editor::AddBitmapFrame(std::unique_ptr<TrueColorBitmap> pixels, const std::string& name,
                           bool askBeforeResize, ResizeTarget target, const std::string& step) {
    if (!pixels || pixels->Width() <= 0 || pixels->Height() <= 0) {
        boxes_.Tell("..in Image Data", "Error");
        return -1;
    }
    const bool wasEmpty = !HasAnimation();
    const bool toFrame = target == ResizeTarget::CurrentFrame && currentGif_;
    const int64_t fitWidth = toFrame ? int64_t{currentGif_->width} : Data().screenWidth;
    const int64_t fitHeight = toFrame ? int64_t{currentGif_->height} : Data().screenHeight;
    const bool resize = !wasEmpty && (pixels->Width() != fitWidth || pixels->Height() != fitHeight);
    if (resize && askBeforeResize && boxes_.Show(ResizeQuestion()) != 0) return -1;

    if (wasEmpty) {
        // The first picture opens a document of its own size, which no file shows yet.
        Animation content;
        Gif* gif = MakePictureFrame(content, std::move(pixels));
        if (!gif) {
            boxes_.Tell("... creating Gif", "Error");
            return -1;
        }
        gif->name = name;
        content.head = gif;
        content.screenWidth = static_cast<int32_t>(gif->width);
        content.screenHeight = static_cast<int32_t>(gif->height);
        OpenInto(content, "", false);
        return 0;
    }
    const Place place = PlaceAfterItem(selected_);
    Gif* gif = document_.CreateFrame(place.after);
    if (!SetPicture(*gif, std::move(pixels))) {
        DiscardGif(gif);
        boxes_.Tell("... creating Gif", "Error");
        return -1;
    }
    gif->prev = nullptr;
    gif->name = name;
    if (resize) {
        BusyScope wait(busy);
        FitPictureFrame(*gif, fitWidth, fitHeight);
    }
    {
        Transaction edit(document_, step);
        edit.Insert(gif, place);
    }
    Select(OutlineItem::Frame(gif));
    return 0;
}

// --- saving ------------------------------------------------------------------------------------

bool Editor::SaveAs(int continuation) {
    StopPlayback();
    if (!HasAnimation()) return false;
    FileDialogRequest request;
    request.title = "Save Animation";
    request.filters = {{"Gif Image(*.gif)", {"*.gif"}}};
    ProposePath(settings_.pathSave, request);
    request.animationChoices = SaveAnimationChoices{settings_.saveOptimized,
                                                    settings_.reloadAfterSave != 0,
                                                    ComparisonLevelOfMask(settings_.gifCompression)};
    const std::optional<FileChoice> choice = files_.ChooseToSave(request);
    if (!choice) return false;
    if (choice->animationChoices) {
        settings_.saveOptimized = choice->animationChoices->saveOptimized;
        settings_.reloadAfterSave = choice->animationChoices->displayResults ? 1 : 0;
        settings_.gifCompression = ComparisonMaskForLevel(choice->animationChoices->level);
    }
    const std::string path = WithExtension(choice->path, ".GIF");
    if (!WriteAnimation(path)) {
        boxes_.Tell("while saving animation", "Error...", MessageIcon::Error);
        StateChanged();
        return false;
    }
    document_.MarkSaved();
    title_ = FileNameOf(path);
    settings_.pathSave = path;
    settings_.path = path;
    RecentFiles(settings_.history).Add(path);
    StateChanged();
    if (continuation == CmdNew) CloseAnimation();
    if (continuation == 16 && onCloseRequested) onCloseRequested();
    return true;
}

bool Editor::WriteAnimation(const std::string& path) {
    BusyScope wait(busy);
    // Every frame's own pixels are written, so every reduction must be in.
    document_.WaitForReductions();
    // A name ending in ".AVI" is written as an AVI video.
    const bool avi = Upper(ExtensionOf(path)) == "AVI";
    const auto write = [&](const Animation& animation) {
        if (!avi) return SaveAnimation(animation, animation.head, path, &status_) == GifWriteStatus::Ok;
        if (WriteAviFile(animation, animation.head, path, &reduction_) == AviWriteStatus::Ok)
            return true;
        boxes_.Tell("Could not save AVI.", "Error");
        return false;
    };
    if (!settings_.saveOptimized) return write(Data());
    // The optimizer works on a copy that shares the frames' pixels; the document changes only
    // when the results are to be shown, and then as an edit that can be undone.
    std::unique_ptr<OptimizeProgress> progress = makeProgress ? makeProgress() : nullptr;
    const std::vector<Gif*> frames = ChainFrames(Data().head);
    std::unique_ptr<Animation> optimized =
        OptimizedCopy(Data(), settings_.gifCompression, progress.get(), &reduction_);
    if (settings_.reloadAfterSave) {
        Transaction edit(document_, "Optimize");
        ApplyRework(edit, frames, *optimized);
    }
    return write(*optimized);
}

void Editor::ApplyRework(Transaction& edit, const std::vector<Gif*>& frames, Animation& rework) {
    // By the frames the copy was made of, not by place: the list is the same, but nothing
    // depends on it.
    Gif* theirs = rework.head;
    for (Gif* ours : frames) {
        if (!theirs) break;
        FrameContent content = ContentOf(*theirs);
        theirs = theirs->next;
        if (!ours->alive || content == ContentOf(*ours)) continue;
        edit.ReplaceContent(*ours, std::move(content));
    }
    edit.Set(&Animation::globalPalette, rework.globalPalette);
    edit.Set(&Animation::globalPalettePresent, rework.globalPalettePresent);
    edit.Set(&Animation::backgroundIndex, rework.backgroundIndex);
}

void Editor::ExportImage() {
    StopPlayback();
    if (!currentGif_) {
        boxes_.Tell("No Gif associated with selection", "Export BUG");
        return;
    }
    FileDialogRequest request;
    request.title = "Export single image";
    request.filters = {{"Gif Image(*.gif)", {"*.gif"}}, {"Jpeg(*.jpg)", {"*.jpg"}}};
    ProposePath(settings_.pathSave, request);
    request.jpegQuality = JpegQuality(settings_);
    const std::optional<FileChoice> choice = files_.ChooseToSave(request);
    if (!choice) return;
    if (choice->jpegQuality)
        settings_.jpegCompression =
            static_cast<uint32_t>(std::clamp(*choice->jpegQuality, 0, kMaxJpegQuality));
    const std::string path = WithExtension(choice->path, choice->filter == 1 ? ".JPG" : ".GIF");
    BusyScope wait(busy);
    if (Upper(ExtensionOf(path)) != "GIF") {
        const int exported = ExportJpeg(path);
        if (exported < 0) boxes_.Tell("while saving single Jpg Image", "Error...", MessageIcon::Error);
        if (exported != 0) return;
    } else {
        document_.WaitForReduction(*currentGif_);
        if (SaveSingleGif(Data(), *currentGif_, path) != GifWriteStatus::Ok) {
            boxes_.Tell("while saving single Gif Image", "Error...", MessageIcon::Error);
            return;
        }
    }
    settings_.pathSave = path;
}

// 0 when written; 1 when the write failed, told to the user; -1 without pixels to write.
int Editor::ExportJpeg(const std::string& path) {
    const std::shared_ptr<const TrueColorBitmap> pixels = TrueColorOf(*currentGif_);
    if (!pixels || !pixels->HasRows()) return -1;
    const JpegWriteResult written = WriteJpegFile(path, *pixels, true, JpegQuality(settings_));
    if (!written.ok) {
        boxes_.Show(JpegWriteFailureMessage(written, path));
        boxes_.Tell("Error", "Couldn't write jpeg", MessageIcon::Error);
        return 1;
    }
    return 0;
}

// --- closing -----------------------------------------------------------------------------------

void Editor::CloseAnimation() {
    StopPlayback();
    if (Modified()) {
        const int answer = boxes_.Show({"Do you want to save the current animation before closing it ?",
                                        "Confirm Close", MessageIcon::Warning, kYesNoCancelButtons});
        if (answer == 0) {
            SaveAs(CmdNew);
            return;
        }
        if (answer != 1) return;
    }
    {
        BusyScope wait(busy);
        document_.Clear();
    }
    status_.ReportStatus(StatusReset);
    selected_ = OutlineItem::Root();
    currentGif_ = nullptr;
    playbackItem_.reset();
    title_.clear();
    if (onSelectionChanged) onSelectionChanged();
    StateChanged();
}

bool Editor::ConfirmShutdown() {
    StopPlayback();
    if (Modified()) {
        const int answer = boxes_.Show({"Do you want to save the current animation before closing it ?",
                                        "Confirm Exit", MessageIcon::Warning, kYesNoCancelButtons});
        if (answer == 0) return SaveAs(0);
        if (answer != 1) return false;
    }
    return true;
}

void Editor::RequestClose() {
    if (onCloseRequested) onCloseRequested();
}

// --- clipboard and frames ------------------------------------------------------------------------

void Editor::Duplicate() {
    if (!currentGif_) {
        boxes_.Tell("CurGif==NULL", "BUG");
        return;
    }
    if (Kind() != SelectionKind::Image) return;
    StopPlayback();
    Gif* copy = document_.CreateFrame(currentGif_);
    if (DuplicateGif(*currentGif_, copy, true) != 0) {
        DiscardGif(copy);
        boxes_.Tell("Copy Gif - Memory Error", "Error");
        return;
    }
    // The copy keeps the disposal and palette flag a frame made after the current one takes.
    copy->prev = nullptr;
    {
        Transaction edit(document_, "Duplicate");
        edit.Insert(copy, Place{currentGif_, currentGif_->group});
    }
    Select(OutlineItem::Frame(copy));
}

bool Editor::Copy() {
    if (!currentGif_) {
        boxes_.Tell("Copy ", "curGif==NULL");
        return false;
    }
    const auto picture = compositor_.GetDisplayBitmap(*currentGif_);
    ClipboardImage image{static_cast<int32_t>(currentGif_->width),
                         static_cast<int32_t>(currentGif_->height), {}};
    bool ok = picture != nullptr;
    if (ok) {
        image.pixels.reserve(static_cast<std::size_t>(image.width) * image.height);
        for (int32_t y = 0; y < image.height; ++y) {
            for (int32_t x = 0; x < image.width; ++x) {
                // The frame's own rectangle of what the screen shows; outside it, black.
                const int64_t sx = int64_t{currentGif_->left} + x, sy = int64_t{currentGif_->top} + y;
                const bool inside = picture->Contains(sx, sy);
                image.pixels.push_back(
                    inside ? picture->Get(static_cast<int32_t>(sx), static_cast<int32_t>(sy)) & 0xFFFFFF : 0);
            }
        }
        ok = clipboard_.SetImage(image);
    }
    if (!ok) boxes_.Tell("Couldn't copy image to clipboard", "Error");
    StateChanged();
    return ok;
}

void Editor::Cut() {
    if (Copy()) RemoveSelected("Cut");
}

void Editor::Paste() {
    if (!clipboard_.HasImage()) return;
    if (HasAnimation() && !currentGif_) {
        boxes_.Tell("Paste BUG ", "arGif!= NULL && curGif==NULL");
        return;
    }
    StopPlayback();
    const std::optional<ClipboardImage> image = clipboard_.Image();
    if (!image || image->width <= 0 || image->height <= 0 ||
        image->pixels.size() / static_cast<std::size_t>(image->width) <
            static_cast<std::size_t>(image->height))
        return;
    auto pixels = std::make_unique<TrueColorBitmap>(image->width, image->height);
    if (!pixels->HasRows()) {
        boxes_.Tell("... creating Gif", "Error");
        return;
    }
    for (int32_t y = 0; y < image->height; ++y)
        std::copy_n(image->pixels.begin() + static_cast<std::ptrdiff_t>(y) * image->width,
                    image->width, pixels->Row(y));
    // Labelled "Gif : Copy of Clipboard".
    AddBitmapFrame(std::move(pixels), " Copy of Clipboard", true, ResizeTarget::CurrentFrame, "Paste");
}

void Editor::OptimizeImages() {
    StopPlayback();
    if (!HasAnimation() || (confirm && !confirm(CmdOptimize))) return;
    BusyScope wait(busy);
    document_.WaitForReductions();
    std::unique_ptr<OptimizeProgress> progress = makeProgress ? makeProgress() : nullptr;
    const std::vector<Gif*> frames = ChainFrames(Data().head);
    // An aborted run keeps what it did: its frames are consistent either way.
    std::unique_ptr<Animation> optimized =
        OptimizedCopy(Data(), settings_.gifCompression, progress.get(), &reduction_);
    Transaction edit(document_, "Optimize");
    ApplyRework(edit, frames, *optimized);
}

void Editor::UnoptimizeImages() {
    StopPlayback();
    if (!HasAnimation() || (confirm && !confirm(CmdUnoptimize))) return;
    BusyScope wait(busy);
    document_.WaitForReductions();
    const std::vector<Gif*> frames = ChainFrames(Data().head);
    std::unique_ptr<Animation> unoptimized = UnoptimizedCopy(Data());
    Transaction edit(document_, "UnOptimize");
    ApplyRework(edit, frames, *unoptimized);
}

// --- history -----------------------------------------------------------------------------------

bool Editor::Undo() { return StepHistory(true); }

bool Editor::Redo() { return StepHistory(false); }

bool Editor::StepHistory(bool back) {
    StopPlayback();
    // Should the selected frame go, the selection moves to a neighbour it had.
    Gif* const after = currentGif_ ? currentGif_->next : nullptr;
    Gif* const before = currentGif_ ? currentGif_->prev : nullptr;
    if (!(back ? document_.Undo() : document_.Redo())) return false;
    if (!currentGif_ && HasAnimation()) {
        Gif* neighbour = after && after->alive ? after : (before && before->alive ? before : nullptr);
        if (neighbour) Select(OutlineItem::Frame(neighbour));
    }
    return true;
}

// --- navigation and playback -----------------------------------------------------------------------

void Editor::GotoFirst() {
    if (MaybeItem first = Items().FirstImageItem()) Select(*first);
}

void Editor::GotoLast() {
    if (Gif* last = Data().LastFrame()) Select(OutlineItem::Frame(last));
}

void Editor::ToggleParameters() {
    if (onToggleParameters) onToggleParameters();
}

void Editor::ShowOptions() {
    StopPlayback();
    if (onOptions) onOptions();
    reduction_.SetKeepTrueColor(settings_.keepTrueColorInfo != 0);
    reduction_.SetOptions(ReductionOptionsOf(settings_));
    document_.SetHistoryBound(HistoryBytes(settings_));
}

void Editor::ShowAbout() {
    StopPlayback();
    if (onAbout) onAbout();
}

void Editor::StartOrStopPlayback() {
    if (!HasAnimation()) {
        boxes_.Tell("Please load a Gif file prior to applying an Effect/Transition\nor starting an animation.",
                    "Warning", MessageIcon::Warning);
        return;
    }
    if (playing_) {
        StopPlayback();
        return;
    }
    playing_ = true;
    if (!playbackItem_) playbackItem_ = selected_;
    ArmTimer(currentGif_ ? *currentGif_ : *Data().head);
    StateChanged();
}

void Editor::StopPlayback() {
    if (!playing_) return;
    playing_ = false;
    if (onStopTimer) onStopTimer();
    StateChanged();
}

void Editor::ArmTimer(const Gif& gif) {
    const int32_t delay = Data().useAnimationDelay ? Data().animationDelay : gif.delay;
    if (onArmTimer) onArmTimer(std::max(0, delay) * 10);
}

void Editor::PlaybackStep() {
    if (!playing_) return;
    const Outline items = Items();
    MaybeItem next = playbackItem_ ? items.NextImageItem(*playbackItem_) : std::nullopt;
    if (!next) next = items.FirstImageItem();
    if (!next) {
        StopPlayback();
        boxes_.Tell(":-(", "Bug");
        return;
    }
    Select(*next);
    playbackItem_ = next;
    ArmTimer(*next->frame);
}

}  // namespace anitrope
