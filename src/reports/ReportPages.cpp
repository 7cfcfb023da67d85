#include "reports/ReportPages.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>
#include <algorithm>

#include "reports/BarChart.h"
#include "reports/TextWidths.h"

namespace reports {

namespace {

const QColor kHeaderShade(225, 225, 225);
const QColor kRowShade(245, 245, 245);
// The room between a cell's text and its rules, beside it and above and below.
constexpr double kCellSideMm = 1;
constexpr double kCellTopMm = 0.5;
// A text is taken to fit by the sum of its advances only with this share of
// the room to spare, for the rare kerned pair that widens it.
constexpr double kSureFit = 0.99;
// Beyond this share of the room, a text is too long to be worth shaping whole
// just to find that it does not fit.
constexpr double kCannotFit = 1.1;

// Each line of a text is a paragraph of its own, Windows line ends included;
// a tab takes the room of four blanks, as wide in the layout as on paper.
QStringList Paragraphs(QString text) {
    // Most cells are one plain line: handed on as they are, without a copy.
    const auto breaks = [](QChar c) { return c == u'\r' || c == u'\n' || c == u'\t'; };
    if (std::none_of(text.cbegin(), text.cend(), breaks)) {
        return {text};
    }
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\t'), QLatin1String("    "));
    return text.split(QLatin1Char('\n'));
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

double AlignedLeft(Qt::Alignment alignment, double left, double width, double ink) {
    if (alignment & Qt::AlignRight) {
        return left + width - ink;
    }
    if (alignment & Qt::AlignHCenter) {
        return left + (width - ink) / 2;
    }
    return left;
}

}  // namespace

QFont ReportFont(double points, int dpi, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(1, qRound(points * dpi / 72)));
    font.setBold(bold);
    return font;
}

// Walks the bands once, top to bottom, and drops every piece on the page it
// falls on; a page ends where the next row, line or block no longer fits.
class PageBuilder {
public:
    PageBuilder(ReportPages& report, QPaintDevice* device, const QSizeF& body, double points,
                const ReportPages::Progress& progress)
        : report_(report),
          device_(device),
          width_(body.width()),
          height_(body.height()),
          dotsPerMm_(device->logicalDpiY() / 25.4),
          progress_(progress) {
        const double scale[] = {1, 1, 1.6, 1.2, 1.2, 0.8};
        for (int role = 0; role < int(FontRole::Count); ++role) {
            const QFont font =
                ReportFont(points * scale[role], device->logicalDpiY(),
                           FontRole(role) != FontRole::Body && FontRole(role) != FontRole::Chart);
            report_.fonts_[role] = font;
            widths_.append(TextWidths(QFontMetricsF(font, device)));
        }
        report_.ruleWidth_ = mm(0.2);
        report_.pages_.append(ReportPages::Page());
    }

    void placeHeading(const QString& text, FontRole role, double spaceBeforeMm,
                      double keepWithNext);
    void placeTable(const Band& band, const QVector<QStringList>& rows);
    void placeTotals(const Band& band, const QVector<QStringList>& rows);
    void placeRecords(const Band& band, const QVector<QStringList>& rows);
    void placeChart(const Band& band, const QVector<QStringList>& rows);

private:
    // One line of a wrapped text and the width of its ink.
    struct Line {
        QString text;
        double width = 0;
        int layout = -1;
        int line = 0;
    };
    // A table row or totals line laid out in its cells: each cell's lines.
    struct Row {
        QVector<QVector<Line>> cells;
        int lines = 1;
    };
    struct Column {
        double left = 0;
        double width = 0;
        Qt::Alignment alignment;
        int field = 0;
    };

    double mm(double millimetres) const { return millimetres * dotsPerMm_; }
    const QFontMetricsF& metrics(FontRole role) const { return widths_[int(role)].metrics(); }
    double spacing(FontRole role) const { return metrics(role).lineSpacing(); }
    double room() const { return height_ - y_; }
    bool atPageTop() const { return y_ <= 0; }
    ReportPages::Page& page() { return report_.pages_.last(); }

