// The calendar's controls: selector bar, weekday header, the 37 day cells and
// the hint line, at fixed positions, and the boxes drawn around them.
#include "calendar/MonthCalendar.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

#include "calendar/DayCellLabel.h"
#include "widgets/WindowStyle.h"

namespace {

const QColor kMaroon(128, 0, 0);
// The owner's client area down to the command buttons below the calendar.
const QSize kCalendarSize(626, 580);

constexpr int kGridLeft = 32;
constexpr int kColumnStep = 80;
constexpr int kBoxWidth = 81;
constexpr int kBoxHeight = 65;
constexpr int kWeekRowTops[] = {152, 215, 278, 341, 404};
constexpr int kDayLabelTops[] = {159, 223, 286, 349, 412, 475};
constexpr int kMarkerTops[] = {175, 238, 302, 364, 428, 494};
constexpr int kCellLabelLeft = 39;
constexpr int kCellLabelWidth = 67;

const QStringList& MonthNames() {
    static const QStringList names{
        QStringLiteral("Ιανουάριος"), QStringLiteral("Φεβρουάριος"), QStringLiteral("Μάρτιος"),
        QStringLiteral("Απρίλιος"),   QStringLiteral("Μάιος"),       QStringLiteral("Ιούνιος"),
        QStringLiteral("Ιούλιος"),    QStringLiteral("Αύγουστος"),   QStringLiteral("Σεπτέμβριος"),
        QStringLiteral("Οκτώβριος"),  QStringLiteral("Νοέμβριος"),   QStringLiteral("Δεκέμβριος")};
    return names;
}

const QStringList& WeekdayNames() {
    static const QStringList names{QStringLiteral("Δευτέρα"),   QStringLiteral("Τρίτη"),
                                   QStringLiteral("Τετάρτη"),   QStringLiteral("Πέμπτη"),
                                   QStringLiteral("Παρασκευή"), QStringLiteral("Σάββατο"),
                                   QStringLiteral("Κυριακή")};
    return names;
}

int ColumnLeft(int column) {
    return kGridLeft + kColumnStep * (column - 1);
}

void SetColors(QWidget* widget, const QColor& text, const QColor& background) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Window, background);
    widget->setPalette(palette);
}

QLabel* Caption(QWidget* parent, const QString& text, const QFont& font, const QColor& color,
                QPoint at) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    SetColors(label, color, Qt::white);
    label->adjustSize();
    label->move(at);
    return label;
}

QComboBox* SelectorList(QWidget* parent, const QString& name, const QStringList& entries,
                        int visibleEntries, QRect at) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setFont(widgets::TahomaPixels(15));
    QPalette palette = list->palette();
    palette.setColor(QPalette::ButtonText, widgets::kDayBlue);
    palette.setColor(QPalette::Text, widgets::kDayBlue);
    list->setPalette(palette);
    list->addItems(entries);
    list->setCurrentIndex(-1);
    // The style's own popup opens over the field with every entry and
    // ignores the visible count; a plain list dropped below the field keeps
    // to it, in the field's colours, with the scroll bar that style left off.
    list->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    list->setMaxVisibleItems(visibleEntries);
    list->view()->setPalette(palette);
    list->view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->setFocusPolicy(Qt::ClickFocus);
    list->setGeometry(at.x(), at.y(), at.width(), list->sizeHint().height());
    return list;
}

}  // namespace

MonthCalendar::MonthCalendar(QWidget* parent) : QWidget(parent) {
    setFixedSize(kCalendarSize);
    ADOConnection1.setShareDenyNone(true);
    BuildSelectorBar();
    BuildWeekdayHeader();
    BuildDayCells();
    BuildHint();
}

MonthCalendar::~MonthCalendar() = default;

void MonthCalendar::BuildWeekdayHeader() {
    // The face that stands in for Tahoma is wider: "Παρασκευή" fits its
    // column only in the condensed cut.
    QFont headerFont = widgets::TahomaPixels(13, /*bold=*/true);
    headerFont.setStretch(QFont::Condensed);
    for (int column = 1; column <= 7; ++column) {
        auto* header = new QLabel(WeekdayNames().at(column - 1), this);
        header->setFont(headerFont);
        SetColors(header, Qt::black, Qt::white);
        header->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        header->setGeometry(ColumnLeft(column) + 1, 112, kBoxWidth - 2,
                            header->sizeHint().height());
    }
}

