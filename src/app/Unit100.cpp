#include "app/Unit100.h"

#include <QKeyEvent>

#include "app/ProductInfo.h"
#include "core/AppGlobals.h"
#include "core/ProgramTimer.h"
#include "ui_Unit100.h"
#include "widgets/WindowStyle.h"

namespace {

constexpr int kSplashMilliseconds = 2000;

}  // namespace

TForm100::TForm100(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TForm100>()) {
    ui->setupUi(this);
    setWindowTitle(kApplicationTitle);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(size());
    QPalette buttonFace = palette();
    buttonFace.setColor(QPalette::Window, buttonFace.color(QPalette::Button));
    setPalette(buttonFace);
    setAutoFillBackground(true);
    ui->Image1->setPixmap(product::ProductPicture());

    Timer1 = new ProgramTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kSplashMilliseconds);
    connect(Timer1, &ProgramTimer::timeout, this, &TForm100::Timer1Timer);

    widgets::CenterOnScreen(this);
}

TForm100::~TForm100() = default;

void TForm100::Timer1Timer() {
    Timer1->stop();
    accept();
}

void TForm100::keyPressEvent(QKeyEvent* event) {
    event->accept();
}
