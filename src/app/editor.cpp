#include "app/editor.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "app/command_ids.h"
#include "app/file_chooser.h"
#include "app/image_clipboard.h"
#include "app/jpeg_messages.h"
#include "app/message_boxes.h"
#include "app/open_messages.h"
#include "app/recent_files.h"
#include "gif/gif_reader.h"
#include "model/gif.h"
#include "gif/animation_optimizer.h"
#include "gif/gif_writer.h"
#include "gif/optimize_progress.h"
#include "model/animation_copy.h"
#include "model/frame_alloc.h"
#include "model/resize.h"
#include "model/screen_fit.h"
#include "model/true_color_conversion.h"

namespace anitrope {
namespace {

// The commands that need a document, switched together by the document rule.
constexpr int kDocumentCommands[] = {
    CmdSaveAs, CmdNew,      CmdExportImage, CmdExportAll, CmdCopy,     CmdCut,      CmdDelete,
    CmdDuplicate, CmdInsertEffect, CmdOptimize, CmdUnoptimize, CmdGotoFirst, CmdStartAnimation,
    CmdGotoLast, CmdComment,
};

}  // namespace

std::string FrameLabel(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

Editor::Editor(Settings& settings, MessageBoxes& boxes, FileChooser& files,
               ImageClipboard& clipboard)
    : settings_(settings),
      boxes_(boxes),
      files_(files),
      clipboard_(clipboard),
      compositor_(animation_, &scheduler_),
      reduction_(animation_, &scheduler_, &compositor_) {
    animation_.status = &status_;
    tree_.SetObserver(this);
    reduction_.SetKeepTrueColor(settings_.keepTrueColorInfo != 0);
    ApplyDocumentRule(false);
    states_.SetMenu(CmdResize, false);
    states_.SetMenu(CmdStopAnimation, false);
    RefreshPaste();
}

Editor::~Editor() {
    status_.SetShuttingDown(true);
    compositor_.SuspendComposition(true);
}

void Editor::Dispatch(int command, const std::string& argument) {
    if (!CommandStates::Available(command)) return;
    switch (command) {
        case CmdOpen: {
            StopPlayback();
            FileDialogRequest request = OpenDialogRequest(settings_.path);
            if (auto choice = files_.ChooseToOpen(request)) OpenFile(choice->path, OpenOrigin::Menu);
            break;
        }
        case CmdDelete:
            StopPlayback();
            RemoveSelected();
            playbackItem_ = kNoItem;
            break;
        case CmdStartAnimation: StartOrStopPlayback(); break;
        case CmdStopAnimation: StopPlayback(); break;
        case CmdGotoFirst:
            if (TreeItem first = tree_.FirstImageItem(); first != kNoItem) tree_.Select(first);
            break;
        case CmdGotoLast: GotoLast(); break;
        case CmdExit:
            if (onCloseRequested) onCloseRequested();
            break;
        case CmdSaveAs: SaveAs(0); break;
        case CmdExportImage: ExportImage(); break;
        case CmdNew: CloseAnimation(); break;
        case CmdDuplicate: Duplicate(); break;
        case CmdCopy: Copy(); break;
        case CmdCut:
            if (Copy()) Dispatch(CmdDelete);
            break;
        case CmdPaste:
        case CmdPasteKey: Paste(); break;
        case CmdOptimize: OptimizeImages(); break;
        case CmdUnoptimize: UnoptimizeImages(); break;
        case CmdAbout:
            if (onAbout) onAbout();
            break;
        case CmdParameters:
            if (onToggleParameters) onToggleParameters();
            break;
        case CmdOptions:
            if (onOptions) onOptions();
            reduction_.SetKeepTrueColor(settings_.keepTrueColorInfo != 0);
            break;
        case CmdOpenCommandLine:
        case CmdOpenHandedOver: OpenFile(argument, OpenOrigin::CommandLine); break;
        default:
            if (command >= CmdRecentFile1 && command < CmdRecentFile1 + kRecentFileCommands)
                OpenRecent(command - CmdRecentFile1);
            break;
    }
}

int Editor::OpenFile(const std::string& path, OpenOrigin origin) {
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
    if (format == PictureFormat::Avi) {
        boxes_.Show(NotYetReadableMessage(extension, origin));
        return -1;
    }
    const bool wasEmpty = !HasAnimation();
    const int result = format == PictureFormat::Gif ? LoadGifFile(path) : ImportPicture(path, format);
    if (result == 0) FinishLoad(path, origin, wasEmpty, format);
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
    if (origin == OpenOrigin::Menu && wasEmpty)
        settings_.pathSave = format == PictureFormat::Gif
                                 ? path
                                 : path.substr(0, path.size() - ExtensionOf(path).size()) + "gif";
    // Frames added to an animation, or pictures that are no GIF yet, are unsaved work.
    if (!wasEmpty || format != PictureFormat::Gif) modified_ = true;
    states_.SetMenu(CmdParameters, true);
    states_.SetMenu(CmdResize, true);
    ApplyDocumentRule(true);
    UpdateResizeItem();
    if (onRecentFilesChanged) onRecentFilesChanged();
    if (onOpened) onOpened(path);
}

void Editor::OpenRecent(int slot) {
    RecentFiles recent(settings_.history);
    if (slot < 0 || slot >= kRecentFileSlots || recent.At(slot).empty()) return;
    const std::string path = recent.At(slot);
    if (OpenFile(path, OpenOrigin::RecentFile) != 0) {
        recent.Remove(slot);
        if (onRecentFilesChanged) onRecentFilesChanged();
    }
}

int Editor::LoadGifFile(const std::string& path) {
    const std::string label = FrameLabel(path);
    if (HasAnimation()) return InsertGifFile(path, label);
    if (LoadGifDocument(animation_, path) != GifReadStatus::Ok) {
        boxes_.Tell("Loading Gif", "Error", MessageIcon::Warning);
        return -1;
    }
    std::size_t count = 0;
    for (Gif* g = animation_.head; g; g = g->next, ++count) g->name = label;
    currentGif_ = animation_.head;
    const std::vector<TreeItem> items = tree_.InsertFrames(tree_.Root(), animation_.head, count);
    if (animation_.hasGlobalComments) tree_.RebuildGlobalComments(animation_.globalComments.Size());
    if (!items.empty()) tree_.Select(items.front());
    return 0;
}

bool Editor::FirstFrameMatchesScreen(const Gif& first) const {
    return int64_t{first.left} + first.width == animation_.screenWidth &&
           int64_t{first.top} + first.height == animation_.screenHeight;
}

int Editor::InsertGifFile(const std::string& path, const std::string& label) {
    const bool atFront = tree_.Selected() == tree_.Root() || !currentGif_;
    Gif* prev = atFront ? nullptr : currentGif_;
    Gif* next = atFront ? animation_.head : currentGif_->next;
    compositor_.SuspendComposition(true);
    Gif* first = CreateGif(animation_, prev, next);
    // Read into a scratch document so that a refused file changes nothing of this one.
    Animation scratch;
    scratch.screenWidth = animation_.screenWidth;
    scratch.screenHeight = animation_.screenHeight;
    first->animation = &scratch;
    const GifReadStatus status = ReadGifFile(scratch, *first, path);
    if (status != GifReadStatus::Ok) {
        first->prev = first->next = nullptr;
        DiscardGif(first);
        compositor_.SuspendComposition(false);
        boxes_.Tell("Loading Gif", "Error", MessageIcon::Warning);
        return -1;
    }
    std::vector<Gif*> chain;
    for (Gif* g = first; g && g != next; g = g->next) chain.push_back(g);
    for (Gif* g : chain) {
        g->animation = &animation_;
        g->name = label;
        // Frames that used the file's global palette keep its colours as their own.
        if (!g->usesLocalPalette) g->palette = scratch.globalPalette;
        g->usesLocalPalette = 1;
    }
    const bool fitsScreen = FirstFrameMatchesScreen(*first);
    if (!fitsScreen) {
        const int answer = boxes_.Show(ResizeQuestion());
        if (answer != 0) {
            for (Gif* g : chain) {
                g->prev = g->next = nullptr;
                DiscardGif(g);
            }
            compositor_.SuspendComposition(false);
            return -1;
        }
    }
    for (Gif* g = animation_.head; g; g = g->next) {
        if (!g->usesLocalPalette) g->palette = animation_.globalPalette;
        g->usesLocalPalette = 1;
    }
    // Link the chain in.
    Gif* last = chain.back();
    first->prev = prev;
    last->next = next;
    if (prev) prev->next = first; else animation_.head = first;
    if (next) next->prev = last;
    if (!fitsScreen) ScaleFramesToScreen(chain, animation_.screenWidth, animation_.screenHeight);
    compositor_.SuspendComposition(false);
    if (last->hasTransparentPixels && last->next) compositor_.InvalidateFrom(*last->next);
    compositor_.StartCompositions(first, chain.size());

    const TreeItem at = atFront ? tree_.Root() : tree_.Selected();
    const std::vector<TreeItem> items = tree_.InsertFrames(at, first, chain.size());
    currentGif_ = first;
    if (!items.empty()) tree_.Select(items.front());
    return 0;
}

void Editor::SetTreeView(TreeObserver* view) {
    treeView_ = view;
    tree_.SetObserver(this);  // a view that made itself the tree's observer hears through us
}

void Editor::Inserted(TreeItem item, TreeItem parent, TreeItem after, const std::string& label) {
    if (treeView_) treeView_->Inserted(item, parent, after, label);
}

void Editor::Removed(TreeItem item) {
    if (treeView_) treeView_->Removed(item);
}

void Editor::Selected(TreeItem item) {
    if (treeView_) treeView_->Selected(item);
    SelectionChanged(item);
}

void Editor::SelectionChanged(TreeItem item) {
    if (!HasAnimation()) {
        if (onPreviewChanged) onPreviewChanged();
        return;
    }
    const std::string& label = tree_.Label(item);
    const bool isRoot = item == tree_.Root();
    const SelectionKind kind = DocumentTree::KindOfLabel(label, isRoot);
    states_.SetMenu(CmdComment, true);
    if (kind != SelectionKind::Image && kind != SelectionKind::None) {
        states_.SetMenu(CmdDelete, true);
        states_.SetMenu(CmdExportAll, true);
        for (int command : {CmdExportImage, CmdInsertEffect, CmdInsertTransition, CmdPaste, CmdCut,
                            CmdCopy, CmdDuplicate, CmdBannerText})
            states_.SetMenu(command, false);
        states_.SetToolbar(CmdInsertEffect, false);
        states_.SetToolbar(CmdInsertTransition, false);
        if (kind == SelectionKind::BannerGroup || kind == SelectionKind::EffectGroup)
            states_.SetMenu(CmdComment, false);
    } else {
        UpdatePaste();
        states_.SetMenu(CmdBannerText, true);
        if (isRoot) {
            for (int command : {CmdCopy, CmdCut, CmdDelete, CmdDuplicate, CmdExportImage,
                                CmdExportAll, CmdInsertEffect, CmdInsertTransition})
                states_.SetBoth(command, false);
        } else {
            currentGif_ = tree_.FrameOf(item, animation_, boxes_);
            const bool successor = currentGif_ && currentGif_->next;
            states_.SetBoth(CmdInsertTransition, successor);
            states_.SetBoth(CmdInsertEffect, true);
            for (int command : {CmdCopy, CmdCut, CmdDuplicate, CmdExportImage, CmdExportAll,
                                CmdDelete, CmdOptimize, CmdUnoptimize})
                states_.SetMenu(command, true);
        }
    }
    kind_ = kind;
    playbackItem_ = item;
    if (onPreviewChanged) onPreviewChanged();
    if (onStatusLabel) onStatusLabel(label);
}

void Editor::ApplyDocumentRule(bool on) {
    for (int command : kDocumentCommands) states_.SetMenu(command, on);
    const bool transition = on && currentGif_ && currentGif_->next;
    states_.SetMenu(CmdInsertTransition, transition);
    if (!currentGif_) {
        states_.SetMenu(CmdInsertTransition, false);
        states_.SetMenu(CmdInsertEffect, false);
    }
    for (int command : {CmdInsertEffect, CmdSaveAs, CmdCopy, CmdStartAnimation})
        states_.SetToolbar(command, on);
    states_.SetToolbar(CmdInsertTransition, transition);
}

void Editor::UpdateResizeItem() {
    resizeText_ = animation_.FrameCount() > 1 ? "&Resize All" : "&Resize";
    if (onPreviewChanged) onPreviewChanged();
}

void Editor::RemoveSelected() {
    RemovalContext context{animation_, groups_, currentGif_, modified_,
                           settings_.confirmDelete != 0, boxes_};
    switch (::anitrope::RemoveSelected(tree_, context)) {
        case RemovalOutcome::BecameEmpty: ResetToEmpty(); break;
        case RemovalOutcome::Removed:
            if (tree_.ItemCount() == 2) {
                states_.SetMenu(CmdResize, true);
                UpdateResizeItem();
            }
            break;
        case RemovalOutcome::Nothing:
        case RemovalOutcome::Cancelled: break;
    }
    if (onPreviewChanged) onPreviewChanged();
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
    if (playbackItem_ == kNoItem) playbackItem_ = tree_.Selected();
    states_.SetMenu(CmdStopAnimation, true);
    states_.SetChecked(CmdStartAnimation, true);  // the toolbar shows its stop image
    ArmTimer(currentGif_ ? *currentGif_ : *animation_.head);
}

void Editor::StopPlayback() {
    if (!playing_) return;
    playing_ = false;
    if (onStopTimer) onStopTimer();
    states_.SetMenu(CmdStopAnimation, false);
    states_.SetChecked(CmdStartAnimation, false);
}

void Editor::ArmTimer(const Gif& gif) {
    const int32_t delay = animation_.useAnimationDelay ? animation_.animationDelay : gif.delay;
    if (onArmTimer) onArmTimer(std::max(0, delay) * 10);
}

void Editor::PlaybackStep() {
    if (!playing_) return;
    TreeItem next = playbackItem_ == kNoItem ? kNoItem : tree_.NextImageItem(playbackItem_);
    if (next == kNoItem) next = tree_.FirstImageItem();
    if (next == kNoItem) {
        StopPlayback();
        boxes_.Tell(":-(", "Bug");
        return;
    }
    Gif* gif = tree_.FrameOf(next, animation_, boxes_);
    if (!gif) {
        StopPlayback();
        boxes_.Tell("No Gif available for animation", "Bug");
        return;
    }
    tree_.Select(next);
    playbackItem_ = next;
    ArmTimer(*gif);
}

// A file name without a '.' gets the extension of the chosen file type.
static std::string WithExtension(std::string path, const char* extension) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) path += extension;
    return path;
}

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
        return false;
    }
    modified_ = false;
    settings_.pathSave = path;
    settings_.path = path;
    RecentFiles(settings_.history).Add(path);
    if (onRecentFilesChanged) onRecentFilesChanged();
    if (continuation == CmdNew) CloseAnimation();
    if (continuation == 16 && onCloseRequested) onCloseRequested();
    return true;
}

