#include "app/qt_help_viewer.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHelpEngine>
#include <QHelpLink>
#include <QStandardPaths>
#include <QUrl>
#include <cstdlib>

#include "app/help_window.h"

namespace anitrope {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The inside of `<div class="popup" id="tN">…</div>`, the form every pop-up topic takes in the
// manual's pages.
QString PopupElement(const QString& page, int topic) {
    const QString id = QString("id=\"t%1\"").arg(topic);
    const qsizetype at = page.indexOf(id);
    if (at < 0) return {};
    const qsizetype open = page.lastIndexOf("<div", at);
    const qsizetype start = page.indexOf('>', at);
    const qsizetype end = page.indexOf("</div>", at);
    if (open < 0 || start < 0 || end < start) return {};
    return page.mid(start + 1, end - start - 1).trimmed();
}

}  // namespace

QtHelpViewer::QtHelpViewer(std::string manual, std::string collection, QWidget* parent)
    : manual_(std::move(manual)), collection_(std::move(collection)), parent_(parent) {}

QtHelpViewer::~QtHelpViewer() {
    window_.reset();  // its widgets belong to the engine
}

bool QtHelpViewer::Ready() {
    if (engine_) return true;
    if (manual_.empty() || !QFileInfo(Q(manual_)).isReadable()) return false;
    const QString manual = QFileInfo(Q(manual_)).absoluteFilePath();
    const QString space = QHelpEngineCore::namespaceName(manual);
    if (space.isEmpty()) return false;
    if (!QDir().mkpath(QFileInfo(Q(collection_)).absolutePath())) return false;

    auto engine = std::make_unique<QHelpEngine>(Q(collection_));
    engine->setReadOnly(false);
    if (!engine->setupData()) return false;
    // Registered afresh each run: the manual may have moved or been rebuilt since.
    if (engine->registeredDocumentations().contains(space))
        engine->unregisterDocumentation(space);
    if (!engine->registerDocumentation(manual)) return false;
    engine_ = std::move(engine);
    return true;
}

HelpWindow& QtHelpViewer::OpenWindow() {
    if (!window_) {
        const QString space = QHelpEngineCore::namespaceName(QFileInfo(Q(manual_)).absoluteFilePath());
        const QUrl home(QString("qthelp://%1/doc/index.html").arg(space));
        window_ = std::make_unique<HelpWindow>(*engine_, home, parent_);
        window_->ShowPage(home);
    }
    // Help asked for from a modal dialog must not be blocked by it: the window then stays
    // usable above it, and goes back to being an ordinary window afterwards.
    const Qt::WindowModality modality =
        QApplication::activeModalWidget() && QApplication::activeModalWidget() != window_.get()
            ? Qt::ApplicationModal
            : Qt::NonModal;
    if (window_->windowModality() != modality) {
        window_->hide();
        window_->setWindowModality(modality);
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
    return *window_;
}

bool QtHelpViewer::ShowContents() {
    if (!Ready()) return false;
    HelpWindow& window = OpenWindow();
    window.ShowTab(HelpWindow::ContentsTab);
    return true;
}

// "Search For Help On..." looks for a keyword, as the index does; the full-text search is the
// window's third tab.
bool QtHelpViewer::ShowSearch() {
    if (!Ready()) return false;
    OpenWindow().ShowTab(HelpWindow::IndexTab);
    return true;
}

bool QtHelpViewer::ShowKeyword(const std::string& keyword) {
    if (!Ready()) return false;
    const QList<QHelpLink> links = engine_->documentsForKeyword(Q(keyword));
    if (links.isEmpty()) return false;
    OpenWindow().ShowPage(links.front().url);
    return true;
}

std::string QtHelpViewer::PopupText(int topic) {
    if (!Ready()) return {};
    const QList<QHelpLink> links = engine_->documentsForIdentifier(QString("context-%1").arg(topic));
    if (links.isEmpty()) return {};
    QUrl page = links.front().url;
    page.setFragment({});
    return PopupElement(QString::fromUtf8(engine_->fileData(page)), topic).toStdString();
}

std::string FindManual(const std::string& programDirectory) {
    if (const char* chosen = std::getenv("ANITROPE_HELP"); chosen && *chosen) return chosen;
    const QDir program(Q(programDirectory));
    for (const QString& candidate :
         {program.filePath("anitrope.qch"), program.filePath("../share/anitrope/anitrope.qch")}) {
        if (QFileInfo::exists(candidate)) return QDir::cleanPath(candidate).toStdString();
    }
    return {};
}

std::string DefaultHelpCollection() {
    return (QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/help/anitrope.qhc")
        .toStdString();
}

}  // namespace anitrope
