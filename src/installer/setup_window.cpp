#include "installer/setup_window.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "installer/installation.h"
#include "installer/setup_messages.h"
#include "installer/setup_wizard.h"

namespace anitrope {

namespace text = setup_text;

int BackdropShade(int x, int y, int width, int height) {
    if (width + height <= 0) return 0;
    return std::clamp(2560 * (x / 10 + y / 10) / (width + height), 0, 255);
}

void PaintBackdrop(QPainter& painter, const QRect& rect, int width, int height,
                   const QString& title) {
    QColor shades[256];
    for (int i = 0; i < 256; ++i) shades[i] = QColor(0, 0, 255 - i);
    const int left = rect.left() / 10 * 10;
    const int top = rect.top() / 10 * 10;
    for (int y = top; y <= rect.bottom(); y += 10)
        for (int x = left; x <= rect.right(); x += 10)
            painter.fillRect(x, y, 10, 10, shades[BackdropShade(x, y, width, height)]);

    QFont font = painter.font();
    font.setPixelSize(60);
    font.setWeight(QFont::Black);
    font.setItalic(true);
    painter.setFont(font);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip;
    painter.setPen(Qt::black);
    painter.drawText(QRect(50, 40, width, height), flags, title);
    painter.setPen(QColor(255, 255, 0));
    painter.drawText(QRect(30, 30, width, height), flags, title);
}

FinalDialog::FinalDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(text::kSuccessful);
    auto* layout = new QHBoxLayout(this);
    // The backdrop in small, stretched over the left of the box.
    QPixmap picture(64, 128);
    {
        QPainter painter(&picture);
        PaintBackdrop(painter, picture.rect(), 64, 128, QString());
    }
    auto* image = new QLabel;
    image->setPixmap(picture);
    image->setScaledContents(true);
    image->setFixedSize(96, 192);
    layout->addWidget(image);

    auto* column = new QVBoxLayout;
    auto* heading = new QLabel(text::kSuccessful);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.4);
    heading->setFont(bold);
    column->addWidget(heading);
    column->addWidget(new QLabel(text::kThankYou));
    column->addStretch();
    start_ = new QCheckBox(text::kStartNow);
    start_->setChecked(true);
    column->addWidget(start_);
    auto* finish = new QPushButton(text::kFinalFinish);
    finish->setDefault(true);
    connect(finish, &QPushButton::clicked, this, &QDialog::accept);
    column->addWidget(finish, 0, Qt::AlignRight);
    layout->addLayout(column);
}

bool FinalDialog::StartNow() const { return start_->isChecked(); }

void FinalDialog::showEvent(QShowEvent* event) {
    // Centred across, a third of the way down the free height, and on the screen.
    const QRect over = parentWidget() ? parentWidget()->geometry()
                       : screen()     ? screen()->availableGeometry()
                                      : QRect(0, 0, 1024, 768);
    const QSize size = frameSize();
    QPoint place(over.left() + (over.width() - size.width()) / 2,
                 over.top() + (over.height() - size.height()) / 3);
    if (screen()) {
        const QRect bounds = screen()->availableGeometry();
        place.setX(std::clamp(place.x(), bounds.left(),
                              std::max(bounds.left(), bounds.right() - size.width())));
        place.setY(std::clamp(place.y(), bounds.top(),
                              std::max(bounds.top(), bounds.bottom() - size.height())));
    }
    move(place);
    QDialog::showEvent(event);
}

SetupWindow::SetupWindow(InstallPlan& plan, SetupDialogs& dialogs, ExtractProgress& progress,
                         SettingsWriter& settings)
    : plan_(plan), dialogs_(dialogs), progress_(progress), settings_(settings) {
    setWindowTitle(text::kWindowTitle);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SetupWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintBackdrop(painter, rect(), width(), height(), windowTitle());
    if (!wizardStarted_) {
        wizardStarted_ = true;
        // Not inside the paint itself: the wizard's own event loop would run from it.
        QTimer::singleShot(0, this, &SetupWindow::RunWizard);
    }
}

void SetupWindow::RunWizard() {
    SetupWizard wizard(plan_, dialogs_, this);
    if (wizard.exec() == QDialog::Accepted) {
        const InstallOutcome outcome =
            Install(plan_, DesktopDirectoriesFromEnvironment(), settings_, dialogs_, progress_);
        if (outcome.result == InstallOutcome::Panic) {
            exitCode_ = kRegistryPanicExitCode;
        } else if (outcome.result == InstallOutcome::Installed) {
            FinalDialog final(this);
            final.exec();
            if (final.StartNow() && !outcome.program.empty())
                QProcess::startDetached(QString::fromStdString(outcome.program), {},
                                        QString::fromStdString(plan_.targetDirectory));
        }
    }
    close();
}

}  // namespace anitrope