bool Editor::WriteAnimation(const std::string& path) {
    if (!settings_.saveOptimized)
        return SaveAnimation(std::as_const(animation_), animation_.head, path) == GifWriteStatus::Ok;
    SaveOptions options;
    options.optimized = true;
    options.comparisonMask = settings_.gifCompression;
    std::unique_ptr<OptimizeProgress> progress = makeProgress ? makeProgress() : nullptr;
    options.progress = progress.get();
    if (settings_.reloadAfterSave) {
        const bool written = SaveAnimation(animation_, animation_.head, path, options) == GifWriteStatus::Ok;
        Recompose();  // the tree shows the optimized frames
        return written;
    }
    // The document stays as it is: a copy of it is optimized and written.
    std::unique_ptr<Animation> copy = CopyAnimation(animation_);
    if (!copy) return false;
    ColorReduction copyReduction(*copy, &scheduler_, nullptr);
    const bool written = SaveAnimation(*copy, copy->head, path, options) == GifWriteStatus::Ok;
    copyReduction.WaitForAll();
    return written;
}

void Editor::Recompose() {
    if (!animation_.head) return;
    compositor_.InvalidateFrom(*animation_.head);
    compositor_.StartCompositions(animation_.head, animation_.FrameCount());
    if (onPreviewChanged) onPreviewChanged();
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
        settings_.jpegCompression = static_cast<uint32_t>(std::clamp(*choice->jpegQuality, 0, kMaxJpegQuality));
    const std::string path = WithExtension(choice->path, choice->filter == 1 ? ".JPG" : ".GIF");
    if (Upper(ExtensionOf(path)) != "GIF") {
        const int exported = ExportJpeg(path);
        if (exported < 0) boxes_.Tell("while saving single Jpg Image", "Error...", MessageIcon::Error);
        if (exported != 0) return;
    } else if (SaveSingleGif(animation_, *currentGif_, path) != GifWriteStatus::Ok) {
        boxes_.Tell("while saving single Gif Image", "Error...", MessageIcon::Error);
        return;
    }
    settings_.pathSave = path;
}

