#include "app/help_window.h"

#include <QAction>
#include <QDesktopServices>
#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

namespace anitrope {

HelpBrowser::HelpBrowser(QHelpEngine& engine, QWidget* parent)
    : QTextBrowser(parent), engine_(engine) {
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.scheme() == "qthelp" || url.isRelative()) {
            setSource(source().resolved(url));
        } else {
            QDesktopServices::openUrl(url);
        }
    });
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    if (name.scheme() != "qthelp") return QTextBrowser::loadResource(type, name);
    QUrl file = name;
    file.setFragment({});
    const QByteArray bytes = engine_.fileData(file);
    if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource)
        return QString::fromUtf8(bytes);
    return bytes;
}

HelpWindow::HelpWindow(QHelpEngine& engine, const QUrl& home, QWidget* parent)
    : QMainWindow(parent, Qt::Window), engine_(engine), home_(home) {
    setObjectName("helpWindow");
    setWindowTitle("Anitrope Help");
    setAttribute(Qt::WA_DeleteOnClose, false);

    browser_ = new HelpBrowser(engine_, this);
    tabs_ = new QTabWidget(this);
    QHelpContentWidget* contents = engine_.contentWidget();
    tabs_->addTab(contents, "&Contents");
    tabs_->addTab(BuildIndexTab(), "&Index");
    tabs_->addTab(BuildSearchTab(), "&Search");
    connect(contents, &QHelpContentWidget::linkActivated, this, &HelpWindow::ShowPage);
    // One click opens a page, as in a table of contents on paper.
    connect(contents, &QTreeView::clicked, this, [this](const QModelIndex& index) {
        if (const QHelpContentItem* item = engine_.contentModel()->contentItemAt(index))
            ShowPage(item->url());
    });
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int tab) {
        if (tab == IndexTab) indexFilter_->setFocus();
        if (tab == SearchTab) engine_.searchEngine()->queryWidget()->setFocus();
    });
    connect(engine_.contentModel(), &QHelpContentModel::contentsCreated, contents,
            [contents] { contents->expandToDepth(0); });

    auto* split = new QSplitter(this);
    split->addWidget(tabs_);
    split->addWidget(browser_);
    split->setStretchFactor(1, 3);
    setCentralWidget(split);

    QToolBar* bar = addToolBar("Navigation");
    bar->setMovable(false);
    QAction* back = bar->addAction("&Back", browser_, &QTextBrowser::backward);
    QAction* forward = bar->addAction("&Forward", browser_, &QTextBrowser::forward);
    bar->addAction("C&ontents", this, [this] {
        ShowTab(ContentsTab);
        ShowPage(home_);
    });
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    resize(900, 640);
}

QWidget* HelpWindow::BuildIndexTab() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    indexFilter_ = new QLineEdit(page);
    indexFilter_->setPlaceholderText("Type a keyword");
    QHelpIndexWidget* index = engine_.indexWidget();
    layout->addWidget(new QLabel("&Look for:", page));
    layout->addWidget(indexFilter_);
    layout->addWidget(index);
    connect(indexFilter_, &QLineEdit::textChanged, index,
            [index](const QString& text) { index->filterIndices(text); });
    connect(indexFilter_, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
    connect(index, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink& link, const QString&) { ShowPage(link.url); });
    connect(index, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink>& links, const QString&) {
                if (!links.isEmpty()) ShowPage(links.front().url);
            });
    return page;
}

QWidget* HelpWindow::BuildSearchTab() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    QHelpSearchEngine* search = engine_.searchEngine();
    QHelpSearchQueryWidget* query = search->queryWidget();
    QHelpSearchResultWidget* results = search->resultWidget();
    layout->addWidget(query);
    layout->addWidget(results, 1);
    connect(query, &QHelpSearchQueryWidget::search, search,
            [search, query] { search->search(query->searchInput()); });
    connect(results, &QHelpSearchResultWidget::requestShowLink, this, &HelpWindow::ShowPage);
    // A search needs the index; the window is the first to need it and builds it in the
    // background, keeping the query closed meanwhile.
    connect(search, &QHelpSearchEngine::indexingStarted, query, [query] { query->setEnabled(false); });
    connect(search, &QHelpSearchEngine::indexingFinished, query, [query] { query->setEnabled(true); });
    search->reindexDocumentation();
    return page;
}

void HelpWindow::ShowPage(const QUrl& url) {
    if (!url.isValid()) return;
    browser_->setSource(url);
    if (const QModelIndex found = engine_.contentWidget()->indexOf(url); found.isValid())
        engine_.contentWidget()->setCurrentIndex(found);
}

void HelpWindow::ShowTab(Tab tab) {
    tabs_->setCurrentIndex(tab);
    if (tab == IndexTab) indexFilter_->setFocus();
    if (tab == SearchTab) engine_.searchEngine()->queryWidget()->setFocus();
}

void HelpWindow::Search(const QString& words) {
    ShowTab(SearchTab);
    QHelpSearchEngine* search = engine_.searchEngine();
    search->queryWidget()->setSearchInput(words);
    search->search(words);
}

}  // namespace anitrope
