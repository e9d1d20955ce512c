#include "app/main_window.h"

#include <QStatusTipEvent>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMoveEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeView>
#include <QUrl>

#include "app/about_box.h"
#include "app/command_ids.h"
#include "app/confirmation.h"
#include "app/effect_dialog.h"
#include "app/palette_panel.h"
#include "app/menu_table.h"
#include "app/optimize_progress_dialog.h"
#include "app/options_dialog.h"
#include "app/outline_model.h"
#include "app/banner_dialog.h"
#include "app/command_help.h"
#include "app/comment_dialog.h"
#include "app/export_all_dialog.h"
#include "app/load_avi_dialog.h"
#include "app/pane_layout.h"
#include "app/parameters_window.h"
#include "app/preview_pane.h"
#include "app/recent_files.h"
#include "app/resize_all_dialog.h"
#include "app/status_bar_view.h"
#include "app/toolbar_icons.h"

namespace anitrope {

MainWindow::MainWindow(Settings& settings, MessageBoxes& boxes, FileChooser& files,
                       ImageClipboard& clipboard, ColorChooser& colors, FontChooser& fonts,
                       Confirmations& confirmations)
    : editor_(settings, boxes, files, clipboard),
      colors_(colors),
      fonts_(fonts),
      confirmations_(confirmations) {
    setWindowIcon(QIcon(LogoPixmap(64, 64, devicePixelRatioF())));
    setAcceptDrops(true);
    BuildMenus();
    BuildToolbar();
    status_ = new StatusBarView(*statusBar());
    editor_.Status().Subscribe(status_);
    BuildPanes();

    editor_.onStateChanged = [this] { SyncActions(); };
    editor_.onSelectionChanged = [this] {
        ShowSelection();
        LayOutPanes();
        preview_->update();
        if (parameters_) parameters_->Refresh();  // message 1025
    };
    editor_.onDocumentChanged = [this](const DocumentChange& change) { DocumentChanged(change); };
    editor_.onFramesFreed = [this](std::span<Gif* const> frames) { treeModel_->FramesFreed(frames); };
    editor_.parametersOpen = [this] { return parameters_ != nullptr; };
    editor_.onToggleParameters = [this] { ToggleParameters(); };
    editor_.confirm = [this](int command) {
        return Confirm(command == CmdOptimize ? ConfirmKind::Optimize : ConfirmKind::UnOptimize,
                       editor_.Config(), confirmations_);
    };
    editor_.onStatusLabel = [this](const std::string& label) {
        status_->ShowLabel(QString::fromStdString(label));
    };
    editor_.onCloseRequested = [this] { close(); };
    editor_.makeProgress = [this]() -> std::unique_ptr<OptimizeProgress> {
        return std::make_unique<OptimizeProgressDialog>(this);
    };
    editor_.busy = [](bool on) {
        if (on) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QApplication::restoreOverrideCursor();
        }
    };
    // Reductions end on worker threads; their results are applied here, between events.
    editor_.Reduction().SetResultReady([this] {
        QMetaObject::invokeMethod(
            this, [this] { editor_.Reduction().ApplyFinished(); }, Qt::QueuedConnection);
    });
    playbackTimer_.setSingleShot(true);
    connect(&playbackTimer_, &QTimer::timeout, this, [this] { editor_.PlaybackStep(); });
    editor_.onArmTimer = [this](int periodMs) { playbackTimer_.start(periodMs); };
    editor_.onStopTimer = [this] { playbackTimer_.stop(); };
    editor_.onOptions = [this] {
        OptionsDialog dialog(editor_.Config(), editor_.Boxes(), this, editor_.Help());
        dialog.exec();
    };
    editor_.chooseEffect = [this](EffectParams& params) {
        EffectDialogContext context{editor_.Doc(), *editor_.CurrentGif(), editor_.Config(),
                                    editor_.Boxes(), confirmations_, nullptr,
                                    &editor_.Scheduler(), editor_.Help()};
        context.chooseColor = [this](Gif& gif) -> std::optional<int> {
            PaletteRequest request;
            request.owner = &gif;
            request.indexOnly = true;
            if (PalettePanel::Open(editor_.Doc(), request, colors_, editor_.Boxes(),
                                   QApplication::activeModalWidget()) != 1)
                return std::nullopt;
            return request.index;
        };
        return EffectDialog::Open(std::move(context), params, editor_.EffectColor(), this) == 1;
    };
    editor_.chooseBanner = [this](BannerRequest& request) {
        BannerDialogContext context{editor_.Boxes(), colors_, fonts_, editor_.Text(), std::nullopt,
                                    editor_.Help()};
        if (editor_.HasAnimation())
            context.screen = std::array<int32_t, 2>{editor_.Data().screenWidth, editor_.Data().screenHeight};
        return BannerDialog::Open(std::move(context), editor_.Banner(), request, this) == 1;
    };
    editor_.chooseResize = [this](ResizeRequest& request) {
        return ResizeAllDialog::Open(request, editor_.Boxes(), this);
    };
    editor_.chooseExportAll = [this](ExportAllRequest& request) {
        return ExportAllDialog::Open(request, editor_.Boxes(), editor_.Files(), this);
    };
    editor_.editComment = [this](std::string& text) {
        return CommentDialog::Open(text, this, editor_.Help());
    };
    editor_.chooseVideoRange = [this](const VideoInfo& info, VideoRange& range) {
        return LoadAviDialog::Open(info, range, editor_.Boxes(), this);
    };
    editor_.makeVideoProgress = [this]() -> std::unique_ptr<VideoLoadProgress> {
        return std::make_unique<LoadAviProgressWindow>(this);
    };
    editor_.onProgressStep = [this] { statusBar()->repaint(); };
    editor_.onAbout = [this] {
        AboutBox box(AboutBox::Mode::Dialog, this);
        box.exec();
    };
    if (QClipboard* system = QGuiApplication::clipboard())
        connect(system, &QClipboard::dataChanged, this, [this] { SyncActions(); });
    SyncActions();
    resize(800, 560);
}

