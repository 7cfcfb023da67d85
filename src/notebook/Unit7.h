#pragma once

#include <QDialog>
#include <memory>

#include "reports/RvDataSetConnection.h"
#include "reports/RvProject.h"
#include "store/Connection.h"
#include "store/DataSet.h"

namespace Ui {
class TForm7;
}

// Notebook printing: all notes in title order, or the one note the notebook
// handed over, through the report NOTES.RAV. One instance lives for the
// whole run; the notebook shows it modally. Its connection is open only
// while a print runs, unless a print failed half-way: the next print, or
// closing the window, closes it then.
class TForm7 : public QDialog {
    Q_OBJECT

public:
    explicit TForm7(QWidget* parent = nullptr);
    ~TForm7() override;

    // Takes the number of the note to print by the second button (empty
    // when the notebook's current note is not stored yet) and shows the
    // window modally until it closes.
    void ShowForNote(const QString& noteId);

    void done(int result) override;

private:
    void Button1Click();
    void Button2Click();
    void ReopenConnection();
    // The steps every print shares after reopening the connection.
    void PrintNotes(const QString& sql, const QVariantList& parameters);
    void FormClose();

    std::unique_ptr<Ui::TForm7> ui;
    QString SelectedNoteId;
    store::Connection ADOConnection1;
    store::Query ADOQuery1;
    reports::RvDataSetConnection RvDataSetConnection2;
    reports::RvProject RvProject2;
};