    void newPage();
    void needRoom(double height);
    void skip(double millimetres);
    QVector<Line> wrap(const QString& text, FontRole role, double width,
                       Qt::Alignment alignment = Qt::AlignLeft);
    void wrapParagraph(const QString& paragraph, FontRole role, double width,
                       Qt::Alignment alignment, QVector<Line>& lines);
    void breakAtBlanks(const QString& paragraph, TextWidths& widths, double width,
                       QVector<Line>& lines);
    void addLine(const Line& line, FontRole role, double left, double width,
                 Qt::Alignment alignment, double top);

    QVector<Column> tableColumns(const Band& band) const;
    Row layOutRow(const QVector<Column>& columns, const QStringList& texts, FontRole role);
    double rowHeight(int lines) const {
        return lines * spacing(FontRole::Body) + 2 * mm(kCellTopMm);
    }
    void placeCells(const QVector<Column>& columns, const Row& row, FontRole role,
                    const QColor& shade, int first, int count);
    void placeTableRow(const Row& row, const QColor& shade);
    void startTableOnPage();
    void closeTableOnPage();

    ReportPages& report_;
    QPaintDevice* device_;
    QVector<TextWidths> widths_;
    double width_;
    double height_;
    double dotsPerMm_;
    ReportPages::Progress progress_;
    double y_ = 0;
    // The table being placed: its columns, its header and where its part
    // on the current page begins.
    QVector<Column> columns_;
    QVector<Column> headerColumns_;
    Row header_;
    double tableTop_ = 0;
    double headerBottom_ = 0;
    int rowsPlaced_ = 0;
};

void PageBuilder::newPage() {
    if (progress_) {
        progress_(rowsPlaced_, report_.count());
    }
    report_.pages_.append(ReportPages::Page());
    y_ = 0;
}

// What does not fit on the rest of the page starts the next one, unless the
// page is still empty: a block taller than a page is then cut where it must be.
void PageBuilder::needRoom(double height) {
    if (height > room() && !atPageTop()) {
        newPage();
    }
}

// Space between blocks is left out at the top of a page.
void PageBuilder::skip(double millimetres) {
    if (!atPageTop()) {
        y_ += mm(millimetres);
    }
}

void PageBuilder::wrapParagraph(const QString& paragraph, FontRole role, double width,
                                Qt::Alignment alignment, QVector<Line>& lines) {
    // Most texts fit on one line: measured by their characters, they need no
    // shaping and no line breaking; a text at the left needs no exact width.
    TextWidths& widths = widths_[int(role)];
    const double sum = widths.advanceSum(paragraph);
    if (sum >= 0 && sum <= width * kSureFit) {
        lines.append({paragraph, alignment & Qt::AlignLeft ? sum : widths.width(paragraph, sum)});
        return;
    }
    if (sum < 0 || sum <= width * kCannotFit) {
        const double ink = metrics(role).horizontalAdvance(paragraph);
        if (ink <= width) {
            lines.append({paragraph, ink});
            return;
        }
    }
    if (sum >= 0 && (alignment & Qt::AlignLeft)) {
        breakAtBlanks(paragraph, widths, width, lines);
        return;
    }
    // A paragraph broken into lines keeps its layout: its lines are drawn
    // from the glyphs shaped here.
    auto layout = std::make_unique<QTextLayout>(paragraph, report_.fonts_[int(role)], device_);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(width);
        lines.append(
            {QString(), line.naturalTextWidth(), int(report_.layouts_.size()), line.lineNumber()});
    }
    layout->endLayout();
    report_.layouts_.push_back(std::move(layout));
}

// Breaks a paragraph whose characters can be summed at its blanks, each line
// as long as fits, by the sums of their advances: it is shaped only once, when
// its lines are printed. A word longer than a line is cut where it must be.
void PageBuilder::breakAtBlanks(const QString& paragraph, TextWidths& widths, double width,
                                QVector<Line>& lines) {
    const double room = width * kSureFit;
    for (qsizetype start = 0; start < paragraph.size();) {
        double used = 0;
        double beforeBlank = 0;
        qsizetype blank = -1;
        qsizetype end = start;
        for (; end < paragraph.size(); ++end) {
            if (paragraph[end] == u' ') {
                blank = end;
                beforeBlank = used;
            }
            const double advance = widths.advanceOf(paragraph[end]);
            if (used + advance > room && end > start) {
                break;
            }
            used += advance;
        }
        if (end < paragraph.size() && blank > start) {
            end = blank;
            used = beforeBlank;
        }
        lines.append({paragraph.mid(start, end - start), used});
        for (start = end; start < paragraph.size() && paragraph[start] == u' ';) {
            ++start;
        }
    }
}

