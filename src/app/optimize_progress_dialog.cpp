#include "app/optimize_progress_dialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace anitrope {

OptimizeProgressDialog::OptimizeProgressDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Optimizing Images ...");
    // Shown without a loop of its own, but nothing else takes input meanwhile: the document
    // must not change under the optimizer.
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    text_ = new QLabel("Optimizing", this);
    abort_ = new QPushButton("&Abort", this);
    layout->addWidget(bar_);
    layout->addWidget(text_);
    layout->addWidget(abort_, 0, Qt::AlignHCenter);
    connect(abort_, &QPushButton::clicked, this, [this] { aborted_ = true; });
    show();
}

void OptimizeProgressDialog::SetText(const std::string& text) {
    text_->setText(QString::fromStdString(text));
}

// One step ahead of the work done, so the bar moves as soon as a pass starts.
void OptimizeProgressDialog::SetPercent(int percent) { bar_->setValue(std::min(100, percent + 1)); }

bool OptimizeProgressDialog::Aborted() {
    QCoreApplication::processEvents();
    return aborted_;
}

void OptimizeProgressDialog::Close() { close(); }

}  // namespace anitrope