// Menu help: a highlighted item's line in part 0, the product's name once the menu closes
// (Qt then sends an empty tip).
bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip && status_) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        status_->ShowLabel(tip.isEmpty() ? QString::fromUtf8(kProductName.data(),
                                                             static_cast<qsizetype>(kProductName.size()))
                                         : tip);
        return true;
    }
    return QMainWindow::event(event);
}

MainWindow::~MainWindow() {
    editor_.Status().Subscribe(nullptr);
    editor_.onDocumentChanged = nullptr;
    editor_.onSelectionChanged = nullptr;
    editor_.onStateChanged = nullptr;
    editor_.onFramesFreed = nullptr;
}

QAction* MainWindow::MakeAction(int command, const QString& text) {
    auto* action = new QAction(text, this);
    const std::string_view help = CommandHelp(command);
    action->setStatusTip(QString::fromUtf8(help.data(), static_cast<qsizetype>(help.size())));
    connect(action, &QAction::triggered, this, [this, command] { editor_.Dispatch(command); });
    return action;
}

void MainWindow::BuildMenus() {
    for (const Menu& menu : MainMenu()) {
        QMenu* popup = menuBar()->addMenu(menu.title);
        const std::string_view help = MenuHelp(menu.title);
        popup->menuAction()->setStatusTip(
            QString::fromUtf8(help.data(), static_cast<qsizetype>(help.size())));
        if (!fileMenu_) fileMenu_ = popup;
        // Paste follows the clipboard, which may have changed behind our back.
        connect(popup, &QMenu::aboutToShow, this, [this] { SyncActions(); });
        for (const MenuItem& item : menu.items) {
            if (item.command == 0) {
                popup->addSeparator();
                continue;
            }
            QAction* action = MakeAction(item.command, item.text);
            QList<QKeySequence> keys;
            for (const char* key : item.keys) keys << QKeySequence(key);
            action->setShortcuts(keys);
            popup->addAction(action);
            menuActions_[item.command] = action;
        }
    }
    for (const MenuItem& item : AcceleratorOnly()) {
        QAction* action = MakeAction(item.command, {});
        action->setShortcut(QKeySequence(item.keys.front()));
        addAction(action);
        menuActions_[item.command] = action;
    }
}

void MainWindow::BuildToolbar() {
    toolbar_ = addToolBar("Toolbar");
    toolbar_->setObjectName("toolbar");
    toolbar_->setMovable(false);
    toolbar_->setIconSize(QSize(18, 17));
    for (const ToolbarButton& button : Toolbar()) {
        if (button.command == 0) {
            toolbar_->addSeparator();
            continue;
        }
        QAction* action = MakeAction(button.command, MenuAction(button.command)
                                                         ? MenuAction(button.command)->text().section('\t', 0, 0)
                                                         : QString());
        action->setIcon(ToolbarIcon(button.image, devicePixelRatioF()));
        action->setToolTip(action->statusTip());
        toolbar_->addAction(action);
        toolbarActions_[button.command] = action;
    }
}