QVector<PageBuilder::Line> PageBuilder::wrap(const QString& text, FontRole role, double width,
                                             Qt::Alignment alignment) {
    QVector<Line> lines;
    for (const QString& paragraph : Paragraphs(text)) {
        wrapParagraph(paragraph, role, width, alignment, lines);
    }
    return lines;
}

void PageBuilder::addLine(const Line& line, FontRole role, double left, double width,
                          Qt::Alignment alignment, double top) {
    if (line.text.isEmpty() && line.layout < 0) {
        return;
    }
    page().texts.append(
        {QPointF(AlignedLeft(alignment, left, width, line.width), top + metrics(role).ascent()),
         line.text, role, line.layout, line.line});
}

void PageBuilder::placeHeading(const QString& text, FontRole role, double spaceBeforeMm,
                               double keepWithNext) {
    if (text.isEmpty()) {
        return;
    }
    const QVector<Line> lines = wrap(text, role, width_);
    const double height = lines.size() * spacing(role);
    // A heading never stays alone at the foot of a page.
    needRoom(mm(spaceBeforeMm) + height + mm(3) + std::min(keepWithNext, height_ / 2));
    skip(spaceBeforeMm);
    for (const Line& line : lines) {
        addLine(line, role, 0, width_, Qt::AlignLeft, y_);
        y_ += spacing(role);
    }
    y_ += mm(3);
}

// Fixed columns take their millimetres, the shares split what is left.
QVector<PageBuilder::Column> PageBuilder::tableColumns(const Band& band) const {
    const QStringList fields = band.fields();
    double fixed = 0;
    double shares = 0;
    for (const TableColumn& column : band.columns) {
        column.widthInMm ? fixed += mm(column.width) : shares += column.width;
    }
    const double free = std::max(width_ - fixed, 0.0);
    // Fixed columns wider than the page are narrowed together to fit it.
    const double squeeze = fixed > width_ ? width_ / fixed : 1;
    QVector<Column> columns;
    double left = 0;
    for (const TableColumn& column : band.columns) {
        const double width = column.widthInMm ? mm(column.width) * squeeze
                                              : free * column.width / std::max(shares, 1e-9);
        columns.append({left, width, column.alignment, int(fields.indexOf(column.field))});
        left += width;
    }
    return columns;
}

PageBuilder::Row PageBuilder::layOutRow(const QVector<Column>& columns, const QStringList& texts,
                                        FontRole role) {
    Row row;
    row.cells.reserve(columns.size());
    for (int c = 0; c < columns.size(); ++c) {
        row.cells.append(wrap(texts.value(c), role,
                              std::max(columns[c].width - 2 * mm(kCellSideMm), 1.0),
                              columns[c].alignment));
        row.lines = std::max(row.lines, int(row.cells.last().size()));
    }
    return row;
}

void PageBuilder::placeCells(const QVector<Column>& columns, const Row& row, FontRole role,
                             const QColor& shade, int first, int count) {
    const double height = rowHeight(count);
    if (shade.isValid()) {
        page().shades.append(
            {QRectF(0, y_, columns.last().left + columns.last().width, height), shade});
    }
    for (int c = 0; c < columns.size(); ++c) {
        const QVector<Line>& lines = row.cells[c];
        const double inner = columns[c].width - 2 * mm(kCellSideMm);
        for (int l = first; l < std::min(first + count, int(lines.size())); ++l) {
            addLine(lines[l], role, columns[c].left + mm(kCellSideMm), inner, columns[c].alignment,
                    y_ + mm(kCellTopMm) + (l - first) * spacing(role));
        }
    }
    y_ += height;
}

