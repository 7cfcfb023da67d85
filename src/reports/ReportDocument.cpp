#include "reports/ReportDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QLocale>
#include <QPaintDevice>
#include <QTextBlock>
#include <QTextTable>
#include <algorithm>

// The resolution that text document lengths are given in (exported by Qt GUI).
Q_GUI_EXPORT int qt_defaultDpiY();

namespace reports {

namespace {

const QString kFontFamily = QStringLiteral("DejaVu Sans");
const QColor kHeaderShade(225, 225, 225);
const QColor kRowShade(245, 245, 245);

QTextCharFormat TextFormat(double points, bool bold = false) {
    QTextCharFormat format;
    format.setFontFamilies({kFontFamily});
    format.setFontPointSize(points);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    return format;
}

QTextBlockFormat AlignedBlock(Qt::Alignment alignment) {
    QTextBlockFormat format;
    format.setAlignment(alignment);
    return format;
}

// Each body line of a record is a paragraph of its own; Windows line ends included.
QStringList Paragraphs(QString body) {
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return body.split(QLatin1Char('\n'));
}

QString FillTemplate(QString text, const QStringList& fields, const QStringList& row) {
    for (int i = 0; i < fields.size(); ++i) {
        text.replace(QLatin1Char('{') + fields[i] + QLatin1Char('}'), row.value(i));
    }
    return text;
}

// Amounts arrive formatted the Greek way ("1234,50"); an empty one counts as nothing.
double Amount(const QString& text) {
    bool ok = false;
    const double value = QLocale(QLocale::Greek, QLocale::Greece).toDouble(text.trimmed(), &ok);
    return ok ? value : 0;
}

}  // namespace

ReportDocument::ReportDocument(const ReportLayout& layout, const BandRows& rows,
                               QPaintDevice* device, const QSizeF& pageSize)
    : cursor_(&document_),
      unitsPerMm_(qt_defaultDpiY() / 25.4),
      dotsPerMm_(device->logicalDpiX() / 25.4),
      width_(pageSize.width()),
      fontPoints_(layout.fontPoints) {
    QFont font(kFontFamily);
    font.setPointSizeF(fontPoints_);
    document_.setDefaultFont(font);
    document_.setDocumentMargin(0);
    QTextOption option = document_.defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document_.setDefaultTextOption(option);

    // Content goes in before the layout exists: a live layout would lay the
    // whole document out again at every insertion.
    addHeading(layout.title, fontPoints_ * 1.6, 0);
    for (int i = 0; i < layout.bands.size(); ++i) {
        const Band& band = layout.bands[i];
        switch (band.kind) {
            case Band::Kind::Table:
                addTable(band, rows.value(i));
                break;
            case Band::Kind::Totals:
                addTotals(band, rows.value(i));
                break;
            case Band::Kind::Records:
                addRecords(band, rows.value(i));
                break;
            case Band::Kind::Chart:
                addChart(band, rows.value(i));
                break;
        }
    }
    document_.documentLayout()->setPaintDevice(device);
    document_.documentLayout()->registerHandler(BarChart::kObjectType, &chart_);
    document_.setPageSize(pageSize);
}

void ReportDocument::addHeading(const QString& text, double points, double spaceBeforeMm) {
    if (text.isEmpty()) {
        return;
    }
    QTextBlockFormat block;
    block.setTopMargin(mm(spaceBeforeMm));
    block.setBottomMargin(mm(3));
    if (cursor_.position() == 0 && cursor_.block().text().isEmpty()) {
        cursor_.setBlockFormat(block);
        cursor_.setCharFormat(TextFormat(points, true));
    } else {
        cursor_.insertBlock(block, TextFormat(points, true));
    }
    cursor_.insertText(text, TextFormat(points, true));
}

void ReportDocument::addTable(const Band& band, const QVector<QStringList>& rows) {
    addHeading(band.title, fontPoints_ * 1.2, 2);
    const QStringList fields = band.fields();
    double fixedMm = 0;
    double shares = 0;
    for (const TableColumn& column : band.columns) {
        (column.widthInMm ? fixedMm : shares) += column.width;
    }
    // Fixed columns take their millimetres, the shares split what is left;
    // percentages of the page width keep the table inside the right margin.
    const double widthMm = width_ / dotsPerMm_;
    const double freeMm = std::max(widthMm - fixedMm, 0.0);
    QVector<QTextLength> widths;
    for (const TableColumn& column : band.columns) {
        const double columnMm = column.widthInMm ? column.width : freeMm * column.width / shares;
        widths.append(QTextLength(QTextLength::PercentageLength,
                                  100 * columnMm / std::max(widthMm, fixedMm + freeMm)));
    }
    QTextTableFormat format;
    format.setHeaderRowCount(1);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setColumnWidthConstraints(widths);
    format.setBorder(mm(0.2));
    format.setBorderBrush(kRuleColour);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(mm(1));
    format.setTopMargin(mm(2));
    cursor_.movePosition(QTextCursor::End);
    QTextTable* table = cursor_.insertTable(int(rows.size()) + 1, int(band.columns.size()), format);
    for (int c = 0; c < band.columns.size(); ++c) {
        QTextTableCell cell = table->cellAt(0, c);
        QTextCharFormat shade = cell.format();
        shade.setBackground(kHeaderShade);
        cell.setFormat(shade);
        QTextCursor cellCursor = cell.firstCursorPosition();
        cellCursor.setBlockFormat(AlignedBlock(Qt::AlignHCenter));
        cellCursor.insertText(band.columns[c].title, TextFormat(fontPoints_, true));
    }
    const QTextCharFormat text = TextFormat(fontPoints_);
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < band.columns.size(); ++c) {
            QTextTableCell cell = table->cellAt(r + 1, c);
            if (r % 2 == 1) {
                QTextCharFormat shade = cell.format();
                shade.setBackground(kRowShade);
                cell.setFormat(shade);
            }
            QTextCursor cellCursor = cell.firstCursorPosition();
            cellCursor.setBlockFormat(AlignedBlock(band.columns[c].alignment));
            cellCursor.insertText(rows[r].value(fields.indexOf(band.columns[c].field)), text);
        }
    }
    cursor_.movePosition(QTextCursor::End);
}

