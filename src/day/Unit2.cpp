#include "day/Unit2.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <memory>

#include "app/AppGlobals.h"
#include "calendar/DateLiteral.h"
#include "day/DayWindowLook.h"
#include "day/Unit4.h"
#include "store/DatabaseError.h"
#include "store/Schema.h"
#include "widgets/DBEdit.h"
#include "widgets/DBNavigator.h"
#include "widgets/Messages.h"
#include "widgets/WindowStyle.h"

namespace {

const QColor kMoneyGreen(192, 220, 192);
// Tops of the caption panels of slots 1..14 (and 15..28 beside them); the
// field of a slot sits 5 pixels lower.
constexpr int kSlotTops[] = {16, 56, 96, 136, 176, 216, 256, 296, 336, 376, 416, 456, 494, 534};
constexpr int kSlotsPerSide = 14;
constexpr int kPanelLeft[] = {16, 485};
constexpr int kFieldLeft[] = {135, 605};

// "0800-0830" reads "08:00 - 08:30".
QString SlotCaption(const QString& column) {
    return QStringLiteral("%1:%2 - %3:%4")
        .arg(column.mid(0, 2), column.mid(2, 2), column.mid(5, 2), column.mid(7, 2));
}

}  // namespace

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Πίνακας εργασιών της ημέρας"));
    daywindow::ApplyFrame(this);
    ADOConnection1.setShareDenyNone(true);
    ADOQuery1.setConnection(&ADOConnection1);
    ADOQuery1.setUpdateTable(QStringLiteral("RANTEBOU"));
    DataSource1.setDataSet(&ADOQuery1);

    Label83 = daywindow::MakeDayCaption(this);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setGeometry(8, 49, 965, 577);
    ScrollBox1->setWidgetResizable(true);
    // The area only holds the slots: the window opens in the first slot, and
    // Tab goes from slot to slot without stopping on the area itself.
    ScrollBox1->setFocusPolicy(Qt::NoFocus);
    BuildSlots();

    DBNavigator1 = new widgets::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setDataSource(&DataSource1);
    DBNavigator1->setVisibleButtons({widgets::NavigatorButton::Post});
    DBNavigator1->setGeometry(450, 647, 75, 25);

    Button29 = daywindow::MakeExitButton(this);
    connect(Button29, &QPushButton::clicked, this, &TForm2::Button29Click);

    Button1 = new QPushButton(QStringLiteral("Σημειώσεις η&μέρας"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(845, 648, 129, 25);
    Button1->setFocusPolicy(Qt::ClickFocus);
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
}

TForm2::~TForm2() = default;

void TForm2::BuildSlots() {
    auto* area = new QWidget;
    QFont fieldFont = widgets::TahomaPixels(11, /*bold=*/true);
    QWidget* previous = nullptr;
    for (int slot = 1; slot <= kSlots; ++slot) {
        const int side = (slot - 1) / kSlotsPerSide;
        const int top = kSlotTops[(slot - 1) % kSlotsPerSide];
        const QString column = store::SlotColumns().at(slot - 1);

        auto* panel = new QLabel(SlotCaption(column), area);
        panel->setObjectName(QStringLiteral("Panel%1").arg(slot));
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel->setAlignment(Qt::AlignCenter);
        panel->setGeometry(kPanelLeft[side], top, 105, 25);
        Panels[slot - 1] = panel;

        auto* field = new widgets::DBEdit(area);
        field->setObjectName(QStringLiteral("DBEdit%1").arg(slot));
        field->setFrame(false);
        field->setFont(fieldFont);
        QPalette palette = field->palette();
        palette.setColor(QPalette::Base, kMoneyGreen);
        palette.setColor(QPalette::Text, Qt::black);
        field->setPalette(palette);
        field->setGeometry(kFieldLeft[side], top + 5, 340, 17);
        field->setDataSource(&DataSource1);
        field->setDataField(column);
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, field);
        }
        previous = field;
        DBEdits[slot - 1] = field;
    }
    area->setMinimumSize(kFieldLeft[1] + 340 + 8, kSlotTops[kSlotsPerSide - 1] + 25 + 8);
    ScrollBox1->setWidget(area);
}

void TForm2::Button29Click() {
    close();
}

// Every way of closing ends here: the exit button, Escape, the close box.
// Closing the query drops edits that were not posted.
void TForm2::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TForm2::FormClose() {
    ADOQuery1.close();
    ADOQuery1.setSql(QString());
    ADOConnection1.close();
}

void TForm2::Button1Click() {
    hide();
    auto notes = std::make_unique<TForm4>();
    daywindow::SetDayCaption(notes->Label83, Label83->text());
    try {
        PrepareNotes(*notes);
    } catch (const store::DatabaseError& error) {
        // Both this window and the main window are hidden now: come back
        // before saying what went wrong, so the user is never left without
        // a window.
        ADOConnection2.close();
        show();
        widgets::ShowStandardError(this, error.message());
        return;
    }
    notes->exec();
    notes.reset();
    show();
}

void TForm2::PrepareNotes(TForm4& notes) {
    const QString date = IsoDateParameter(app().SelectedDateLiteral);
    ADOConnection2.reopen(app().AppConnectionString);
    ADOCommand1.setCommandText(QStringLiteral("INSERT INTO SHMEIWSEIS(HMEROMHNIA) VALUES(?)"));
    ADOCommand1.setParameters({date});
    try {
        ADOCommand1.execute();
    } catch (const store::DatabaseError&) {
        // The day has its notes row already; the existing row opens.
    }
    ADOConnection2.close();

    notes.ADOConnection1.reopen(app().AppConnectionString);
    notes.ADOQuery1.close();
    notes.ADOQuery1.setSql(
        QStringLiteral("SELECT HMEROMHNIA, KEIMENO FROM SHMEIWSEIS WHERE HMEROMHNIA=?"));
    notes.ADOQuery1.setParameters({date});
    notes.ADOQuery1.open();
}