void MonthCalendar::BuildHint() {
    Caption(this,
            QStringLiteral("Κάνε click πάνω στην ημερομηνία που σε ενδιαφέρει για να "
                           "ανοίξει ο πίνακας εργασιών της ημέρας"),
            widgets::TahomaPixels(11), kMaroon, QPoint(32, 544));
}

void MonthCalendar::BuildSelectorBar() {
    const QFont font = widgets::TahomaPixels(15);
    QLabel* yearCaption =
        Caption(this, QStringLiteral("Έτος:"), font, widgets::kDayBlue, QPoint(98, 45));
    QLabel* monthCaption =
        Caption(this, QStringLiteral("Μήνας:"), font, widgets::kDayBlue, QPoint(241, 45));

    QStringList years;
    for (int year = kFirstListedYear; year <= kLastListedYear; ++year) {
        years.append(QString::number(year));
    }
    ComboBox2 = SelectorList(this, QStringLiteral("ComboBox2"), years, 15, QRect(140, 42, 75, 0));
    ComboBox1 =
        SelectorList(this, QStringLiteral("ComboBox1"), MonthNames(), 12, QRect(294, 42, 124, 0));
    // A list says its entry; the caption before it names it.
    yearCaption->setBuddy(ComboBox2);
    monthCaption->setBuddy(ComboBox1);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &MonthCalendar::ComboBox1Change);
    connect(ComboBox2, &QComboBox::currentIndexChanged, this, &MonthCalendar::ComboBox2Change);

    BitBtn1 = new QPushButton(QStringLiteral("Σήμερα"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    // Right to left puts the glyph after the caption.
    BitBtn1->setLayoutDirection(Qt::RightToLeft);
    BitBtn1->setFocusPolicy(Qt::ClickFocus);
    BitBtn1->setGeometry(439, 42, 82, 27);
    connect(BitBtn1, &QPushButton::clicked, this, &MonthCalendar::BitBtn1Click);
}

void MonthCalendar::BuildDayCells() {
    const QFont dayFont = widgets::TahomaPixels(12, /*bold=*/true);
    const QFont markerFont = widgets::TahomaPixels(29, /*bold=*/true);
    for (int cell = 1; cell <= kDayCells; ++cell) {
        const int row = (cell - 1) / 7;
        const int left = kCellLabelLeft + kColumnStep * ((cell - 1) % 7);

        auto* day = new DayCellLabel(this);
        day->setObjectName(QStringLiteral("LabelD%1").arg(cell));
        day->setFont(dayFont);
        day->setAlignment(Qt::AlignCenter);
        day->setAutoFillBackground(true);
        day->setCursor(Qt::PointingHandCursor);
        day->setToolTip(QStringLiteral("Κάνε click"));
        day->setGeometry(left, kDayLabelTops[row], kCellLabelWidth, 14);
        day->hide();
        connect(day, &DayCellLabel::clicked, this, [this, cell] { LabelDClick(cell); });
        LabelD[cell - 1] = day;

        auto* marker = new QLabel(this);
        marker->setObjectName(QStringLiteral("LabelR%1").arg(cell));
        marker->setFont(markerFont);
        marker->setAlignment(Qt::AlignCenter);
        marker->setAutoFillBackground(true);
        SetColors(marker, widgets::kMarkRed, Qt::white);
        marker->setGeometry(left, kMarkerTops[row], kCellLabelWidth, 30);
        marker->hide();
        LabelR[cell - 1] = marker;
    }
}

void MonthCalendar::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::white);
    // A box of w x h pixels whose 1-pixel border is its outermost ring.
    const auto box = [&painter](int left, int top, int width, int height) {
        painter.drawRect(left, top, width - 1, height - 1);
    };
    box(kGridLeft, 24, 561, 65);
    box(kGridLeft, 88, 561, 449);
    for (int column = 1; column <= 7; ++column) {
        box(ColumnLeft(column), 88, kBoxWidth, 449);
    }
    for (int column = 1; column <= 7; ++column) {
        box(ColumnLeft(column), 88, kBoxWidth, kBoxHeight);
        for (const int top : kWeekRowTops) {
            box(ColumnLeft(column), top, kBoxWidth, kBoxHeight);
        }
    }
}
