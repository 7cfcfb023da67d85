#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include "reports/ReportDocument.h"
#include "reports/RvDataSetConnection.h"

namespace reports {

// A report project: the layout in ProjectFile, filled with the rows of the
// data connections its bands name. Execute reads the file anew each time,
// reads every row it needs, and shows Qt's print preview; when the
// environment variable KAVELO_REPORT_PDF names a file it writes the PDF
// there instead. Failures throw ReportError.
class RvProject : public QObject {
    Q_OBJECT

public:
    explicit RvProject(QObject* parent = nullptr);

    void setProjectFile(const QString& path) { projectFile_ = path; }
    const QString& ProjectFile() const { return projectFile_; }

    // The bands find a connection by its name (objectName).
    void addConnection(RvDataSetConnection* connection);

    void Execute();

private:
    RvDataSetConnection* connectionNamed(const QString& name) const;
    BandRows readRows(const ReportLayout& layout, const QString& path) const;

    QString projectFile_;
    QList<QPointer<RvDataSetConnection>> connections_;
};

}  // namespace reports
