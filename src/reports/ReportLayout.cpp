#include "reports/ReportLayout.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <algorithm>

#include "reports/ReportError.h"

namespace reports {

namespace {

// A layout fault found while reading; turned into a ReportError that names the file.
struct LayoutFault {
    QString what;
};

QStringList FieldsOfTemplate(const QString& text) {
    static const QRegularExpression placeholder(QStringLiteral("\\{([A-Za-z0-9_]+)\\}"));
    QStringList fields;
    for (auto it = placeholder.globalMatch(text); it.hasNext();) {
        fields.append(it.next().captured(1));
    }
    return fields;
}

QString RequiredText(const QJsonObject& object, const QString& key, const QString& where) {
    const QJsonValue value = object.value(key);
    if (!value.isString() || value.toString().trimmed().isEmpty()) {
        throw LayoutFault{QStringLiteral("%1 has no \"%2\" text").arg(where, key)};
    }
    return value.toString();
}

double NonNegativeNumber(const QJsonObject& object, const QString& key, double fallback,
                         const QString& where) {
    const QJsonValue value = object.value(key);
    if (value.isUndefined()) {
        return fallback;
    }
    if (!value.isDouble() || value.toDouble() < 0) {
        throw LayoutFault{
            QStringLiteral("%1: \"%2\" is not a number of zero or more").arg(where, key)};
    }
    return value.toDouble();
}

Qt::Alignment ReadAlignment(const QJsonObject& object, const QString& where) {
    const QString align = object.value(QStringLiteral("align")).toString(QStringLiteral("left"));
    if (align == QLatin1String("left")) {
        return Qt::AlignLeft;
    }
    if (align == QLatin1String("center")) {
        return Qt::AlignHCenter;
    }
    if (align == QLatin1String("right")) {
        return Qt::AlignRight;
    }
    throw LayoutFault{QStringLiteral("%1: unknown alignment \"%2\"").arg(where, align)};
}

// "width": 3 is a share of the width left by the fixed columns; "width": "25mm" is fixed.
void ReadWidth(const QJsonObject& object, TableColumn& column, const QString& where) {
    const QJsonValue width = object.value(QStringLiteral("width"));
    if (width.isUndefined()) {
        return;
    }
    if (width.isDouble() && width.toDouble() > 0) {
        column.width = width.toDouble();
        return;
    }
    static const QRegularExpression millimetres(
        QStringLiteral("^\\s*([0-9]+(\\.[0-9]+)?)\\s*mm\\s*$"));
    const auto match = millimetres.match(width.toString());
    if (!width.isString() || !match.hasMatch() || match.captured(1).toDouble() <= 0) {
        throw LayoutFault{
            QStringLiteral("%1: width must be a positive share or \"<n>mm\"").arg(where)};
    }
    column.width = match.captured(1).toDouble();
    column.widthInMm = true;
}

QJsonArray RequiredArray(const QJsonObject& object, const QString& key, const QString& where) {
    const QJsonValue value = object.value(key);
    if (!value.isArray() || value.toArray().isEmpty()) {
        throw LayoutFault{QStringLiteral("%1 has no \"%2\" list").arg(where, key)};
    }
    return value.toArray();
}

void ReadTable(const QJsonObject& object, Band& band, const QString& where) {
    const QJsonArray columns = RequiredArray(object, QStringLiteral("columns"), where);
    for (int i = 0; i < columns.size(); ++i) {
        const QString columnWhere = QStringLiteral("%1, column %2").arg(where).arg(i + 1);
        const QJsonObject columnObject = columns.at(i).toObject();
        TableColumn column;
        column.field = RequiredText(columnObject, QStringLiteral("field"), columnWhere);
        column.title = columnObject.value(QStringLiteral("title")).toString(column.field);
        column.alignment = ReadAlignment(columnObject, columnWhere);
        ReadWidth(columnObject, column, columnWhere);
        band.columns.append(column);
    }
}

void ReadTotals(const QJsonObject& object, Band& band, const QString& where) {
    const QJsonArray items = RequiredArray(object, QStringLiteral("items"), where);
    for (int i = 0; i < items.size(); ++i) {
        const QString itemWhere = QStringLiteral("%1, item %2").arg(where).arg(i + 1);
        const QJsonObject itemObject = items.at(i).toObject();
        band.totals.append({itemObject.value(QStringLiteral("label")).toString(),
                            RequiredText(itemObject, QStringLiteral("field"), itemWhere)});
    }
}

void ReadRecords(const QJsonObject& object, Band& band, const QString& where) {
    band.titleField = RequiredText(object, QStringLiteral("titleField"), where);
    band.bodyField = RequiredText(object, QStringLiteral("bodyField"), where);
    band.continued =
        object.value(QStringLiteral("continued")).toString(QStringLiteral("{title} (συνέχεια)"));
}

void ReadChart(const QJsonObject& object, Band& band, const QString& where) {
    band.valueField = RequiredText(object, QStringLiteral("valueField"), where);
    band.labelTemplate = RequiredText(object, QStringLiteral("label"), where);
    band.heightMm = NonNegativeNumber(object, QStringLiteral("height"), band.heightMm, where);
    if (band.heightMm < 20) {
        throw LayoutFault{QStringLiteral("%1: a chart needs a height of 20 mm or more").arg(where)};
    }
}

Band ReadBand(const QJsonValue& value, int number) {
    const QString where = QStringLiteral("band %1").arg(number);
    if (!value.isObject()) {
        throw LayoutFault{QStringLiteral("%1 is not an object").arg(where)};
    }
    const QJsonObject object = value.toObject();
    Band band;
    band.connection = RequiredText(object, QStringLiteral("connection"), where);
    band.title = object.value(QStringLiteral("title")).toString();
    const QString type = RequiredText(object, QStringLiteral("type"), where);
    if (type == QLatin1String("table")) {
        band.kind = Band::Kind::Table;
        ReadTable(object, band, where);
    } else if (type == QLatin1String("totals")) {
        band.kind = Band::Kind::Totals;
        ReadTotals(object, band, where);
    } else if (type == QLatin1String("records")) {
        band.kind = Band::Kind::Records;
        ReadRecords(object, band, where);
    } else if (type == QLatin1String("chart")) {
        band.kind = Band::Kind::Chart;
        ReadChart(object, band, where);
    } else {
        throw LayoutFault{QStringLiteral("%1 has the unknown type \"%2\"").arg(where, type)};
    }
    return band;
}

QPageLayout ReadPage(const QJsonObject& page) {
    const QString size = page.value(QStringLiteral("size")).toString(QStringLiteral("A4"));
    if (size != QLatin1String("A4")) {
        throw LayoutFault{QStringLiteral("page size \"%1\" is not supported (only A4)").arg(size)};
    }
    const QString orientation =
        page.value(QStringLiteral("orientation")).toString(QStringLiteral("portrait"));
    if (orientation != QLatin1String("portrait") && orientation != QLatin1String("landscape")) {
        throw LayoutFault{QStringLiteral("unknown orientation \"%1\"").arg(orientation)};
    }
    const QJsonObject margins = page.value(QStringLiteral("margins")).toObject();
    const QString where = QStringLiteral("page margins");
    const QMarginsF millimetres(NonNegativeNumber(margins, QStringLiteral("left"), 15, where),
                                NonNegativeNumber(margins, QStringLiteral("top"), 15, where),
                                NonNegativeNumber(margins, QStringLiteral("right"), 15, where),
                                NonNegativeNumber(margins, QStringLiteral("bottom"), 15, where));
    return QPageLayout(
        QPageSize(QPageSize::A4),
        orientation == QLatin1String("landscape") ? QPageLayout::Landscape : QPageLayout::Portrait,
        millimetres, QPageLayout::Millimeter);
}

ReportLayout ParseLayout(const QJsonObject& root) {
    ReportLayout layout;
    layout.title = root.value(QStringLiteral("title")).toString();
    layout.subtitle = root.value(QStringLiteral("subtitle")).toString(QStringLiteral("{criteria}"));
    layout.pageLayout = ReadPage(root.value(QStringLiteral("page")).toObject());
    layout.fontPoints = NonNegativeNumber(root, QStringLiteral("fontSize"), layout.fontPoints,
                                          QStringLiteral("the layout"));
    if (layout.fontPoints < 6 || layout.fontPoints > 24) {
        throw LayoutFault{QStringLiteral("font size %1 is outside 6 to 24").arg(layout.fontPoints)};
    }
    const QJsonArray bands =
        RequiredArray(root, QStringLiteral("bands"), QStringLiteral("the layout"));
    for (int i = 0; i < bands.size(); ++i) {
        layout.bands.append(ReadBand(bands.at(i), i + 1));
    }
    const QJsonObject footer = root.value(QStringLiteral("footer")).toObject();
    layout.footerLeft = footer.value(QStringLiteral("left")).toString(QStringLiteral("{printed}"));
    layout.footerRight =
        footer.value(QStringLiteral("right")).toString(QStringLiteral("Σελίδα {page} από {pages}"));
    return layout;
}

QByteArray ReadProjectFile(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        throw ReportError(QStringLiteral("Report project file \"%1\" not found.").arg(path));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        throw ReportError(QStringLiteral("Report project file \"%1\" cannot be read: %2.")
                              .arg(path, file.errorString()));
    }
    const QByteArray bytes = file.readAll();
    if (bytes.trimmed().isEmpty()) {
        throw ReportError(QStringLiteral("Report project file \"%1\" is empty.").arg(path));
    }
    return bytes;
}

}  // namespace

