#include "app/Unit62.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "app/ProductInfo.h"
#include "widgets/WindowStyle.h"

namespace {

constexpr QSize kClientSize(647, 356);
constexpr int kMargin = 14;
constexpr QRect kPictureBox(kMargin, 56, 264, 246);
constexpr int kColumnLeft = kMargin + 264 + 12;
constexpr int kLineHeight = 18;

// A line that starts at the given point and is as wide as its text.
void PlaceAt(QLabel* label, int x, int y) {
    label->adjustSize();
    label->move(x, y);
}

}  // namespace

TForm62::TForm62(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm62"));
    setWindowTitle(QStringLiteral("About KAVELO ORGANIZER"));
    widgets::ApplyWindowConventions(this, kClientSize);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &TForm62::PopupMenu1Popup);

    LayOutHeader();
    LayOutContactColumn();
    LayOutFooter();
}

QLabel* TForm62::AddLabel(const QString& name, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* TForm62::AddLink(const QString& name, const QString& text) {
    QLabel* label = AddLabel(name, text);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(palette);
    label->setCursor(Qt::PointingHandCursor);
    label->installEventFilter(this);
    return label;
}

void TForm62::LayOutHeader() {
    Label1 = AddLabel(QStringLiteral("Label1"), product::kMakerName);
    Label1->setFont(widgets::TahomaPixels(27, true));
    PlaceAt(Label1, kMargin, 10);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(kPictureBox);
    Image1->setScaledContents(true);
    Image1->setPixmap(product::ProductPicture());
    Image1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Image1, &QWidget::customContextMenuRequested, this, &TForm62::PopupMenu1Popup);

    Label5 = AddLabel(QStringLiteral("Label5"), product::kProductName);
    Label5->setFont(widgets::TahomaPixels(20, true));
    PlaceAt(Label5, kColumnLeft, kPictureBox.top());
    Label6 = AddLabel(QStringLiteral("Label6"), product::kVersionText);
    QFont bold = Label6->font();
    bold.setBold(true);
    Label6->setFont(bold);
    Label6->adjustSize();
    Label6->move(Label5->geometry().right() + 8,
                 Label5->geometry().bottom() - Label6->height() - 2);
}

void TForm62::LayOutContactColumn() {
    int y = kPictureBox.top() + 40;
    Label12 = AddLabel(QStringLiteral("Label12"), QStringLiteral("Website: "));
    PlaceAt(Label12, kColumnLeft, y);
    Label3 = AddLink(QStringLiteral("Label3"), product::kWebsite);
    PlaceAt(Label3, Label12->geometry().right() + 1, y);

    y += kLineHeight;
    Label13 = AddLabel(QStringLiteral("Label13"), QStringLiteral("E-mail: "));
    PlaceAt(Label13, kColumnLeft, y);
    Label4 = AddLink(QStringLiteral("Label4"), product::kEmail);
    PlaceAt(Label4, Label13->geometry().right() + 1, y);

    struct Line {
        QLabel** member;
        QString name;
        QString text;
    };
    const QList<Line> lines{
        {&Label9, QStringLiteral("Label9"), QStringLiteral("Διεύθυνση: ") + product::kPostalStreet},
        {&Label10, QStringLiteral("Label10"), product::kPostalTown},
        {&Label7, QStringLiteral("Label7"), QStringLiteral("Τηλ: ") + product::kTelephone},
        {&Label14, QStringLiteral("Label14"), QStringLiteral("Mob: ") + product::kMobile},
        {&Label8, QStringLiteral("Label8"), QStringLiteral("Mob: ") + product::kSecondMobile},
        {&Label11, QStringLiteral("Label11"), product::kRightsNotice},
    };
    y += 8;
    for (const Line& line : lines) {
        y += kLineHeight;
        *line.member = AddLabel(line.name, line.text);
        PlaceAt(*line.member, kColumnLeft, y);
    }
}

void TForm62::LayOutFooter() {
    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(kColumnLeft, kClientSize.height() - kMargin - 37, 147, 37);
    Image2->setPixmap(product::BadgePicture());
    Image2->setCursor(Qt::PointingHandCursor);
    Image2->installEventFilter(this);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(kClientSize.width() - kMargin - 75, kClientSize.height() - kMargin - 25,
                         75, 25);
    widgets::SetDefaultButton(Button1);
    widgets::SetCancelButton(this, Button1);
    connect(Button1, &QPushButton::clicked, this, &TForm62::Button1Click);
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
    if (watched == Label3) {
        Label3Click();
    } else if (watched == Label4) {
        Label4Click();
    } else if (watched == Image2) {
        Image2Click();
    }
    return QDialog::eventFilter(watched, event);
}
