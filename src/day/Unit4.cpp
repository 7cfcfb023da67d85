#include "day/Unit4.h"

#include <QLabel>
#include <QPushButton>

#include "day/DayWindowLook.h"
#include "widgets/DBMemo.h"
#include "widgets/DBNavigator.h"

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("Σημειώσεις ημέρας"));
    daywindow::ApplyFrame(this);
    ADOQuery1.setConnection(&ADOConnection1);
    ADOQuery1.setUpdateTable(QStringLiteral("SHMEIWSEIS"));
    DataSource1.setDataSet(&ADOQuery1);

    Label83 = daywindow::MakeDayCaption(this);

    DBMemo1 = new widgets::DBMemo(this);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setGeometry(8, 38, 966, 595);
    DBMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DBMemo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    DBMemo1->setDataSource(&DataSource1);
    DBMemo1->setDataField(QStringLiteral("KEIMENO"));
    DBMemo1->setFocus();

    DBNavigator1 = new widgets::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setDataSource(&DataSource1);
    DBNavigator1->setVisibleButtons({widgets::NavigatorButton::Post});
    DBNavigator1->setGeometry(899, 647, 75, 25);

    Button29 = daywindow::MakeExitButton(this);
    connect(Button29, &QPushButton::clicked, this, &TForm4::Button29Click);
}

TForm4::~TForm4() = default;

void TForm4::Button29Click() {
    close();
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