QStringList Band::fields() const {
    QStringList names;
    switch (kind) {
        case Kind::Table:
            for (const TableColumn& column : columns) {
                names.append(column.field);
            }
            break;
        case Kind::Totals:
            for (const TotalsItem& item : totals) {
                names.append(item.field);
            }
            break;
        case Kind::Records:
            names = {titleField, bodyField};
            break;
        case Kind::Chart:
            names = FieldsOfTemplate(labelTemplate);
            names.append(valueField);
            break;
    }
    names.removeDuplicates();
    return names;
}

bool ReportLayout::hasRecords() const {
    return std::any_of(bands.begin(), bands.end(),
                       [](const Band& band) { return band.kind == Band::Kind::Records; });
}

ReportLayout ReadReportLayout(const QString& path) {
    return ParseReportLayout(ReadProjectFile(path), path);
}

ReportLayout ParseReportLayout(const QByteArray& bytes, const QString& path) {
    QJsonParseError parseError;
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &parseError);
    if (json.isNull()) {
        throw ReportError(
            QStringLiteral("Report project file \"%1\" is not valid JSON: %2 at offset %3.")
                .arg(path, parseError.errorString())
                .arg(parseError.offset));
    }
    if (!json.isObject()) {
        throw ReportError(
            QStringLiteral("Report project file \"%1\" is not a report layout: no layout object.")
                .arg(path));
    }
    try {
        return ParseLayout(json.object());
    } catch (const LayoutFault& fault) {
        throw ReportError(QStringLiteral("Report project file \"%1\" is not a report layout: %2.")
                              .arg(path, fault.what));
    }
}

}  // namespace reports
