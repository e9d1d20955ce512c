#pragma once

#include <QMainWindow>
#include <QTimer>
#include <map>
#include <memory>
#include <vector>

#include "app/editor.h"

class QAction;
class QMenu;
class QPushButton;
class QToolBar;
class QTreeView;

namespace anitrope {

class ColorChooser;
class FontChooser;
class Confirmations;
class OutlineModel;
class ParametersWindow;
class PreviewPane;
class StatusBarView;

// The editor's one top-level window: menus, toolbar, tree pane with its "Effect/Transition"
// button, preview pane and status bar, all following the Editor it holds.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(Settings& settings, MessageBoxes& boxes, FileChooser& files, ImageClipboard& clipboard,
               ColorChooser& colors, FontChooser& fonts, Confirmations& confirmations);
    ~MainWindow() override;

    Editor& Core() { return editor_; }
    // The menu item and the toolbar button of a command (null when it has none).
    QAction* MenuAction(int command) const;
    QAction* ToolbarAction(int command) const;
    QMenu* FileMenu() const { return fileMenu_; }
    QTreeView* TreePane() const { return treePane_; }
    OutlineModel* TreeModel() const { return treeModel_; }
    PreviewPane* Preview() const { return preview_; }
    StatusBarView* StatusBar() const { return status_; }
    QPushButton* EffectButton() const { return effectButton_; }

    // Menu texts of the recent files, in menu order.
    std::vector<QString> RecentFileTexts() const;

    void ShowSplash();
    QTimer& PlaybackTimer() { return playbackTimer_; }
    // The Parameters tool window while it is open, else null.
    ParametersWindow* Parameters() const { return parameters_; }
    void ToggleParameters();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void BuildMenus();
    void BuildToolbar();
    void BuildPanes();
    // Every action's enable state, check mark and text from the command table.
    void SyncActions();
    void RebuildRecentFiles();
    void LayOutPanes();
    void ShowTreeMenu(const QPoint& at);
    // The tree shows the editor's selection.
    void ShowSelection();
    void DocumentChanged(const DocumentChange& change);
    QAction* MakeAction(int command, const QString& text);

    Editor editor_;
    std::map<int, QAction*> menuActions_;
    std::map<int, QAction*> toolbarActions_;
    std::vector<QAction*> recentActions_;
    QAction* recentSeparator_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QTreeView* treePane_ = nullptr;
    OutlineModel* treeModel_ = nullptr;  // owned by the window
    bool showingSelection_ = false;      // the window moves the tree's selection itself
    QPushButton* effectButton_ = nullptr;
    PreviewPane* preview_ = nullptr;
    StatusBarView* status_ = nullptr;  // owned by the status bar
    QTimer playbackTimer_;  // timer 1
    QString recentMenuSignature_;
    ColorChooser& colors_;
    FontChooser& fonts_;
    Confirmations& confirmations_;
    ParametersWindow* parameters_ = nullptr;  // owned by Qt as our child window
    QSize lastSize_;
};

}  // namespace anitrope
