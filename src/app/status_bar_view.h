#pragma once

#include <QObject>

#include "model/status_display.h"

class QLabel;
class QProgressBar;
class QStatusBar;

namespace anitrope {

// The status bar's three parts: the product name or menu help, the progress text, and the
// progress bar. Updates from other threads are queued to the window's thread.
class StatusBarView : public QObject, public StatusView {
    Q_OBJECT
public:
    explicit StatusBarView(QStatusBar& bar);

    void ShowStatusText(const std::string& text) override;
    void ShowProgress(int percent, bool posted) override;
    void ShowLabel(const QString& text);  // part 0
    // The part edges for a width R: R - 2(R/4) - 16, R - R/4 - 8, R.
    void LayOut(int width);

    QLabel* Label() const { return label_; }
    QLabel* Text() const { return text_; }
    QProgressBar* Bar() const { return bar_; }

private:
    void OnOwnThread(std::function<void()> update, bool mayBlock);
    QLabel* label_;
    QLabel* text_;
    QProgressBar* bar_;
};

}  // namespace anitrope
