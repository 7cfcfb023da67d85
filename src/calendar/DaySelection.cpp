// Day selection: a click on a day opens its task table over the hidden main
// window; the markers are rewritten when it closes.
#include <QLabel>

#include "calendar/DateLiteral.h"
#include "calendar/DayCellLabel.h"
#include "calendar/MonthCalendar.h"
#include "core/AppGlobals.h"
#include "day/DayRow.h"
#include "day/Unit2.h"
#include "store/DatabaseError.h"
#include "widgets/ErrorGuard.h"
#include "widgets/ModalLoop.h"

void MonthCalendar::LabelDClick(int cell) {
    widgets::RunReportingErrors(this, [this, cell] {
        app().SelectedDay = LabelD[cell - 1]->text().toInt();
        OpenSelectedDay();
    });
}

void MonthCalendar::OpenSelectedDay() {
    std::unique_ptr<TForm2> table = PrepareSelectedDayTable();
    if (table == nullptr) {
        return;
    }
    widgets::ShowModalOver(window(), *table);
    table.reset();
    RefreshDayMarkers();
}

std::unique_ptr<TForm2> MonthCalendar::PrepareSelectedDayTable() {
    const QString dayText = DayText(app().SelectedDay, app().ViewMonth, app().ViewYear);
    const QString cannotWrite = QStringLiteral("Η ημέρα %1 δεν μπορεί να γραφτεί.").arg(dayText);
    try {
        ADOConnection1.reopen(app().AppConnectionString);
    } catch (const store::DatabaseError& error) {
        throw store::DatabaseError(cannotWrite + QStringLiteral("\r\r") + error.message(),
                                   error.kind());
    }
    app().SelectedDateLiteral = dayText;
    ToSqlDateLiteral(app().SelectedDateLiteral);
    const QString date = IsoDateParameter(app().SelectedDateLiteral);

    ADOCommand1.setCommandText(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES(?)"));
    ADOCommand1.setParameters({date});
    const bool opens = daywindow::EnsureDayRow(
        window(),
        {&ADOCommand1, &ADOConnection1,
         QStringLiteral("SELECT count(*) FROM RANTEBOU WHERE HMEROMHNIA=?"), date, cannotWrite});
    ADOConnection1.close();
    if (!opens) {
        return nullptr;
    }

    auto table = std::make_unique<TForm2>();
    table->OpenDay(dayText, date);
    return table;
}
