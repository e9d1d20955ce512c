#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMoveEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>

#include "app/about_box.h"
#include "app/command_ids.h"
#include "app/confirmation.h"
#include "app/menu_table.h"
#include "app/parameters_window.h"
#include "app/optimize_progress_dialog.h"
#include "app/options_dialog.h"
#include "app/pane_layout.h"
#include "app/preview_pane.h"
#include "app/recent_files.h"
#include "app/status_bar_view.h"
#include "app/toolbar_icons.h"
#include "app/tree_mirror.h"
#include "model/gif.h"

namespace anitrope {

MainWindow::MainWindow(Settings& settings, MessageBoxes& boxes, FileChooser& files,
                       ImageClipboard& clipboard, ColorChooser& colors,
                       Confirmations& confirmations)
    : editor_(settings, boxes, files, clipboard), colors_(colors), confirmations_(confirmations) {
    setWindowTitle("Anitrope");
    setWindowIcon(QIcon(LogoPixmap(64, 64, devicePixelRatioF())));
    setAcceptDrops(true);
    BuildMenus();
    BuildToolbar();
    status_ = new StatusBarView(*statusBar());
    editor_.Status().Subscribe(status_);
    BuildPanes();

    editor_.States().SetObserver([this](int command) { SyncAction(command); });
    for (const auto& [command, action] : menuActions_) SyncAction(command);
    for (const auto& [command, action] : toolbarActions_) SyncAction(command);
    SyncAction(CmdEffectButton);
    editor_.onPreviewChanged = [this] {
        if (QAction* resize = MenuAction(CmdResize))
            resize->setText(QString::fromStdString(editor_.ResizeText()));
        LayOutPanes();
        preview_->update();
        if (parameters_) parameters_->Refresh();  // message 1025
    };
    editor_.onToggleParameters = [this] { ToggleParameters(); };
    editor_.confirm = [this](int command) {
        return Confirm(command == CmdOptimize ? ConfirmKind::Optimize : ConfirmKind::UnOptimize,
                       editor_.Config(), confirmations_);
    };
    editor_.onRecentFilesChanged = [this] { RebuildRecentFiles(); };
    editor_.onStatusLabel = [this](const std::string& label) {
        status_->ShowLabel(QString::fromStdString(label));
    };
    editor_.onCloseRequested = [this] { close(); };
    editor_.makeProgress = [this]() -> std::unique_ptr<OptimizeProgress> {
        return std::make_unique<OptimizeProgressDialog>(this);
    };
    playbackTimer_.setSingleShot(true);
    connect(&playbackTimer_, &QTimer::timeout, this, [this] { editor_.PlaybackStep(); });
    editor_.onArmTimer = [this](int periodMs) { playbackTimer_.start(periodMs); };
    editor_.onStopTimer = [this] { playbackTimer_.stop(); };
    editor_.onOptions = [this] {
        OptionsDialog dialog(editor_.Config(), editor_.Boxes(), this);
        dialog.exec();
    };
    editor_.onAbout = [this] {
        AboutBox box(AboutBox::Mode::Dialog, this);
        box.exec();
    };
    RebuildRecentFiles();
    resize(800, 560);
}

MainWindow::~MainWindow() {
    editor_.Status().Subscribe(nullptr);
    editor_.SetTreeView(nullptr);
}

QAction* MainWindow::MakeAction(int command, const QString& text) {
    auto* action = new QAction(text, this);
    connect(action, &QAction::triggered, this, [this, command] { editor_.Dispatch(command); });
    return action;
}

void MainWindow::BuildMenus() {
    for (const Menu& menu : MainMenu()) {
        QMenu* popup = menuBar()->addMenu(menu.title);
        if (!fileMenu_) fileMenu_ = popup;
        if (QString(menu.title) == "&Edit")
            connect(popup, &QMenu::aboutToShow, this, [this] { editor_.RefreshPaste(); });
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
        toolbar_->addAction(action);
        toolbarActions_[button.command] = action;
    }
}

void MainWindow::BuildPanes() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    treePane_ = new QTreeWidget(central);
    treePane_->setObjectName("tree");
    treePane_->setHeaderHidden(true);
    treePane_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(treePane_, &QTreeWidget::customContextMenuRequested, this, &MainWindow::ShowTreeMenu);
    effectButton_ = new QPushButton("Effect/Transition", central);
    effectButton_->setObjectName("effectButton");
    connect(effectButton_, &QPushButton::clicked, this, [this] { editor_.Dispatch(CmdEffectButton); });
    preview_ = new PreviewPane(editor_, central);
    preview_->setObjectName("preview");
    mirror_ = std::make_unique<TreeMirror>(*treePane_, editor_.Tree(),
                                           [this](TreeItem item) { editor_.Tree().Select(item); });
    editor_.SetTreeView(mirror_.get());
    connect(treePane_, &QTreeWidget::itemActivated, this, [this] { editor_.Dispatch(CmdParameters); });
}

