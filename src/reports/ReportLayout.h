#pragma once

#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <QVector>

namespace reports {

struct TableColumn {
    QString field;
    QString title;
    double width = 1;  // a share of the free width, or millimetres
    bool widthInMm = false;
    Qt::Alignment alignment = Qt::AlignLeft;
};

struct TotalsItem {
    QString label;
    QString field;
};

// One band of a report, bound by name to one data connection.
struct Band {
    enum class Kind { Table, Totals, Records, Chart };
    Kind kind = Kind::Table;
    QString connection;
    QString title;
    QVector<TableColumn> columns;  // Table
    QVector<TotalsItem> totals;    // Totals
    QString titleField;            // Records
    QString bodyField;             // Records
    QString continued;             // Records: running title of a continued record
    QString valueField;            // Chart
    QString labelTemplate;         // Chart: "{MONTH}/{YEAR}"
    double heightMm = 70;          // Chart

    // The fields the band reads, each once, in a fixed order.
    QStringList fields() const;
};

// A report as its project file describes it.
struct ReportLayout {
    QString title;
    // The line under the title; by default what the window searched.
    QString subtitle;
    QPageLayout pageLayout;
    double fontPoints = 10;
    QVector<Band> bands;
    QString footerLeft;
    QString footerRight;

    bool hasRecords() const;
};

// Reads and checks the project file at path; throws ReportError naming path.
ReportLayout ReadReportLayout(const QString& path);

// Checks the contents of the project file at path; throws ReportError naming
// path when they are not a report layout.
ReportLayout ParseReportLayout(const QByteArray& bytes, const QString& path);

}  // namespace reports
