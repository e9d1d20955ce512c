#include "banner/qt_text_drawer.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>

namespace anitrope {
namespace {

// Larger glyph masks (a long text in a huge font) are not kept: such text is drawn directly.
constexpr int64_t kMaxMaskBytes = int64_t{64} << 20;

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont::StyleHint HintOf(FontFamily family) {
    switch (family) {
    case FontFamily::Roman: return QFont::Serif;
    case FontFamily::Swiss: return QFont::SansSerif;
    case FontFamily::Modern: return QFont::TypeWriter;
    case FontFamily::Script: return QFont::Cursive;
    case FontFamily::Decorative: return QFont::Decorative;
    case FontFamily::DontCare: break;
    }
    return QFont::AnyStyle;
}

FontFamily FamilyOf(QFont::StyleHint hint) {
    switch (hint) {
    case QFont::Serif: return FontFamily::Roman;
    case QFont::SansSerif: return FontFamily::Swiss;
    case QFont::TypeWriter: return FontFamily::Modern;
    case QFont::Cursive: return FontFamily::Script;
    case QFont::Decorative: return FontFamily::Decorative;
    default: return FontFamily::DontCare;
    }
}

}  // namespace

QFont ToQFont(const FontDescription& description) {
    QFont font;
    if (!description.faceName.empty()) font.setFamily(QString::fromStdString(description.faceName));
    QFont::StyleStrategy strategy = QFont::PreferDefault;
    if (description.quality == FontQuality::NonAntialiased) strategy = QFont::NoAntialias;
    if (description.quality == FontQuality::Antialiased) strategy = QFont::PreferAntialias;
    font.setStyleHint(HintOf(description.family), strategy);
    if (description.pitch == FontPitch::Fixed) font.setFixedPitch(true);
    // Weights share the 100-900 scale; 0 leaves the choice to the face.
    font.setWeight(description.weight <= 0
                       ? QFont::Normal
                       : static_cast<QFont::Weight>(std::clamp(description.weight, 1, 1000)));
    font.setItalic(description.italic);
    font.setUnderline(description.underline);
    font.setStrikeOut(description.strikeOut);
    if (description.height != 0) {
        const int height = std::abs(description.height);
        font.setPixelSize(height);
        // A positive height is the whole cell: shrink the em until ascent plus descent fit.
        if (description.height > 0) {
            const int cell = QFontMetrics(font).height();
            if (cell > height) font.setPixelSize(std::max(1, height * height / cell));
        }
    }
    if (description.width > 0) {
        const int average = QFontMetrics(font).averageCharWidth();
        if (average > 0) font.setStretch(std::clamp(description.width * 100 / average, 1, 4000));
    }
    return font;
}

FontDescription FromQFont(const QFont& font) {
    FontDescription description;
    description.height = font.pixelSize() > 0 ? -font.pixelSize()
                                              : -static_cast<int32_t>(font.pointSizeF() * 96 / 72);
    description.width = 0;
    description.weight = static_cast<int32_t>(font.weight());
    description.italic = font.italic();
    description.underline = font.underline();
    description.strikeOut = font.strikeOut();
    description.quality = (font.styleStrategy() & QFont::NoAntialias) ? FontQuality::NonAntialiased
                                                                      : FontQuality::Proof;
    description.pitch = font.fixedPitch() ? FontPitch::Fixed : FontPitch::Variable;
    description.family = FamilyOf(font.styleHint());
    description.faceName = font.family().toStdString();
    return description;
}

bool QtTextDrawer::Available() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

const QFont& QtTextDrawer::FontFor(const FontDescription& font) {
    if (!haveFont_ || !(fontKey_ == font)) {
        font_ = ToQFont(font);
        fontKey_ = font;
        haveFont_ = true;
    }
    return font_;
}

TextExtent QtTextDrawer::Measure(const FontDescription& font, std::string_view text) {
    if (!Available()) return {};
    const QFontMetrics metrics(FontFor(font));
    const QString string = ToQString(text);
    // Antialiased or bold glyphs may ink a pixel or two past the advance; counting that ink
    // lets the scroll carry the whole text off the left edge in the last frame.
    const int ink = string.isEmpty() ? 0 : metrics.boundingRect(string).right() + 1;
    return {std::max(metrics.horizontalAdvance(string), ink), metrics.height()};
}

bool QtTextDrawer::RenderMask(const FontDescription& font, std::string_view text) {
    if (haveMask_ && maskFont_ == font && maskText_ == text) return !mask_.isNull();
    const QFont& qfont = FontFor(font);
    const QFontMetrics metrics(qfont);
    const QString string = ToQString(text);
    // Italics, underlines and antialiasing may reach past the bounding box a little.
    const int margin = metrics.height() / 2 + 2;
    const QRect box = metrics.boundingRect(string).adjusted(-margin, -margin, margin, margin);
    maskFont_ = font;
    maskText_ = std::string(text);
    haveMask_ = true;
    mask_ = QImage();
    if (int64_t{box.width()} * box.height() > kMaxMaskBytes) return false;
    mask_ = QImage(box.size(), QImage::Format_Alpha8);
    if (mask_.isNull()) return false;
    mask_.fill(0);
    {
        QPainter painter(&mask_);
        painter.setFont(qfont);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(-box.left(), -box.top()), string);
    }
    maskOrigin_ = QPoint(box.left(), box.top() + metrics.ascent());
    return true;
}

