#pragma once

#include <QDateTime>
#include <QString>
#include <QWidget>
#include <memory>

namespace Ui {
class TForm35;
}

// "Δημιουργία " and the moment a note was made: the short date, then the
// long time unless the moment is exactly midnight.
QString CreationText(const QDateTime& moment);

// A time format without its time-zone field (an unquoted run of "t") and the
// blanks before it; quoted literal text stays as it is.
QString TimeFormatWithoutZone(const QString& timeFormat);

// A sticky note: a free-floating coloured text area for jotting something
// down. Modeless, independent of every other window, never stored; the note
// destroys itself when closed.
class TForm35 : public QWidget {
    Q_OBJECT

public:
    explicit TForm35(QWidget* parent = nullptr);
    ~TForm35() override;

    // Closes every open note; their text is dropped without a question.
    static void CloseAll();

private:
    void FormCreate();
    void ComboBox1Change(const QString& colourName);

    std::unique_ptr<Ui::TForm35> ui;
};