// 0 when written; 1 when the write failed, told to the user; -1 without pixels to write.
int Editor::ExportJpeg(const std::string& path) {
    MakeTrueColor(currentGif_, false);
    if (!currentGif_->trueColor || !currentGif_->trueColor->HasRows()) return -1;
    const JpegWriteResult written =
        WriteJpegFile(path, *currentGif_->trueColor, true, JpegQuality(settings_));
    if (!written.ok) {
        boxes_.Show(JpegWriteFailureMessage(written, path));
        boxes_.Tell("Error", "Couldn't write jpeg", MessageIcon::Error);
        return 1;
    }
    return 0;
}

void Editor::CloseAnimation() {
    if (modified_) {
        const int answer = boxes_.Show({"Do you want to save the current animation before closing it ?",
                                        "Confirm Close", MessageIcon::Warning, kYesNoCancelButtons});
        if (answer == 0) {
            SaveAs(CmdNew);
            return;
        }
        if (answer != 1) return;
    }
    ResetToEmpty();
}

bool Editor::ConfirmShutdown() {
    StopPlayback();
    if (modified_ && HasAnimation()) {
        const int answer = boxes_.Show({"Do you want to save the current animation before closing it ?",
                                        "Confirm Exit", MessageIcon::Warning, kYesNoCancelButtons});
        if (answer == 0) return SaveAs(0);
        if (answer != 1) return false;
    }
    return true;
}