void MainWindow::BuildPanes() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    treePane_ = new QTreeView(central);
    treePane_->setObjectName("tree");
    treePane_->setHeaderHidden(true);
    treePane_->setUniformRowHeights(true);
    treePane_->setSelectionMode(QAbstractItemView::SingleSelection);
    treePane_->setIconSize(QSize(OutlineModel::kThumbnailWidth, OutlineModel::kThumbnailHeight));
    treePane_->setContextMenuPolicy(Qt::CustomContextMenu);
    treeModel_ = new OutlineModel(editor_.Data(), &editor_.Pictures(), this);
    treePane_->setModel(treeModel_);
    treePane_->expandAll();
    connect(treePane_, &QTreeView::customContextMenuRequested, this, &MainWindow::ShowTreeMenu);
    connect(treePane_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (showingSelection_ || !current.isValid()) return;
                editor_.Select(treeModel_->ItemAt(current));
                // An item the editor would not take: the tree goes back to the selection.
                if (!(editor_.Selected() == treeModel_->ItemAt(current)))
                    QMetaObject::invokeMethod(this, [this] { ShowSelection(); }, Qt::QueuedConnection);
            });
    // Double click or Enter: a comment opens for editing, any other item toggles Parameters.
    connect(treePane_, &QTreeView::activated, this, [this] {
        const SelectionKind kind = editor_.Kind();
        const bool comment = kind == SelectionKind::Comment || kind == SelectionKind::GlobalComment;
        editor_.Dispatch(comment ? CmdComment : CmdParameters);
    });
    effectButton_ = new QPushButton("Effect/Transition", central);
    effectButton_->setObjectName("effectButton");
    connect(effectButton_, &QPushButton::clicked, this, [this] { editor_.Dispatch(CmdEffectButton); });
    preview_ = new PreviewPane(editor_, central);
    preview_->setObjectName("preview");
    ShowSelection();
}

void MainWindow::ShowSelection() {
    const QModelIndex index = treeModel_->IndexOf(editor_.Selected());
    if (!index.isValid()) return;
    showingSelection_ = true;
    treePane_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    treePane_->scrollTo(index);
    showingSelection_ = false;
}

void MainWindow::DocumentChanged(const DocumentChange& change) {
    showingSelection_ = true;  // a new model clears the view's selection: not the user's doing
    if (treeModel_->Apply(change)) treePane_->expandAll();
    showingSelection_ = false;
    ShowSelection();
    LayOutPanes();
    preview_->update();
    if (parameters_) parameters_->Refresh();
}

QAction* MainWindow::MenuAction(int command) const {
    auto found = menuActions_.find(command);
    return found == menuActions_.end() ? nullptr : found->second;
}

QAction* MainWindow::ToolbarAction(int command) const {
    auto found = toolbarActions_.find(command);
    return found == toolbarActions_.end() ? nullptr : found->second;
}

void MainWindow::SyncActions() {
    const AppState state = editor_.State();
    for (const auto& [command, action] : menuActions_) {
        action->setEnabled(MenuEnabled(command, state));
        const std::string text = MenuText(command, state);
        if (!text.empty()) action->setText(QString::fromStdString(text));
        if (command == CmdParameters) {
            action->setCheckable(true);
            action->setChecked(Checked(command, state));
        }
    }
    for (const auto& [command, action] : toolbarActions_) {
        action->setEnabled(ToolbarEnabled(command, state));
        // While playing, the start button shows its stop image.
        if (command == CmdStartAnimation)
            action->setIcon(ToolbarIcon(Checked(command, state) ? 6 : 5, devicePixelRatioF()));
    }
    effectButton_->setEnabled(MenuEnabled(CmdEffectButton, state));
    setWindowTitle(QString::fromStdString(editor_.WindowTitle()));
    RebuildRecentFiles();
}

void MainWindow::RebuildRecentFiles() {
    RecentFiles recent(editor_.Config().history);
    QString signature;
    for (int slot = 0; slot < kRecentFileSlots; ++slot)
        signature += QString::fromStdString(recent.At(slot)) + '\n';
    if (signature == recentMenuSignature_ && !recentActions_.empty()) return;
    recentMenuSignature_ = signature;
    for (QAction* action : recentActions_) {
        fileMenu_->removeAction(action);
        action->deleteLater();
    }
    recentActions_.clear();
    if (recent.Count() > 0 && !recentSeparator_) recentSeparator_ = fileMenu_->addSeparator();
    for (int slot = 0; slot < kRecentFileSlots; ++slot) {
        if (recent.At(slot).empty()) continue;
        QAction* action = MakeAction(CmdRecentFile1 + slot,
                                     QString::fromStdString(RecentFiles::MenuText(slot, recent.At(slot))));
        action->setShortcut(QKeySequence(QString("Alt+%1").arg(slot + 1)));
        fileMenu_->addAction(action);
        recentActions_.push_back(action);
    }
}

