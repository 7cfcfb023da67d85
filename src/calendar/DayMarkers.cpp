// Day markers: the count of filled half-hour slots under every day of the
// shown month, read from RANTEBOU.
#include "calendar/DayMarkers.h"

#include <QDate>
#include <QLabel>

#include "calendar/DateLiteral.h"
#include "calendar/DayCellLabel.h"
#include "calendar/MonthCalendar.h"
#include "core/AppGlobals.h"
#include "store/Connection.h"
#include "store/Statement.h"

namespace {

constexpr int kNoRow = -1;

// A slot counts when trimming blanks and control characters (code 0x20 or
// lower) leaves something. In UTF-8 every other character has a byte above
// 0x20, so one such byte decides.
bool HoldsText(QByteArrayView text) {
    for (const char byte : text) {
        if (static_cast<unsigned char>(byte) > 0x20) {
            return true;
        }
    }
    return false;
}

int DateColumnOf(const store::Statement& statement) {
    for (int column = 0; column < statement.columnCount(); ++column) {
        if (statement.columnName(column).compare(QLatin1String("HMEROMHNIA"),
                                                 Qt::CaseInsensitive) == 0) {
            return column;
        }
    }
    return -1;
}

QString DateParameter(int day, int month, int year) {
    QString literal = DayText(day, month, year);
    ToSqlDateLiteral(literal);
    return IsoDateParameter(literal);
}

}  // namespace

QVector<int> FilledSlotCounts(store::Connection& connection, int year, int month, int days) {
    QVector<int> counts(days, kNoRow);
    if (days == 0) {
        return counts;
    }
    store::Statement statement(
        connection, QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA BETWEEN ? AND ?"));
    statement.bind({DateParameter(1, month, year), DateParameter(days, month, year)});
    const int dateColumn = DateColumnOf(statement);
    while (statement.step()) {
        const QDate date = QDate::fromString(QString::fromUtf8(statement.utf8Text(dateColumn)),
                                             QStringLiteral("yyyy-MM-dd"));
        if (!date.isValid() || date.day() > days) {
            continue;
        }
        int filled = 0;
        for (int column = 0; column < statement.columnCount(); ++column) {
            if (column != dateColumn && HoldsText(statement.utf8Text(column))) {
                ++filled;
            }
        }
        counts[date.day() - 1] = filled;
    }
    return counts;
}

void MonthCalendar::RefreshDayMarkers() {
    ADOConnection1.reopen(app().AppConnectionString);
    const QVector<int> counts =
        FilledSlotCounts(ADOConnection1, app().ViewYear, app().ViewMonth, DaysInMonth);
    for (int day = 1; day <= DaysInMonth; ++day) {
        if (counts.at(day - 1) > 0) {
            SetDayMarker(day, counts.at(day - 1));
        } else {
            ClearDayMarker(day);
        }
    }
    ADOConnection1.close();
}

void MonthCalendar::SetDayMarker(int day, int count) {
    if (const int cell = CellShowingDay(day)) {
        LabelR[cell - 1]->setText(QString::number(count));
        LabelD[cell - 1]->SetDayName(QDate(app().ViewYear, app().ViewMonth, day), count);
    }
}

void MonthCalendar::ClearDayMarker(int day) {
    if (const int cell = CellShowingDay(day)) {
        LabelR[cell - 1]->setText(QString());
        LabelD[cell - 1]->SetDayName(QDate(app().ViewYear, app().ViewMonth, day), 0);
    }
}
