#include "app/Unit100.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

#include "core/AppGlobals.h"
#include "app/ProductInfo.h"
#include "widgets/WindowStyle.h"

namespace {

constexpr QSize kClientSize(723, 647);
constexpr int kSplashMilliseconds = 2000;

}  // namespace

TForm100::TForm100(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm100"));
    setWindowTitle(kApplicationTitle);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(kClientSize);
    setFont(widgets::TahomaPoints(8));
    QPalette buttonFace = palette();
    buttonFace.setColor(QPalette::Window, buttonFace.color(QPalette::Button));
    setPalette(buttonFace);
    setAutoFillBackground(true);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(4, 4, kClientSize.width() - 8, kClientSize.height() - 8);

    Image1 = new QLabel(GroupBox1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(6, 6, 703, 622);
    Image1->setScaledContents(true);
    Image1->setPixmap(product::ProductPicture());

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kSplashMilliseconds);
    connect(Timer1, &QTimer::timeout, this, &TForm100::Timer1Timer);

    widgets::CenterOnScreen(this);
}

void TForm100::Timer1Timer() {
    Timer1->stop();
    accept();
}

void TForm100::keyPressEvent(QKeyEvent* event) {
    event->accept();
}
