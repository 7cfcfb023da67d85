#include "sticky/Unit35.h"

#include <QApplication>
#include <QLocale>
#include <QRegularExpression>
#include <array>

#include "core/AppGlobals.h"
#include "ui_Unit35.h"
#include "widgets/TextFit.h"
#include "widgets/WindowStyle.h"

namespace {

struct NoteColour {
    const char* name;
    QColor colour;
};

const std::array<NoteColour, 9> kNoteColours{{
    {"Silver", QColor(192, 192, 192)},
    {"White", QColor(255, 255, 255)},
    {"Lime", QColor(0, 255, 0)},
    {"Yellow", QColor(255, 255, 0)},
    {"Fuchsia", QColor(255, 0, 255)},
    {"Aqua", QColor(0, 255, 255)},
    {"MoneyGreen", QColor(192, 220, 192)},
    {"SkyBlue", QColor(166, 202, 240)},
    {"Cream", QColor(255, 251, 240)},
}};

const QString kFirstColour = QStringLiteral("Yellow");

void SetBackground(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// The locale's long time without its time-zone name, which a note's narrow
// bar has no room for and which says nothing about a local moment.
QString LongTimeFormat(const QLocale& locale) {
    return TimeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat));
}

}  // namespace

QString TimeFormatWithoutZone(const QString& timeFormat) {
    // Quoted text is literal and passed over whole, an unclosed quote running
    // to the end; outside quotes a run of "t" is the zone field.
    static const QRegularExpression parts(QStringLiteral("'[^']*(?:'|$)|(\\s*t+)"));
    QString result;
    qsizetype kept = 0;
    for (auto match = parts.globalMatch(timeFormat); match.hasNext();) {
        const QRegularExpressionMatch part = match.next();
        if (part.hasCaptured(1)) {
            result += timeFormat.mid(kept, part.capturedStart(1) - kept);
            kept = part.capturedEnd(1);
        }
    }
    result += timeFormat.mid(kept);
    return result.trimmed();
}

QString CreationText(const QDateTime& moment) {
    const QLocale locale;
    QString text =
        QStringLiteral("Δημιουργία ") + locale.toString(moment.date(), QLocale::ShortFormat);
    if (moment.time() != QTime(0, 0)) {
        text += QLatin1Char(' ') + locale.toString(moment.time(), LongTimeFormat(locale));
    }
    return text;
}

TForm35::TForm35(QWidget* parent) : QWidget(parent, Qt::Tool), ui(std::make_unique<Ui::TForm35>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    // A note must not keep the program running once the main window is gone.
    setAttribute(Qt::WA_QuitOnClose, false);
    SetBackground(this, QPalette::Window, palette().color(QPalette::Button));
    setAutoFillBackground(true);
    for (const NoteColour& entry : kNoteColours) {
        ui->ComboBox1->addItem(QString::fromLatin1(entry.name));
    }
    widgets::CenterOnScreen(this);
    FormCreate();
}

TForm35::~TForm35() = default;

void TForm35::FormCreate() {
    ui->Label1->setText(CreationText(LocalNow()));
    // The label keeps its fixed width; the longest date and time fit in it.
    widgets::ShrinkFontToFit(ui->Label1, ui->Label1->text(), ui->Label1->maximumWidth());
    ui->ComboBox1->setCurrentText(kFirstColour);
    ComboBox1Change(kFirstColour);
    connect(ui->ComboBox1, &QComboBox::currentTextChanged, this, &TForm35::ComboBox1Change);
}

void TForm35::ComboBox1Change(const QString& colourName) {
    for (const NoteColour& entry : kNoteColours) {
        if (colourName == QLatin1String(entry.name)) {
            SetBackground(ui->Memo1, QPalette::Base, entry.colour);
            return;
        }
    }
}

void TForm35::CloseAll() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (auto* note = qobject_cast<TForm35*>(window)) {
            note->close();
        }
    }
}
