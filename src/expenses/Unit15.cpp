#include "expenses/Unit15.h"

#include "expenses/YearRange.h"
#include "store/Command.h"
#include "ui_Unit15.h"

namespace {

// The month lines are made once per search into a temporary table of the
// connection, so that the lines and their sums cost one pass over the
// expenses of the range. The table lives outside data.mdb: making it is no
// write to the file and runs no check of it. Summed per day first: the days
// come in the order of the date index, so only the few day lines, not every
// expense, are grouped into months. A month's SYNOLO sums only its expenses with both amounts, and
// so does the sum of the months' SYNOLO.
const QString kDropMonthSumsSql = QStringLiteral("DROP TABLE IF EXISTS temp.MONTH_SUMS");
const QString kMakeMonthSumsSql = QStringLiteral(
    "CREATE TEMP TABLE MONTH_SUMS AS SELECT substr(DAY, 1, 7) AS YEAR_MONTH, "
    "SUM(DAY_POSO) AS POSO, SUM(DAY_VAT) AS VAT, SUM(DAY_SYNOLO) AS SYNOLO FROM "
    "(SELECT EKSODA.HMEROMHNIA AS DAY, SUM(EKSODA.POSO) AS DAY_POSO, "
    "SUM(EKSODA.VAT) AS DAY_VAT, SUM(EKSODA.POSO + EKSODA.VAT) AS DAY_SYNOLO FROM EKSODA "
    "WHERE EKSODA.HMEROMHNIA BETWEEN ? AND ? GROUP BY EKSODA.HMEROMHNIA) "
    "GROUP BY substr(DAY, 1, 7)");
const QString kMonthsSql = QStringLiteral(
    "SELECT CAST(substr(YEAR_MONTH, 6, 2) AS INTEGER) AS [MONTH], "
    "CAST(substr(YEAR_MONTH, 1, 4) AS INTEGER) AS [YEAR], CENTS_TEXT(POSO) AS AKSIA, "
    "CENTS_TEXT(VAT) AS VAT, CENTS_TEXT(SYNOLO) AS SYNOLO FROM temp.MONTH_SUMS "
    "ORDER BY YEAR_MONTH");
const QString kMonthsSumsSql = QStringLiteral(
    "SELECT CENTS_TEXT(SUM(POSO)) AS AKSIA, CENTS_TEXT(SUM(VAT)) AS VAT, "
    "CENTS_TEXT(SUM(SYNOLO)) AS SYNOLO FROM temp.MONTH_SUMS");

const ExpensesReport kMonthReport{"RvProject4", "RvDataSetConnection5", "RvDataSetConnection6",
                                  "EKSODA2.RAV"};

}  // namespace

TForm15::TForm15(QWidget* parent)
    : ExpensesRangeWindow(kMonthReport, kMonthsSql, kMonthsSumsSql, parent),
      ui(std::make_unique<Ui::TForm15>()) {
    ui->setupUi(this);
    // The last title is wider in the Greek face than in Tahoma: its column
    // grows to show it whole, at the expense of the month and the year.
    PrepareForm({
        {"MONTH", "Μήνας", 58, Qt::AlignHCenter},
        {"YEAR", "Έτος", 62, Qt::AlignHCenter},
        {"AKSIA", "Αξία (EUR)", 103, Qt::AlignRight},
        {"VAT", "Φ.Π.Α (EUR)", 90, Qt::AlignRight},
        {"SYNOLO", "Αξία +Φ.Π.Α (EUR)", 130, Qt::AlignRight},
    });
}

TForm15::~TForm15() = default;

void TForm15::SaveCriteria(const QString& fromText, const QString& toText) {
    FromYearText = fromText;
    ToYearText = toText;
}

QVariantList TForm15::RangeParameters() const {
    return YearRangeDays(FromYearText, ToYearText);
}

// "Έτη 2024 έως 2026", or "Έτος 2026" for one year.
QString TForm15::CriteriaText() const {
    const int from = YearOfText(FromYearText);
    const int to = YearOfText(ToYearText);
    return from == to ? QStringLiteral("Έτος %1").arg(from)
                      : QStringLiteral("Έτη %1 έως %2").arg(from).arg(to);
}

QVariantList TForm15::PrepareStatements(const QVariantList& range) {
    store::Execute(ADOConnection1, kDropMonthSumsSql);
    store::Execute(ADOConnection1, kMakeMonthSumsSql, range);
    return {};
}
