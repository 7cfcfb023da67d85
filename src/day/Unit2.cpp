#include "day/Unit2.h"

#include <QLabel>
#include <QPushButton>
#include <memory>

#include "core/AppGlobals.h"
#include "day/DayRow.h"
#include "day/DayWindowLook.h"
#include "day/Unit4.h"
#include "store/DatabaseError.h"
#include "store/Schema.h"
#include "ui_Unit2.h"
#include "widgets/DBEdit.h"
#include "widgets/DBNavigator.h"
#include "widgets/Messages.h"
#include "widgets/ModalLoop.h"
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

TForm2::TForm2(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TForm2>()) {
    ui->setupUi(this);
    daywindow::ApplyFrame(this);
    daywindow::ApplyDayCaptionLook(ui->Label83);
    ADOConnection1.setShareDenyNone(true);
    ADOQuery1.setConnection(&ADOConnection1);
    ADOQuery1.setUpdateTable(QStringLiteral("RANTEBOU"));
    DataSource1.setDataSet(&ADOQuery1);

    BuildSlots();

    ui->DBNavigator1->setDataSource(&DataSource1);
    ui->DBNavigator1->setVisibleButtons({widgets::NavigatorButton::Post});

    widgets::UseAsExitButton(this, ui->Button29);
    connect(ui->Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
}

TForm2::~TForm2() = default;

// The scroll box takes no focus: the window opens in the first slot, and Tab
// goes from slot to slot without stopping on the box itself.
void TForm2::BuildSlots() {
    QWidget* area = ui->SlotArea;
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
        // A screen reader says the slot's start, as a person reads the grid.
        field->setAccessibleName(SlotCaption(column).left(5));
        field->setAccessibleDescription(SlotCaption(column));
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, field);
        }
        previous = field;
        DBEdits[slot - 1] = field;
    }
    area->setMinimumSize(kFieldLeft[1] + 340 + 8, kSlotTops[kSlotsPerSide - 1] + 25 + 8);
}

void TForm2::OpenDay(const QString& dayText, const QString& isoDate) {
    daywindow::SetDayCaption(ui->Label83, dayText);
    isoDate_ = isoDate;
    ADOConnection1.reopen(app().AppConnectionString);
    ADOQuery1.close();
    ADOQuery1.setSql(QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=?"));
    ADOQuery1.setParameters({isoDate});
    ADOQuery1.open();
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

// The table hides while the notes are up. When they cannot be opened, the
// table stays and says why.
void TForm2::Button1Click() {
    auto notes = std::make_unique<TForm4>();
    try {
        if (!PrepareNotes()) {
            return;
        }
        notes->OpenDay(ui->Label83->text(), isoDate_);
    } catch (const store::DatabaseError& error) {
        ADOConnection2.close();
        widgets::ShowStandardError(this, error.message());
        return;
    }
    widgets::ShowModalOver(this, *notes);
}

bool TForm2::PrepareNotes() {
    ADOConnection2.reopen(app().AppConnectionString);
    ADOCommand1.setCommandText(QStringLiteral("INSERT INTO SHMEIWSEIS(HMEROMHNIA) VALUES(?)"));
    ADOCommand1.setParameters({isoDate_});
    const bool opens = daywindow::EnsureDayRow(
        this, {&ADOCommand1, &ADOConnection2,
               QStringLiteral("SELECT count(*) FROM SHMEIWSEIS WHERE HMEROMHNIA=?"), isoDate_,
               QStringLiteral("Οι σημειώσεις της ημέρας %1 δεν μπορούν να γραφτούν.")
                   .arg(ui->Label83->text())});
    ADOConnection2.close();
    return opens;
}
