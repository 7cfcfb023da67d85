#include "sticky/Unit35.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <array>

#include "core/AppGlobals.h"
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
constexpr int kBarHeight = 22;

void SetBackground(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// The locale's long time without its time-zone name, which a note's narrow
// bar has no room for and which says nothing about a local moment.
QString LongTimeFormat(const QLocale& locale) {
    static const QRegularExpression zone(QStringLiteral("\\s*t+"));
    return locale.timeFormat(QLocale::LongFormat).remove(zone).trimmed();
}

}  // namespace

QString CreationText(const QDateTime& moment) {
    const QLocale locale;
    QString text =
        QStringLiteral("Δημιουργία ") + locale.toString(moment.date(), QLocale::ShortFormat);
    if (moment.time() != QTime(0, 0)) {
        text += QLatin1Char(' ') + locale.toString(moment.time(), LongTimeFormat(locale));
    }
    return text;
}

TForm35::TForm35(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("TForm35"));
    setWindowTitle(QStringLiteral("Sticky Notes"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    // A note must not keep the program running once the main window is gone.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(widgets::TahomaPoints(8));
    SetBackground(this, QPalette::Window, palette().color(QPalette::Button));
    setAutoFillBackground(true);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setFrameShape(QFrame::NoFrame);
    BuildBottomBar();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Memo1, 1);
    layout->addWidget(Panel1);

    resize(287, 238);
    widgets::CenterOnScreen(this);
    FormCreate();
}

void TForm35::BuildBottomBar() {
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(kBarHeight);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);

    Label1 = new QLabel(Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFixedWidth(185);

    ComboBox1 = new QComboBox(Panel1);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setFixedWidth(94);
    ComboBox1->setEditable(false);
    for (const NoteColour& entry : kNoteColours) {
        ComboBox1->addItem(QString::fromLatin1(entry.name));
    }

    auto* bar = new QHBoxLayout(Panel1);
    bar->setContentsMargins(1, 0, 1, 0);
    bar->setSpacing(0);
    bar->addWidget(Label1);
    bar->addStretch(1);
    bar->addWidget(ComboBox1);
}

void TForm35::FormCreate() {
    Label1->setText(CreationText(LocalNow()));
    ComboBox1->setCurrentText(kFirstColour);
    ComboBox1Change(kFirstColour);
    connect(ComboBox1, &QComboBox::currentTextChanged, this, &TForm35::ComboBox1Change);
}

void TForm35::ComboBox1Change(const QString& colourName) {
    for (const NoteColour& entry : kNoteColours) {
        if (colourName == QLatin1String(entry.name)) {
            SetBackground(Memo1, QPalette::Base, entry.colour);
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
