#include "notebook/Unit7.h"

#include <QDir>
#include <QRegularExpression>

#include "core/AppGlobals.h"
#include "store/DatabaseError.h"
#include "ui_Unit7.h"
#include "widgets/ErrorGuard.h"
#include "widgets/ModalLoop.h"
#include "widgets/WindowStyle.h"

namespace {

// The note's number as the statement's bound value; a text that is not a
// whole number never reaches the statement.
qint64 NoteNumber(const QString& noteId) {
    if (noteId.isEmpty()) {
        throw store::DatabaseError(
            QStringLiteral("Η τρέχουσα σημείωση δεν έχει αποθηκευτεί ακόμη: αποθηκεύστε την "
                           "και δοκιμάστε ξανά."));
    }
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,18}$"));
    if (!digits.match(noteId).hasMatch()) {
        throw store::DatabaseError(QStringLiteral("«%1» δεν είναι αριθμός σημείωσης.").arg(noteId));
    }
    return noteId.toLongLong();
}

}  // namespace

TForm7::TForm7(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TForm7>()) {
    ui->setupUi(this);
    widgets::ApplyWindowConventions(this, size());
    widgets::UseAsExitButton(this, ui->Button3);
    ui->Button1->setAutoDefault(false);
    ui->Button2->setAutoDefault(false);
    // The face that stands in for Tahoma is wider; its condensed cut keeps
    // the longest caption inside the documented button width.
    QFont condensed = ui->Button2->font();
    condensed.setStretch(QFont::SemiCondensed);
    ui->Button2->setFont(condensed);
    ADOQuery1.setObjectName(QStringLiteral("ADOQuery1"));
    ADOQuery1.setConnection(&ADOConnection1);
    RvDataSetConnection2.setObjectName(QStringLiteral("RvDataSetConnection2"));
    RvDataSetConnection2.setDataSet(&ADOQuery1);
    RvProject2.setObjectName(QStringLiteral("RvProject2"));
    RvProject2.addConnection(&RvDataSetConnection2);
    connect(ui->Button1, &QPushButton::clicked, this, &TForm7::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TForm7::Button2Click);
}

TForm7::~TForm7() {
    FormClose();
}

void TForm7::ShowForNote(const QString& noteId) {
    SelectedNoteId = noteId;
    widgets::RunModalLoop(*this);
}

void TForm7::ReopenConnection() {
    ADOConnection1.reopen(app().AppConnectionString);
}

void TForm7::Button1Click() {
    widgets::RunReportingErrors(this, [this] {
        ReopenConnection();
        PrintNotes(QStringLiteral("SELECT TITLOS,PERIGRAFH FROM NOTES ORDER BY TITLOS ASC, ID ASC"),
                   {});
    });
}

void TForm7::Button2Click() {
    widgets::RunReportingErrors(this, [this] {
        ReopenConnection();
        PrintNotes(QStringLiteral("SELECT TITLOS,PERIGRAFH FROM NOTES WHERE ID=?"),
                   {NoteNumber(SelectedNoteId)});
    });
}

// The engine orders text by its bytes; the notebook lists titles in Greek
// order, so the rows are sorted on the client as the notebook's table is.
// The sort keeps the order of equal titles, which the statement gives by ID.
void TForm7::PrintNotes(const QString& sql, const QVariantList& parameters) {
    ADOQuery1.close();
    ADOQuery1.setSql(sql);
    ADOQuery1.setParameters(parameters);
    ADOQuery1.open();
    ADOQuery1.setSort(QStringLiteral("TITLOS ASC"));
    RvProject2.setProjectFile(QDir(app().AppDirectory).filePath(QStringLiteral("NOTES.RAV")));
    RvProject2.Execute();
    ADOQuery1.close();
    ADOQuery1.setSql(QString());
    ADOConnection1.close();
}

void TForm7::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TForm7::FormClose() {
    ADOConnection1.close();
}