void Editor::Duplicate() {
    if (!currentGif_) {
        boxes_.Tell("CurGif==NULL", "BUG");
        return;
    }
    if (kind_ != SelectionKind::Image) return;
    StopPlayback();
    compositor_.SuspendComposition(true);
    Gif* copy = CreateGif(animation_, currentGif_, currentGif_->next);
    const int result = DuplicateGif(*currentGif_, copy, true);
    if (result != 0) {
        copy->prev = copy->next = nullptr;
        DiscardGif(copy);
        compositor_.SuspendComposition(false);
        return;
    }
    copy->disposal = currentGif_->disposal;
    copy->usesLocalPalette = currentGif_->usesLocalPalette;
    if (copy->next) copy->next->prev = copy;
    currentGif_->next = copy;
    compositor_.SuspendComposition(false);
    if (copy->trueColor) StartReductions(copy, 1);
    modified_ = true;
    compositor_.InvalidateFrom(*copy);
    const std::vector<TreeItem> items = tree_.InsertFrames(tree_.Selected(), copy, 1);
    if (!items.empty()) tree_.Select(items.front());
    UpdateResizeItem();
}

void Editor::RefreshPaste() { states_.SetMenu(CmdPaste, clipboard_.HasImage()); }

void Editor::UpdatePaste() {
    // Only a picture on the clipboard switches Paste; the other rules leave it alone.
    if (clipboard_.HasImage()) states_.SetMenu(CmdPaste, true);
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
                const bool inside = sx >= 0 && sy >= 0 && sx < picture->Width() && sy < picture->Height();
                image.pixels.push_back(inside ? picture->Get(static_cast<int32_t>(sx), static_cast<int32_t>(sy)) & 0xFFFFFF : 0);
            }
        }
        ok = clipboard_.SetImage(image);
    }
    if (!ok) boxes_.Tell("Couldn't copy image to clipboard", "Error");
    else UpdatePaste();
    return ok;
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
    if (AddBitmapFrame(std::move(pixels), " Copy of Clipboard", true, ResizeTarget::CurrentFrame) == 0)
        modified_ = true;
}