QAction* MainWindow::MenuAction(int command) const {
    auto found = menuActions_.find(command);
    return found == menuActions_.end() ? nullptr : found->second;
}

QAction* MainWindow::ToolbarAction(int command) const {
    auto found = toolbarActions_.find(command);
    return found == toolbarActions_.end() ? nullptr : found->second;
}

void MainWindow::SyncAction(int command) {
    const CommandStates& states = editor_.States();
    if (QAction* action = MenuAction(command)) {
        action->setEnabled(states.MenuEnabled(command));
        if (command == CmdParameters) {
            action->setCheckable(true);
            action->setChecked(states.Checked(command));
        }
    }
    if (QAction* action = ToolbarAction(command)) {
        action->setEnabled(states.ToolbarEnabled(command));
        // While playing, the start button shows its stop image.
        if (command == CmdStartAnimation)
            action->setIcon(ToolbarIcon(states.Checked(command) ? 6 : 5, devicePixelRatioF()));
    }
    if (command == CmdEffectButton) effectButton_->setEnabled(states.MenuEnabled(command));
}

void MainWindow::RebuildRecentFiles() {
    for (QAction* action : recentActions_) {
        fileMenu_->removeAction(action);
        action->deleteLater();
    }
    recentActions_.clear();
    RecentFiles recent(editor_.Config().history);
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
    const Animation& doc = editor_.Document();
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
    QTreeWidgetItem* hit = treePane_->itemAt(at);
    if (!hit) return;
    treePane_->setCurrentItem(hit);
    const SelectionKind kind = editor_.Kind();
    if (kind != SelectionKind::Image && kind != SelectionKind::Comment) return;
    QMenu menu(this);
    for (const MenuItem& item : TreeContextMenu()) {
        if (item.command == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(item.text);
        const bool enabled = kind == SelectionKind::Comment
                                 ? item.command == CmdComment && CommandStates::Available(item.command)
                                 : CommandStates::Available(item.command) &&
                                       (item.command != CmdInsertTransition ||
                                        (editor_.CurrentGif() && editor_.CurrentGif()->next));
        action->setEnabled(enabled);
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
    FrameEditing editing{editor_.Document(),
                         [this] { return editor_.CurrentGif(); },
                         &editor_.Pictures(),
                         editor_.Config(),
                         editor_.Boxes(),
                         colors_,
                         confirmations_,
                         [this] { editor_.MarkModified(); },
                         [this] { preview_->update(); },
                         [this] {
                             if (parameters_) parameters_->deleteLater();
                             parameters_ = nullptr;
                             editor_.States().SetChecked(CmdParameters, false);
                         },
                         [this] { treePane_->setFocus(); },
                         {}};
    parameters_ = new ParametersWindow(std::move(editing), this);
    parameters_->ApplyPlacement(editor_.Config().paramPlacement);
    parameters_->show();
    editor_.States().SetChecked(CmdParameters, true);
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
