// Draws the product picture (JPEG) and the maker's badge that the splash and
// about windows show, into the folder given as the only argument. The
// committed files under resources/ came from this program; run it again only
// to change the pictures:
//   QT_QPA_PLATFORM=offscreen build/tools/draw-pictures resources

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <cstdio>

namespace {

constexpr int kPictureWidth = 703;
constexpr int kPictureHeight = 622;

QFont SansFont(int pixels, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void DrawBackground(QPainter& painter) {
    QLinearGradient sky(0, 0, kPictureWidth, kPictureHeight);
    sky.setColorAt(0.0, QColor(18, 52, 96));
    sky.setColorAt(0.6, QColor(24, 104, 132));
    sky.setColorAt(1.0, QColor(40, 150, 140));
    painter.fillRect(0, 0, kPictureWidth, kPictureHeight, sky);

    QRadialGradient glow(QPointF(560, 110), 260);
    glow.setColorAt(0.0, QColor(255, 214, 120, 150));
    glow.setColorAt(1.0, QColor(255, 214, 120, 0));
    painter.fillRect(0, 0, kPictureWidth, kPictureHeight, glow);
}

// A wall-calendar page: a red header with binder rings and a month of days
// in a Monday-first grid, one day ringed.
void DrawCalendarPage(QPainter& painter, const QRectF& page) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 70));
    painter.drawRoundedRect(page.translated(8, 10), 16, 16);
    painter.setBrush(QColor(255, 251, 240));
    painter.drawRoundedRect(page, 16, 16);

    const QRectF header(page.left(), page.top(), page.width(), 78);
    painter.setBrush(QColor(200, 36, 44));
    painter.drawRoundedRect(header, 16, 16);
    painter.drawRect(header.adjusted(0, 40, 0, 0));

    painter.setPen(Qt::white);
    painter.setFont(SansFont(30, true));
    painter.drawText(header.adjusted(0, 18, 0, 0), Qt::AlignCenter, QStringLiteral("ΜΑΡΤΙΟΣ"));

    for (int ring = 0; ring < 6; ++ring) {
        const qreal x = page.left() + 40 + ring * (page.width() - 80) / 5;
        painter.setPen(QPen(QColor(70, 70, 80), 5, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(x, page.top() - 14), QPointF(x, page.top() + 14));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(120, 20, 26));
        painter.drawEllipse(QPointF(x, page.top() + 16), 6, 6);
    }

    const QStringList weekDays{QStringLiteral("Δε"), QStringLiteral("Τρ"), QStringLiteral("Τε"),
                               QStringLiteral("Πε"), QStringLiteral("Πα"), QStringLiteral("Σα"),
                               QStringLiteral("Κυ")};
    const qreal cellWidth = (page.width() - 40) / 7;
    const qreal cellHeight = 44;
    const qreal gridTop = header.bottom() + 16;
    painter.setFont(SansFont(16, true));
    for (int column = 0; column < 7; ++column) {
        painter.setPen(column >= 5 ? QColor(200, 36, 44) : QColor(40, 60, 90));
        painter.drawText(QRectF(page.left() + 20 + column * cellWidth, gridTop, cellWidth, 24),
                         Qt::AlignCenter, weekDays.at(column));
    }

    painter.setFont(SansFont(20, false));
    const int firstColumn = 5;  // a month that starts on a Saturday
    for (int day = 1; day <= 31; ++day) {
        const int cell = firstColumn + day - 1;
        const QRectF box(page.left() + 20 + (cell % 7) * cellWidth,
                         gridTop + 30 + (cell / 7) * cellHeight, cellWidth, cellHeight);
        if (day == 14) {
            painter.setPen(QPen(QColor(200, 36, 44), 3));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(box.center(), 19, 19);
        }
        painter.setPen(cell % 7 >= 5 ? QColor(200, 36, 44) : QColor(30, 30, 40));
        painter.drawText(box, Qt::AlignCenter, QString::number(day));
    }
}

void DrawTitle(QPainter& painter) {
    painter.setPen(QColor(0, 0, 0, 90));
    painter.setFont(SansFont(58, true));
    const QRectF title(0, 452, kPictureWidth, 80);
    painter.drawText(title.translated(3, 3), Qt::AlignCenter, QStringLiteral("KAVELO ORGANIZER"));
    painter.setPen(Qt::white);
    painter.drawText(title, Qt::AlignCenter, QStringLiteral("KAVELO ORGANIZER"));

    painter.setPen(QColor(255, 226, 150));
    painter.setFont(SansFont(22, false));
    painter.drawText(QRectF(0, 532, kPictureWidth, 40), Qt::AlignCenter,
                     QStringLiteral("Ημερολόγιο · Σημειώσεις · Έξοδα · Επαφές"));

    painter.setPen(QColor(220, 235, 240));
    painter.setFont(SansFont(15, false));
    painter.drawText(QRectF(0, 580, kPictureWidth, 24), Qt::AlignCenter,
                     QStringLiteral("KAVELO SOFTWARE DEVELOPMENT"));
}

QImage ProductPicture() {
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    DrawBackground(painter);
    DrawCalendarPage(painter, QRectF(171, 40, 361, 396));
    DrawTitle(painter);
    return image;
}

QImage Badge() {
    QImage image(147, 37, QImage::Format_RGB32);
    image.fill(QColor(255, 251, 240));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(QPen(QColor(18, 52, 96), 2));
    painter.setBrush(QColor(24, 104, 132));
    painter.drawRoundedRect(QRectF(1, 1, 145, 35), 7, 7);
    painter.setBrush(QColor(200, 36, 44));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(6, 6, 25, 25), 4, 4);
    painter.setPen(Qt::white);
    painter.setFont(SansFont(15, true));
    painter.drawText(QRectF(6, 6, 25, 25), Qt::AlignCenter, QStringLiteral("K"));
    painter.setFont(SansFont(11, true));
    painter.drawText(QRectF(36, 4, 106, 15), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("KAVELO"));
    painter.setFont(SansFont(9, false));
    painter.drawText(QRectF(36, 19, 106, 13), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("software development"));
    return image;
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw-pictures <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const bool saved =
        ProductPicture().save(folder.filePath(QStringLiteral("product.jpg")), "JPEG", 90) &&
        Badge().save(folder.filePath(QStringLiteral("badge.png")), "PNG");
    if (!saved) {
        std::fprintf(stderr, "draw-pictures: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
