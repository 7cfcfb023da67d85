#include "reports/RvProject.h"

#include <QApplication>
#include <QFileInfo>

#include "reports/BusyCursor.h"
#include "reports/ReportError.h"
#include "reports/ReportOutput.h"
#include "reports/ReportProgress.h"

namespace reports {

RvProject::RvProject(QObject* parent) : QObject(parent) {}

void RvProject::addConnection(RvDataSetConnection* connection) {
    connections_.append(connection);
}

void RvProject::setParameter(const QString& name, const QString& value) {
    parameters_.insert(name, value);
}

RvDataSetConnection* RvProject::connectionNamed(const QString& name) const {
    for (const QPointer<RvDataSetConnection>& connection : connections_) {
        if (connection != nullptr && connection->name() == name) {
            return connection;
        }
    }
    return nullptr;
}

BandRows RvProject::readRows(const ReportLayout& layout, const QString& path) const {
    BandRows rows;
    for (const Band& band : layout.bands) {
        const RvDataSetConnection* connection = connectionNamed(band.connection);
        if (connection == nullptr) {
            throw ReportError(QStringLiteral("Report project file \"%1\" names the data connection "
                                             "\"%2\", which the report was not given.")
                                  .arg(path, band.connection));
        }
        if (!connection->isReady()) {
            throw ReportError(QStringLiteral("Data connection \"%2\" of report project file \"%1\" "
                                             "has no open data set.")
                                  .arg(path, band.connection));
        }
        const QStringList fields = band.fields();
        for (const QString& field : fields) {
            if (!connection->hasField(field)) {
                throw ReportError(
                    QStringLiteral("Report project file \"%1\" names the column "
                                   "\"%2\", which data connection \"%3\" does not have.")
                        .arg(path, field, band.connection));
            }
        }
        rows.append(connection->rows(fields));
    }
    return rows;
}

void RvProject::Execute() {
    if (projectFile_.isEmpty()) {
        throw ReportError(QStringLiteral("No report project file given."));
    }
    const QString path = QFileInfo(projectFile_).absoluteFilePath();
    const QString pdfPath = qEnvironmentVariable("KAVELO_REPORT_PDF");
    ReportLayout layout;
    BandRows rows;
    {
        const BusyCursor busy;
        layout = ReadReportLayout(path);
        rows = readRows(layout, path);
    }
    ReportOutput output(layout, rows, QDateTime::currentDateTime(), parameters_);
    try {
        if (pdfPath.isEmpty()) {
            output.showPreview(QApplication::activeWindow());
            return;
        }
        const BusyCursor busy;
        ReportProgress progress(QApplication::activeWindow(), layout.title);
        output.writePdf(QFileInfo(pdfPath).absoluteFilePath(), progress);
    } catch (const ReportCancelled&) {
        // Stopped by the user, who needs no word about it.
    }
}

}  // namespace reports
