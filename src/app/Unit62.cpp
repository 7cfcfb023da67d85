#include "app/Unit62.h"

#include <QMouseEvent>

#include "app/ProductInfo.h"
#include "ui_Unit62.h"
#include "widgets/WindowStyle.h"

TForm62::TForm62(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TForm62>()) {
    ui->setupUi(this);
    widgets::ApplyWindowConventions(this, size());
    widgets::ApplyControlRoles(this);
    ShowProductLines();
    ShowPictures();
    MakeClickable();
    widgets::SetDefaultButton(ui->Button1);
    widgets::SetCancelButton(this, ui->Button1);
    connect(ui->Button1, &QPushButton::clicked, this, &TForm62::Button1Click);
}

TForm62::~TForm62() = default;

// The lines come from the product's facts; the form leaves room for each.
// The name lines are sized in pixels, which a form cannot say.
void TForm62::ShowProductLines() {
    ui->Label1->setFont(widgets::TahomaPixels(27, true));
    ui->Label5->setFont(widgets::TahomaPixels(20, true));
    const QList<std::pair<QLabel*, QString>> lines{
        {ui->Label1, product::kMakerName},
        {ui->Label5, product::kProductName},
        {ui->Label6, product::kVersionText},
        {ui->Label3, product::kWebsite},
        {ui->Label4, product::kEmail},
        {ui->Label9, QStringLiteral("Διεύθυνση: ") + product::kPostalStreet},
        {ui->Label10, product::kPostalTown},
        {ui->Label7, QStringLiteral("Τηλ: ") + product::kTelephone},
        {ui->Label14, QStringLiteral("Mob: ") + product::kMobile},
        {ui->Label8, QStringLiteral("Mob: ") + product::kSecondMobile},
        {ui->Label11, product::kRightsNotice},
    };
    for (const auto& [label, text] : lines) {
        label->setText(text);
    }
}

void TForm62::ShowPictures() {
    ui->Image1->setPixmap(product::ProductPicture());
    ui->Image2->setPixmap(product::BadgePicture());
}

// The addresses look like links; they, the badge and the context menu of the
// window and its picture open the maker's pages.
void TForm62::MakeClickable() {
    for (QLabel* link : {ui->Label3, ui->Label4}) {
        QPalette palette = link->palette();
        palette.setColor(QPalette::WindowText, Qt::blue);
        link->setPalette(palette);
        link->installEventFilter(this);
    }
    ui->Image2->installEventFilter(this);
    connect(this, &QWidget::customContextMenuRequested, this, &TForm62::PopupMenu1Popup);
    connect(ui->Image1, &QWidget::customContextMenuRequested, this, &TForm62::PopupMenu1Popup);
}

void TForm62::Button1Click() {
    close();
}

void TForm62::Label3Click() {
    product::OpenAddress(QUrl(product::kWebsite));
}

void TForm62::Label4Click() {
    product::OpenAddress(product::MailAddress(product::kEmail));
}

void TForm62::Image2Click() {
    product::OpenAddress(QUrl(product::kBadgePage));
}

void TForm62::PopupMenu1Popup() {
    product::OpenAddress(QUrl(product::kWebsite));
}

bool TForm62::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease ||
        static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) {
        return QDialog::eventFilter(watched, event);
    }
    if (watched == ui->Label3) {
        Label3Click();
    } else if (watched == ui->Label4) {
        Label4Click();
    } else if (watched == ui->Image2) {
        Image2Click();
    }
    return QDialog::eventFilter(watched, event);
}
