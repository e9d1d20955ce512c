#pragma once

#include <QDialog>

#include "gif/optimize_progress.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace anitrope {

// "Optimizing Images ...": modeless, a bar, a text and "&Abort". The optimizer lets the
// interface run whenever it asks whether the user aborted.
class OptimizeProgressDialog : public QDialog, public OptimizeProgress {
    Q_OBJECT
public:
    explicit OptimizeProgressDialog(QWidget* parent);

    void SetText(const std::string& text) override;
    void SetPercent(int percent) override;
    bool Aborted() override;
    void Close() override;

    QProgressBar* Bar() const { return bar_; }
    QLabel* Text() const { return text_; }
    QPushButton* AbortButton() const { return abort_; }

private:
    QProgressBar* bar_;
    QLabel* text_;
    QPushButton* abort_;
    bool aborted_ = false;
};

}  // namespace anitrope
