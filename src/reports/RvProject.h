#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include "reports/ReportPages.h"
#include "reports/RvDataSetConnection.h"

namespace reports {

// A report project: the layout in ProjectFile, filled with the rows of the
// data connections its bands name. Execute reads the file anew each time,
// reads every row it needs, and shows Qt's print preview; when the
// environment variable KAVELO_REPORT_PDF names a file it writes the PDF
// there instead. Failures throw ReportError; a run the user stops ends
// quietly.
class RvProject : public QObject {
    Q_OBJECT

public:
    explicit RvProject(QObject* parent = nullptr);

    void setProjectFile(const QString& path) { projectFile_ = path; }
    const QString& ProjectFile() const { return projectFile_; }

    // The bands find a connection by its name (objectName).
    void addConnection(RvDataSetConnection* connection);
    // A value the layout's texts show where they hold {name}; "criteria"
    // says what the printed rows were searched by, and is empty until set.
    void setParameter(const QString& name, const QString& value);

    void Execute();

private:
    RvDataSetConnection* connectionNamed(const QString& name) const;
    BandRows readRows(const ReportLayout& layout, const QString& path) const;

    QString projectFile_;
    QHash<QString, QString> parameters_{{QStringLiteral("criteria"), QString()}};
    QList<QPointer<RvDataSetConnection>> connections_;
};

}  // namespace reports
