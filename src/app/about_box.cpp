#include "app/about_box.h"
#include "app/bitmap_image.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "app/toolbar_icons.h"
#include "banner/qt_text_drawer.h"
#include "banner/shadowed_text.h"

namespace anitrope {

QString AboutBox::VersionText() { return QString("Version %1").arg(ANITROPE_VERSION); }

QImage AboutBox::TitleImage(QColor background) {
    constexpr uint32_t kTitleColor = 0x1F3F8F;
    constexpr uint32_t kShadowColor = 0x000000;
    SoftShadow shadow{6, 5, 6, 45, kAboutShadowStyle};
    FontDescription font;
    font.height = 44;
    font.italic = true;
    QtTextDrawer drawer;
    const std::string title = "Anitrope";
    const TextExtent extent = drawer.Measure(font, title);
    // Room for the shadow on every side it may reach.
    const int32_t margin = shadow.thickness + std::max(shadow.dx, shadow.dy) + 2;
    TrueColorBitmap bitmap(extent.width + 2 * margin, extent.height + 2 * margin);
    if (!bitmap.HasRows()) return {};
    const uint32_t back = background.rgb() & 0xFFFFFFu;
    for (int32_t y = 0; y < bitmap.Height(); ++y) std::fill_n(bitmap.Row(y), bitmap.Width(), back);
    TextCanvas canvas{&drawer, &bitmap, {0, 0, bitmap.Width(), bitmap.Height()}, font};
    DrawShadowedText(canvas, title, margin - shadow.dx / 2, margin - shadow.dy / 2, shadow,
                     kTitleColor, back, kShadowColor);
    return OpaqueImage(bitmap);
}

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
    // The name goes below, drawn over its soft shadow.
    logo->setPixmap(LogoPixmap(size.width(), size.height() * 3 / 5, devicePixelRatioF(), false));
    layout->addWidget(logo);
    auto* title = new QLabel(this);
    title->setObjectName("title");
    title->setPixmap(QPixmap::fromImage(TitleImage(palette().color(QPalette::Window))));
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
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
