#include "day/Unit4.h"

#include "core/AppGlobals.h"
#include "day/DayWindowLook.h"
#include "ui_Unit4.h"
#include "widgets/WindowStyle.h"

TForm4::TForm4(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TForm4>()) {
    ui->setupUi(this);
    daywindow::ApplyFrame(this);
    daywindow::ApplyDayCaptionLook(ui->Label83);
    ADOQuery1.setConnection(&ADOConnection1);
    ADOQuery1.setUpdateTable(QStringLiteral("SHMEIWSEIS"));
    DataSource1.setDataSet(&ADOQuery1);

    ui->DBMemo1->setDataSource(&DataSource1);
    ui->DBMemo1->setDataField(QStringLiteral("KEIMENO"));
    ui->DBMemo1->setFocus();

    ui->DBNavigator1->setDataSource(&DataSource1);
    ui->DBNavigator1->setVisibleButtons({widgets::NavigatorButton::Post});

    widgets::UseAsExitButton(this, ui->Button29);
}

TForm4::~TForm4() = default;

void TForm4::OpenDay(const QString& dayText, const QString& isoDate) {
    daywindow::SetDayCaption(ui->Label83, dayText);
    ui->DBMemo1->setAccessibleName(QStringLiteral("Σημειώσεις ημέρας %1").arg(dayText));
    ADOConnection1.reopen(app().AppConnectionString);
    ADOQuery1.close();
    ADOQuery1.setSql(
        QStringLiteral("SELECT HMEROMHNIA, KEIMENO FROM SHMEIWSEIS WHERE HMEROMHNIA=?"));
    ADOQuery1.setParameters({isoDate});
    ADOQuery1.open();
}

// Every way of closing ends here: the exit button, Escape, the close box.
void TForm4::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TForm4::FormClose() {
    ADOQuery1.close();
    ADOQuery1.setSql(QString());
    ADOConnection1.close();
}
