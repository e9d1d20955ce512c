#pragma once

#include <QMainWindow>
#include <QTextBrowser>
#include <QUrl>

class QHelpEngine;
class QLineEdit;
class QTabWidget;

namespace anitrope {

// Shows the manual's pages, reading them (and their pictures and style sheet) from the help
// collection rather than from files.
class HelpBrowser final : public QTextBrowser {
  public:
    HelpBrowser(QHelpEngine& engine, QWidget* parent);
    QVariant loadResource(int type, const QUrl& name) override;

  private:
    QHelpEngine& engine_;
};

// "Anitrope Help": the contents, the keyword index and the full-text search on the left, the
// page on the right, with Back, Forward and Contents.
class HelpWindow final : public QMainWindow {
  public:
    enum Tab { ContentsTab, IndexTab, SearchTab };

    HelpWindow(QHelpEngine& engine, const QUrl& home, QWidget* parent = nullptr);

    void ShowPage(const QUrl& url);
    void ShowTab(Tab tab);
    // Runs a full-text search as if typed into the Search tab.
    void Search(const QString& words);

    HelpBrowser* Browser() const { return browser_; }

  private:
    QWidget* BuildIndexTab();
    QWidget* BuildSearchTab();

    QHelpEngine& engine_;
    QUrl home_;
    QTabWidget* tabs_ = nullptr;
    HelpBrowser* browser_ = nullptr;
    QLineEdit* indexFilter_ = nullptr;
};

}  // namespace anitrope
