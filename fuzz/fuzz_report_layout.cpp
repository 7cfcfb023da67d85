// The report project files beside data.mdb, which a user may edit. Any
// content is refused with a ReportError that names the file, or gives a
// layout that keeps every rule the reader promises: A4, a font of 6 to 24
// points, margins of zero or more, at least one band, each band with its
// connection and the fields of its kind.
#include <algorithm>

#include "FuzzSupport.h"
#include "reports/ReportError.h"
#include "reports/ReportLayout.h"

namespace {

const QString kFuzzedPath = QStringLiteral("/data/FUZZED.RAV");

bool HasText(const QString& text) {
    return !text.trimmed().isEmpty();
}

bool BandKeepsItsRules(const reports::Band& band) {
    if (!HasText(band.connection)) {
        return false;
    }
    switch (band.kind) {
        case reports::Band::Kind::Table:
            return !band.columns.isEmpty() && std::all_of(band.columns.begin(), band.columns.end(),
                                                          [](const reports::TableColumn& column) {
                                                              return HasText(column.field) &&
                                                                     column.width > 0;
                                                          });
        case reports::Band::Kind::Totals:
            return !band.totals.isEmpty() &&
                   std::all_of(band.totals.begin(), band.totals.end(),
                               [](const reports::TotalsItem& item) { return HasText(item.field); });
        case reports::Band::Kind::Records:
            return HasText(band.titleField) && HasText(band.bodyField);
        case reports::Band::Kind::Chart:
            return HasText(band.valueField) && HasText(band.labelTemplate) && band.heightMm >= 20;
    }
    return false;
}

void CheckLayout(const reports::ReportLayout& layout, const QString& text) {
    Require(layout.pageLayout.isValid() && layout.pageLayout.pageSize().id() == QPageSize::A4,
            "a layout is on A4", text);
    const QMarginsF margins = layout.pageLayout.margins(QPageLayout::Millimeter);
    Require(
        margins.left() >= 0 && margins.top() >= 0 && margins.right() >= 0 && margins.bottom() >= 0,
        "margins are zero or more", text);
    Require(layout.fontPoints >= 6 && layout.fontPoints <= 24, "the font is 6 to 24 points", text,
            QString::number(layout.fontPoints));
    Require(!layout.bands.isEmpty(), "a layout has bands", text);
    for (const reports::Band& band : layout.bands) {
        Require(BandKeepsItsRules(band), "every band has what its kind needs", text,
                band.connection);
        QStringList fields = band.fields();
        Require(!fields.isEmpty() && fields.removeDuplicates() == 0,
                "a band reads its fields once each", text, fields.join(u','));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = QString::fromUtf8(bytes);
    try {
        CheckLayout(reports::ParseReportLayout(bytes, kFuzzedPath), text);
    } catch (const reports::ReportError& error) {
        Require(error.message().contains(kFuzzedPath), "a refusal names the file", text,
                error.message());
    } catch (...) {
        Require(false, "a layout is refused only with the documented error", text);
    }
    return 0;
}