std::vector<QString> MainWindow::RecentFileTexts() const {
    std::vector<QString> texts;
    for (QAction* action : recentActions_) texts.push_back(action->text());
    return texts;
}

void MainWindow::LayOutPanes() {
    if (!treePane_) return;
    const QWidget* central = centralWidget();
    const Animation& doc = editor_.Data();
    const PaneLayout layout = ::anitrope::LayOutPanes(
        central->width(), central->height(), 0, 0, PreviewPane::kBorder, PreviewPane::kBorder,
        editor_.CurrentGif() != nullptr, doc.screenWidth, doc.screenHeight);
    auto place = [](QWidget* widget, const PaneRect& r) { widget->setGeometry(r.x, r.y, r.width, r.height); };
    // The button sits under the tree inside the same column.
    PaneRect tree = layout.tree;
    tree.height = std::max(0, tree.height - layout.button.height);
    place(treePane_, tree);
    PaneRect button = layout.button;
    button.y = tree.y + tree.height;
    place(effectButton_, button);
    place(preview_, layout.preview);
    status_->LayOut(width());
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (!lastSize_.isValid()) lastSize_ = event->size();
    LayOutPanes();
}

void MainWindow::ShowTreeMenu(const QPoint& at) {
    const QModelIndex hit = treePane_->indexAt(at);
    if (!hit.isValid()) return;
    editor_.Select(treeModel_->ItemAt(hit));
    const SelectionKind kind = editor_.Kind();
    if (kind != SelectionKind::Image && kind != SelectionKind::Comment) return;
    const AppState state = editor_.State();
    QMenu menu(this);
    for (const MenuItem& item : TreeContextMenu()) {
        if (item.command == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(item.text);
        // On a comment only the comment command is offered.
        const bool offered = kind == SelectionKind::Image || item.command == CmdComment;
        action->setEnabled(offered && MenuEnabled(item.command, state));
        const int command = item.command;
        connect(action, &QAction::triggered, this, [this, command] { editor_.Dispatch(command); });
    }
    menu.exec(treePane_->viewport()->mapToGlobal(at));
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
    event->acceptProposedAction();
    editor_.DropFiles(paths);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!editor_.ConfirmShutdown()) {
        event->ignore();
        return;
    }
    // Kept as the normal rectangle of the placement record, as the settings store it.
    WindowPlacement& placement = editor_.Config().winRect;
    const QRect normal = normalGeometry();
    placement.showCommand = isMaximized() ? 3 : (isMinimized() ? 2 : 1);
    placement.left = normal.x();
    placement.top = normal.y();
    placement.right = normal.x() + normal.width();
    placement.bottom = normal.y() + normal.height();
    QMainWindow::closeEvent(event);
}

void MainWindow::ToggleParameters() {
    if (parameters_) {
        parameters_->close();  // remembers its placement and calls `closed`
        return;
    }
    FrameEditing editing{editor_.Doc(),
                         [this] { return editor_.CurrentGif(); },
                         editor_.Config(),
                         editor_.Boxes(),
                         colors_,
                         confirmations_,
                         [this] {
                             if (parameters_) parameters_->deleteLater();
                             parameters_ = nullptr;
                             SyncActions();
                         },
                         [this] { treePane_->setFocus(); },
                         editor_.Help()};
    parameters_ = new ParametersWindow(std::move(editing), this);
    parameters_->ApplyPlacement(editor_.Config().paramPlacement);
    parameters_->show();
    SyncActions();
    treePane_->setFocus();
}

// The Parameters window follows the main window: by the same offset when the window moves,
// only vertically when it was resized from its top edge.
void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    const QPoint offset = event->pos() - event->oldPos();
    const bool resized = size() != lastSize_ && lastSize_.isValid();
    lastSize_ = size();
    if (!parameters_ || offset.isNull()) return;
    parameters_->move(parameters_->pos() + (resized ? QPoint(0, offset.y()) : offset));
    parameters_->RememberPlacement();
}

void MainWindow::ShowSplash() {
    auto* splash = new AboutBox(AboutBox::Mode::Splash, this);
    splash->show();
}

}  // namespace anitrope
