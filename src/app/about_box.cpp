#include "app/about_box.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "app/toolbar_icons.h"

namespace anitrope {

QString AboutBox::VersionText() { return QString("Version %1").arg(ANITROPE_VERSION); }

AboutBox::AboutBox(Mode mode, QWidget* parent) : QDialog(parent) {
    setWindowTitle("About Anitrope");
    QSize size(400, 260);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize most = screen->availableSize() * 3 / 4;
        size = size.boundedTo(most);
    }
    auto* layout = new QVBoxLayout(this);
    auto* logo = new QLabel(this);
    logo->setObjectName("logo");
    logo->setPixmap(LogoPixmap(size.width(), size.height() * 3 / 4, devicePixelRatioF()));
    layout->addWidget(logo);
    auto* version = new QLabel(VersionText(), this);
    version->setObjectName("version");
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(version);
    if (mode == Mode::Dialog) {
        auto* ok = new QPushButton("OK", this);
        ok->setObjectName("ok");
        ok->setFixedSize(80, 22);
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        layout->addWidget(ok, 0, Qt::AlignHCenter);
    } else {
        setWindowFlags(Qt::SplashScreen | Qt::WindowStaysOnTopHint);
        setAttribute(Qt::WA_DeleteOnClose);
        QTimer::singleShot(kSplashMilliseconds, this, &QDialog::close);
    }
}

}  // namespace anitrope