std::optional<PixelRect> QtTextDrawer::InkBounds(const FontDescription& font, std::string_view text) {
    if (!Available() || text.empty() || !RenderMask(font, text)) return std::nullopt;
    return PixelRect{maskOrigin_.x(), maskOrigin_.y(), maskOrigin_.x() + mask_.width(),
                     maskOrigin_.y() + mask_.height()};
}

void QtTextDrawer::Draw(const FontDescription& font, std::string_view text, int32_t x, int32_t y,
                        uint32_t color, TrueColorBitmap& target, const PixelRect& clip) {
    if (!Available() || text.empty() || !target.HasRows()) return;
    const QRect area = QRect(clip.left, clip.top, clip.Width(), clip.Height())
                           .intersected(QRect(0, 0, target.Width(), target.Height()));
    if (area.isEmpty()) return;
    if (!RenderMask(font, text)) {
        DrawDirect(FontFor(font), ToQString(text), x, y, color, target, area);
        return;
    }
    const QRect placed(QPoint(x, y) + maskOrigin_, mask_.size());
    const QRect drawn = placed.intersected(area);
    if (drawn.isEmpty()) return;
    const uint32_t red = (color >> 16) & 0xFF;
    const uint32_t green = (color >> 8) & 0xFF;
    const uint32_t blue = color & 0xFF;
    for (int row = drawn.top(); row <= drawn.bottom(); ++row) {
        const uchar* coverage = mask_.constScanLine(row - placed.top());
        uint32_t* pixels = target.Row(row);
        for (int column = drawn.left(); column <= drawn.right(); ++column) {
            const uint32_t a = coverage[column - placed.left()];
            if (a == 0) continue;
            const uint32_t below = pixels[column];
            if (a == 255) {
                pixels[column] = color & 0xFFFFFFu;
                continue;
            }
            auto mix = [a](uint32_t under, uint32_t over) {
                return (under * (255 - a) + over * a + 127) / 255;
            };
            // Written without TransparentBit: text is always opaque.
            pixels[column] = mix((below >> 16) & 0xFF, red) << 16 |
                             mix((below >> 8) & 0xFF, green) << 8 | mix(below & 0xFF, blue);
        }
    }
}

void QtTextDrawer::DrawDirect(const QFont& qfont, const QString& string, int32_t x, int32_t y,
                              uint32_t color, TrueColorBitmap& target, const QRect& area) {
    const QFontMetrics metrics(qfont);
    const QPoint baseline(x, y + metrics.ascent());
    {
        // The bitmap's own rows, painted in place.
        QImage image(reinterpret_cast<uchar*>(target.Row(0)), target.Width(), target.Height(),
                     qsizetype{target.Width()} * 4, QImage::Format_RGB32);
        QPainter painter(&image);
        painter.setClipRect(area);
        painter.setFont(qfont);
        painter.setPen(QColor::fromRgb(static_cast<QRgb>(0xFF000000u | (color & 0xFFFFFFu))));
        painter.drawText(baseline, string);
    }
    // Qt writes opaque pixels, 0xFF in the top byte, where TransparentBit lives: clear it in
    // what the glyphs may have touched.
    const int margin = metrics.height() / 2 + 2;
    const QRect touched = metrics.boundingRect(string)
                              .translated(baseline)
                              .adjusted(-margin, -margin, margin, margin)
                              .intersected(area);
    for (int row = touched.top(); row <= touched.bottom(); ++row) {
        uint32_t* pixels = target.Row(row);
        for (int column = touched.left(); column <= touched.right(); ++column)
            pixels[column] &= 0xFFFFFFu;
    }
}

}  // namespace anitrope