// A row stays whole on one page; only a row taller than a page is cut, and
// then between its lines, under the repeated header.
void PageBuilder::placeTableRow(const Row& row, const QColor& shade) {
    const double height = rowHeight(row.lines);
    const bool pageHasRows = y_ > headerBottom_;
    if (height > room() && (pageHasRows || height <= height_ - rowHeight(header_.lines))) {
        closeTableOnPage();
        newPage();
        startTableOnPage();
    }
    for (int first = 0;;) {
        const int fit = std::max(1, int((room() - 2 * mm(kCellTopMm)) / spacing(FontRole::Body)));
        const int count = std::min(row.lines - first, fit);
        placeCells(columns_, row, FontRole::Body, shade, first, count);
        page().rules.append(QLineF(0, y_, columns_.last().left + columns_.last().width, y_));
        first += count;
        if (first >= row.lines) {
            return;
        }
        closeTableOnPage();
        newPage();
        startTableOnPage();
    }
}

void PageBuilder::startTableOnPage() {
    tableTop_ = y_;
    const double width = columns_.last().left + columns_.last().width;
    page().rules.append(QLineF(0, y_, width, y_));
    placeCells(headerColumns_, header_, FontRole::Bold, kHeaderShade, 0, header_.lines);
    page().rules.append(QLineF(0, y_, width, y_));
    headerBottom_ = y_;
}

void PageBuilder::closeTableOnPage() {
    page().rules.append(QLineF(0, tableTop_, 0, y_));
    for (const Column& column : columns_) {
        const double right = column.left + column.width;
        page().rules.append(QLineF(right, tableTop_, right, y_));
    }
}

void PageBuilder::placeTable(const Band& band, const QVector<QStringList>& rows) {
    columns_ = tableColumns(band);
    headerColumns_ = columns_;
    QStringList titles;
    for (int c = 0; c < band.columns.size(); ++c) {
        titles.append(band.columns[c].title);
        headerColumns_[c].alignment = Qt::AlignHCenter;
    }
    header_ = layOutRow(headerColumns_, titles, FontRole::Bold);
    const double top = mm(2) + rowHeight(header_.lines) + (rows.isEmpty() ? 0 : rowHeight(1));
    placeHeading(band.title, FontRole::Heading, 2, top);
    needRoom(top);
    skip(2);
    startTableOnPage();
    for (int r = 0; r < rows.size(); ++r) {
        QStringList texts;
        texts.reserve(columns_.size());
        for (const Column& column : columns_) {
            texts.append(rows[r].value(column.field));
        }
        placeTableRow(layOutRow(columns_, texts, FontRole::Body),
                      r % 2 == 1 ? kRowShade : QColor());
        ++rowsPlaced_;
    }
    closeTableOnPage();
}

void PageBuilder::placeTotals(const Band& band, const QVector<QStringList>& rows) {
    const QStringList fields = band.fields();
    const QStringList row = rows.value(0);
    const double width = std::min(mm(110), width_);
    const QVector<Column> columns = {{0, width * 0.6, Qt::AlignLeft, 0},
                                     {width * 0.6, width * 0.4, Qt::AlignRight, 1}};
    QVector<Row> lines;
    double height = 0;
    for (const TotalsItem& item : band.totals) {
        lines.append(layOutRow(columns, {item.label, row.value(fields.indexOf(item.field))},
                               FontRole::Bold));
        height += rowHeight(lines.last().lines);
    }
    placeHeading(band.title, FontRole::Heading, 5, height);
    // The totals stay together when they fit on a page.
    needRoom(height);
    for (const Row& line : lines) {
        needRoom(rowHeight(line.lines));
        placeCells(columns, line, FontRole::Bold, QColor(), 0, line.lines);
    }
    ++rowsPlaced_;
}

void PageBuilder::placeRecords(const Band& band, const QVector<QStringList>& rows) {
    const QStringList fields = band.fields();
    const int titleIndex = int(fields.indexOf(band.titleField));
    const int bodyIndex = int(fields.indexOf(band.bodyField));
    const double bodyLine = spacing(FontRole::Body);
    placeHeading(band.title, FontRole::Heading, 2, spacing(FontRole::RecordTitle) + bodyLine);
    for (const QStringList& row : rows) {
        const QString title = row.value(titleIndex);
        const QVector<Line> titleLines = wrap(title, FontRole::RecordTitle, width_);
        const double titleHeight = titleLines.size() * spacing(FontRole::RecordTitle);
        // The title stays with the first line of its body.
        needRoom(mm(5) + titleHeight + mm(1.5) + bodyLine);
        skip(5);
        for (const Line& line : titleLines) {
            addLine(line, FontRole::RecordTitle, 0, width_, Qt::AlignLeft, y_);
            y_ += spacing(FontRole::RecordTitle);
        }
        y_ += mm(1.5);
        const QString running = QString(band.continued).replace(QLatin1String("{title}"), title);
        for (const QString& paragraph : Paragraphs(row.value(bodyIndex))) {
            QVector<Line> lines;
            wrapParagraph(paragraph, FontRole::Body, width_, Qt::AlignLeft, lines);
            for (const Line& line : lines) {
                if (bodyLine > room()) {
                    newPage();
                    page().runningTitle = running;
                }
                addLine(line, FontRole::Body, 0, width_, Qt::AlignLeft, y_);
                y_ += bodyLine;
            }
            y_ += mm(1);
        }
        ++rowsPlaced_;
    }
}

