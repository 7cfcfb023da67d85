// Day selection: a click on a day opens its task table over the hidden main
// window; the markers are rewritten when it closes.
#include <QLabel>

#include "app/Unit1.h"
#include "calendar/DateLiteral.h"
#include "calendar/DayCellLabel.h"
#include "core/AppGlobals.h"
#include "day/DayWindowLook.h"
#include "day/Unit2.h"
#include "store/DatabaseError.h"
#include "widgets/ErrorGuard.h"
#include "widgets/ModalLoop.h"

void TForm1::LabelDClick(int cell) {
    widgets::RunReportingErrors(this, [this, cell] {
        app().SelectedDay = LabelD[cell - 1]->text().toInt();
        OpenSelectedDay();
    });
}

void TForm1::OpenSelectedDay() {
    std::unique_ptr<TForm2> table = PrepareSelectedDayTable();
    hide();
    widgets::RunModalLoop(*table);
    table.reset();
    show();
    RefreshDayMarkers();
}

std::unique_ptr<TForm2> TForm1::PrepareSelectedDayTable() {
    ADOConnection1.reopen(app().AppConnectionString);
    const QString dayText = DayText(app().SelectedDay, app().ViewMonth, app().ViewYear);
    app().SelectedDateLiteral = dayText;
    ToSqlDateLiteral(app().SelectedDateLiteral);
    const QString date = IsoDateParameter(app().SelectedDateLiteral);

    ADOCommand1.setCommandText(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES(?)"));
    ADOCommand1.setParameters({date});
    try {
        ADOCommand1.execute();
    } catch (const store::DatabaseError&) {
        // The day has its row already; the existing row opens.
    }
    ADOConnection1.close();

    auto table = std::make_unique<TForm2>();
    daywindow::SetDayCaption(table->Label83, dayText);
    table->ADOConnection1.reopen(app().AppConnectionString);
    table->ADOQuery1.close();
    table->ADOQuery1.setSql(QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=?"));
    table->ADOQuery1.setParameters({date});
    table->ADOQuery1.open();
    return table;
}