void ReportDocument::addTotals(const Band& band, const QVector<QStringList>& rows) {
    addHeading(band.title, fontPoints_ * 1.2, 5);
    const QStringList fields = band.fields();
    const QStringList row = rows.value(0);
    QTextTableFormat format;
    format.setWidth(
        QTextLength(QTextLength::FixedLength, mm(std::min(110.0, width_ / dotsPerMm_))));
    format.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 60),
                                      QTextLength(QTextLength::PercentageLength, 40)});
    format.setBorder(0);
    format.setCellSpacing(0);
    format.setCellPadding(mm(1));
    cursor_.movePosition(QTextCursor::End);
    QTextTable* table = cursor_.insertTable(int(band.totals.size()), 2, format);
    for (int i = 0; i < band.totals.size(); ++i) {
        QTextCursor label = table->cellAt(i, 0).firstCursorPosition();
        label.insertText(band.totals[i].label, TextFormat(fontPoints_, true));
        QTextCursor value = table->cellAt(i, 1).firstCursorPosition();
        value.setBlockFormat(AlignedBlock(Qt::AlignRight));
        value.insertText(row.value(fields.indexOf(band.totals[i].field)),
                         TextFormat(fontPoints_, true));
    }
    cursor_.movePosition(QTextCursor::End);
}

void ReportDocument::addRecords(const Band& band, const QVector<QStringList>& rows) {
    addHeading(band.title, fontPoints_ * 1.2, 2);
    const QStringList fields = band.fields();
    const int titleIndex = fields.indexOf(band.titleField);
    const int bodyIndex = fields.indexOf(band.bodyField);
    QTextBlockFormat titleBlock;
    titleBlock.setTopMargin(mm(5));
    titleBlock.setBottomMargin(mm(1.5));
    QTextBlockFormat bodyBlock;
    bodyBlock.setBottomMargin(mm(1));
    const QTextCharFormat titleText = TextFormat(fontPoints_ * 1.2, true);
    const QTextCharFormat bodyText = TextFormat(fontPoints_);
    for (const QStringList& row : rows) {
        RecordSpan span;
        const QString title = row.value(titleIndex);
        span.runningTitle = QString(band.continued).replace(QLatin1String("{title}"), title);
        if (cursor_.position() == 0) {
            cursor_.setBlockFormat(titleBlock);
        } else {
            cursor_.insertBlock(titleBlock, titleText);
        }
        span.titleBlock = cursor_.blockNumber();
        cursor_.insertText(title, titleText);
        for (const QString& paragraph : Paragraphs(row.value(bodyIndex))) {
            cursor_.insertBlock(bodyBlock, bodyText);
            cursor_.insertText(paragraph, bodyText);
        }
        span.lastBlock = cursor_.blockNumber();
        records_.append(span);
    }
}

void ReportDocument::addChart(const Band& band, const QVector<QStringList>& rows) {
    // A chart without bars would only be an empty frame.
    if (rows.isEmpty()) {
        return;
    }
    addHeading(band.title, fontPoints_ * 1.2, 2);
    const QStringList fields = band.fields();
    const int valueIndex = fields.indexOf(band.valueField);
    QStringList labels;
    QVector<double> values;
    for (const QStringList& row : rows) {
        labels.append(FillTemplate(band.labelTemplate, fields, row));
        values.append(Amount(row.value(valueIndex)));
    }
    QTextBlockFormat block = AlignedBlock(Qt::AlignLeft);
    block.setBottomMargin(mm(4));
    cursor_.insertBlock(block);
    cursor_.insertText(QString(QChar::ObjectReplacementCharacter),
                       BarChart::Format(labels, values, QSizeF(width_, dots(band.heightMm))));
}

void ReportDocument::locateRecords() {
    QAbstractTextDocumentLayout* layout = document_.documentLayout();
    const double toDots = dotsPerMm_ / unitsPerMm_;
    for (RecordSpan& span : records_) {
        const QTextBlock title = document_.findBlockByNumber(span.titleBlock);
        const QTextBlock last = document_.findBlockByNumber(span.lastBlock);
        span.top =
            layout->blockBoundingRect(title).top() + title.blockFormat().topMargin() * toDots;
        span.bottom =
            layout->blockBoundingRect(last).bottom() - last.blockFormat().bottomMargin() * toDots;
    }
    recordsLocated_ = true;
}

QString ReportDocument::continuedTitle(int page) {
    if (page == 0 || records_.isEmpty()) {
        return {};
    }
    if (!recordsLocated_) {
        locateRecords();
    }
    const double pageTop = page * document_.pageSize().height();
    // The last record that starts above the page, if it reaches into it.
    const auto after =
        std::upper_bound(records_.begin(), records_.end(), pageTop,
                         [](double top, const RecordSpan& span) { return top < span.top; });
    if (after == records_.begin()) {
        return {};
    }
    const RecordSpan& span = *(after - 1);
    return span.bottom > pageTop + dots(1) ? span.runningTitle : QString();
}

}  // namespace reports