void PageBuilder::placeChart(const Band& band, const QVector<QStringList>& rows) {
    // A chart without bars would only be an empty frame.
    if (rows.isEmpty()) {
        return;
    }
    const QStringList fields = band.fields();
    const int valueIndex = int(fields.indexOf(band.valueField));
    ReportPages::ChartPiece chart;
    for (const QStringList& row : rows) {
        chart.labels.append(FillTemplate(band.labelTemplate, fields, row));
        chart.values.append(Amount(row.value(valueIndex)));
    }
    const double height = std::min(mm(band.heightMm), height_);
    placeHeading(band.title, FontRole::Heading, 2, height);
    needRoom(height);
    chart.area = QRectF(0, y_, width_, height);
    page().charts.append(chart);
    y_ += height + mm(4);
}

ReportPages::ReportPages(const ReportLayout& layout, const BandRows& rows, const QString& title,
                         const QString& subtitle, QPaintDevice* device, const QSizeF& bodySize,
                         const Progress& progress) {
    PageBuilder builder(*this, device, bodySize, layout.fontPoints, progress);
    builder.placeHeading(title, FontRole::Title, 0, 0);
    builder.placeHeading(subtitle, FontRole::Body, 0, 0);
    for (int i = 0; i < layout.bands.size(); ++i) {
        const Band& band = layout.bands[i];
        switch (band.kind) {
            case Band::Kind::Table:
                builder.placeTable(band, rows.value(i));
                break;
            case Band::Kind::Totals:
                builder.placeTotals(band, rows.value(i));
                break;
            case Band::Kind::Records:
                builder.placeRecords(band, rows.value(i));
                break;
            case Band::Kind::Chart:
                builder.placeChart(band, rows.value(i));
                break;
        }
    }
}

ReportPages::~ReportPages() = default;

int ReportPages::RowCount(const BandRows& rows) {
    int count = 0;
    for (const QVector<QStringList>& band : rows) {
        count += int(band.size());
    }
    return count;
}

void ReportPages::paintBody(QPainter& painter, int index) const {
    const Page& page = pages_[index];
    // Shades of one colour and all the rules go out as one path each: a PDF
    // then holds one fill and one stroke per page instead of one per row.
    painter.setPen(Qt::NoPen);
    for (int first = 0; first < page.shades.size();) {
        QPainterPath shaded;
        const QColor colour = page.shades[first].colour;
        for (; first < page.shades.size() && page.shades[first].colour == colour; ++first) {
            shaded.addRect(page.shades[first].area);
        }
        painter.fillPath(shaded, colour);
    }
    QPainterPath rules;
    for (const QLineF& rule : page.rules) {
        rules.moveTo(rule.p1());
        rules.lineTo(rule.p2());
    }
    painter.strokePath(rules, QPen(kRuleColour, ruleWidth_));
    painter.setPen(Qt::black);
    int current = -1;
    for (const TextPiece& piece : page.texts) {
        if (piece.layout >= 0) {
            const QTextLine line = layouts_[piece.layout]->lineAt(piece.line);
            line.draw(&painter, piece.baseline - QPointF(line.x(), line.ascent()));
            continue;
        }
        if (int(piece.font) != current) {
            current = int(piece.font);
            painter.setFont(fonts_[current]);
        }
        painter.drawText(piece.baseline, piece.text);
    }
    for (const ChartPiece& chart : page.charts) {
        PaintBarChart(painter, chart.area, chart.labels, chart.values,
                      fonts_[int(FontRole::Chart)]);
    }
}

}  // namespace reports
