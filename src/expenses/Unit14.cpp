#include "expenses/Unit14.h"

#include <QDate>

#include "calendar/DateLiteral.h"
#include "ui_Unit14.h"

namespace {

// Qualified, the ordering is by the stored ISO date, not by the day-first
// text that the column of the same name shows.
const QString kSearchRowsSql = QStringLiteral(
    "SELECT strftime('%d/%m/%Y', EKSODA.HMEROMHNIA) AS HMEROMHNIA, "
    "CENTS_TEXT(EKSODA.POSO) AS AKSIA, CENTS_TEXT(EKSODA.VAT) AS VAT, "
    "CENTS_TEXT(EKSODA.POSO + EKSODA.VAT) AS SYNOLO, EKSODA.PERIGRAFH FROM EKSODA "
    "WHERE EKSODA.HMEROMHNIA BETWEEN ? AND ? ORDER BY EKSODA.HMEROMHNIA ASC");

const ExpensesReport kSearchReport{"RvProject3", "RvDataSetConnection3", "RvDataSetConnection4",
                                   "EKSODA1.RAV"};

}  // namespace

TForm14::TForm14(QWidget* parent)
    : ExpensesRangeWindow(kSearchReport, kSearchRowsSql, RangeSumsSql(), parent),
      ui(std::make_unique<Ui::TForm14>()) {
    ui->setupUi(this);
    // The amount titles are wider in the Greek face than in Tahoma: their
    // columns grow to show them whole, at the description's expense.
    PrepareForm({
        {"PERIGRAFH", "Περιγραφή", 383, Qt::AlignLeft},
        {"HMEROMHNIA", "Ημερομηνία", 99, Qt::AlignHCenter},
        {"AKSIA", "Αξία (EUR)", 86, Qt::AlignRight},
        {"VAT", "Φ.Π.Α (EUR)", 90, Qt::AlignRight},
        {"SYNOLO", "Αξία + Φ.Π.Α (EUR)", 132, Qt::AlignRight},
    });
}

TForm14::~TForm14() = default;

void TForm14::SaveCriteria(const QString& fromText, const QString& toText) {
    FromDateLiteral = fromText;
    ToDateLiteral = toText;
    ToSqlDateLiteral(FromDateLiteral);
    ToSqlDateLiteral(ToDateLiteral);
}

bool TForm14::CriteriaValid(const QString& fromText, const QString& toText) const {
    QString from = fromText;
    QString to = toText;
    ToSqlDateLiteral(from);
    ToSqlDateLiteral(to);
    return from != kDateLiteralError && to != kDateLiteralError;
}

QVariantList TForm14::RangeParameters() const {
    return {IsoDateParameter(FromDateLiteral), IsoDateParameter(ToDateLiteral)};
}

// "Από 01/03/2026 έως 31/03/2026": the days the statements were given.
QString TForm14::CriteriaText() const {
    const auto day = [](const QString& literal) {
        return QDate::fromString(IsoDateParameter(literal), Qt::ISODate)
            .toString(QStringLiteral("dd/MM/yyyy"));
    };
    return QStringLiteral("Από %1 έως %2").arg(day(FromDateLiteral), day(ToDateLiteral));
}