void Editor::OptimizeImages() {
    StopPlayback();
    if (!HasAnimation() || (confirm && !confirm(CmdOptimize))) return;
    std::unique_ptr<OptimizeProgress> progress = makeProgress ? makeProgress() : nullptr;
    OptimizeAnimation(animation_, animation_.head, settings_.gifCompression, progress.get());
    modified_ = true;
    Recompose();
}

void Editor::UnoptimizeImages() {
    StopPlayback();
    if (!HasAnimation() || (confirm && !confirm(CmdUnoptimize))) return;
    UnoptimizeAnimation(animation_, animation_.head, true);
    modified_ = true;
    Recompose();
}

void Editor::ResetToEmpty() {
    StopPlayback();
    playbackItem_ = kNoItem;
    compositor_.SuspendComposition(true);
    animation_.Clear();
    animation_.globalComments.Clear();
    animation_.hasGlobalComments = 0;
    compositor_.SuspendComposition(false);
    currentGif_ = nullptr;
    modified_ = false;
    groups_.Clear();
    status_.ReportStatus(StatusReset);
    tree_.Clear();
    kind_ = SelectionKind::None;
    ApplyDocumentRule(false);
    states_.SetMenu(CmdResize, false);
    if (onPreviewChanged) onPreviewChanged();
}

void Editor::GotoLast() {
    TreeItem last = tree_.Selected();
    for (TreeItem next = tree_.NextImageItem(last); next != kNoItem; next = tree_.NextImageItem(next))
        last = next;
    if (last != tree_.Selected()) tree_.Select(last);
}

}  // namespace anitrope
