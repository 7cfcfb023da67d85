#include "contacts/Unit10.h"

#include <QLabel>
#include <QPushButton>

#include "core/AppGlobals.h"
#include "store/DataSet.h"
#include "store/DatabaseError.h"
#include "widgets/DBEdit.h"
#include "widgets/DBGrid.h"
#include "widgets/DBNavigator.h"
#include "widgets/DataSource.h"
#include "widgets/Messages.h"
#include "widgets/WindowStyle.h"

namespace {

const QString kTable = QStringLiteral("XRHSIMA_THLEFWNA");
const QString kOrder = QStringLiteral("ONOMATEPWNYMO ASC");

struct FieldRow {
    const char* caption;
    const char* column;
    int width;
    bool mandatory;
};

const FieldRow kFieldRows[] = {
    {"Όνοματεπώνυμο:", "ONOMATEPWNYMO", 186, true},
    {"Διεύθυνση:", "DIEYTHYNSH", 186, true},
    {"Τηλέφωνο 1:", "THLEFWNO_1", 85, true},
    {"Τηλέφωνο 2:", "THLEFWNO_2", 85, false},
    {"Fax:", "FAX", 85, false},
    {"Email:", "EMAIL", 146, false},
    {"Περιγραφή:", "PERIGRAFH", 186, false},
};

struct GridColumn {
    const char* column;
    const char* title;
    int width;
    Qt::Alignment alignment;
};

const GridColumn kGridColumns[] = {
    {"ONOMATEPWNYMO", "Ονοματεπώνυμο", 170, Qt::AlignLeft},
    {"DIEYTHYNSH", "Διεύθυνση", 190, Qt::AlignLeft},
    {"THLEFWNO_1", "Τηλέφωνο 1", 85, Qt::AlignHCenter},
    {"THLEFWNO_2", "Τηλέφωνο 2", 85, Qt::AlignHCenter},
    {"FAX", "Fax", 85, Qt::AlignHCenter},
    {"EMAIL", "Email", 160, Qt::AlignLeft},
    {"PERIGRAFH", "Περιγραφή", 170, Qt::AlignLeft},
};

constexpr QSize kClientSize(1010, 639);
constexpr int kCaptionX = 8;
constexpr int kCaptionWidth = 110;
constexpr int kFieldX = kCaptionX + kCaptionWidth + 6;
constexpr int kFirstRowY = 12;
constexpr int kRowStep = 27;
constexpr int kFieldHeight = 21;
const QRect kNavigatorGeometry(kFieldX, 208, 231, 25);
const QRect kGridGeometry(10, 246, 990, 306);
const QRect kExitGeometry(10, 600, 75, 25);

QLabel* MakeCaption(QWidget* parent, int number, const QString& text, int y) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("Label%1").arg(number));
    label->setGeometry(kCaptionX, y, kCaptionWidth, kFieldHeight);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setFont(widgets::TahomaPoints(8));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

// The red mark of a field the database may require; the window checks
// nothing itself.
QLabel* MakeMandatoryMark(QWidget* parent, int number, int x, int y) {
    auto* mark = new QLabel(QStringLiteral("*"), parent);
    mark->setObjectName(QStringLiteral("Label%1").arg(number));
    mark->setGeometry(x, y, 12, kFieldHeight);
    QFont bold = widgets::TahomaPoints(8);
    bold.setBold(true);
    mark->setFont(bold);
    QPalette palette = mark->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    mark->setPalette(palette);
    return mark;
}

}  // namespace

TForm10::TForm10(QWidget* parent) : QDialog(parent), ADOTable1(std::make_unique<store::Table>()) {
    setObjectName(QStringLiteral("TForm10"));
    setWindowTitle(QStringLiteral("Επαφές"));
    widgets::ApplyWindowConventions(this, kClientSize);
    DataSource1 = new widgets::DataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setDataSet(ADOTable1.get());
    ADOTable1->setObjectName(QStringLiteral("ADOTable1"));
    ADOTable1->setConnection(&ADOConnection1);

    BuildFields();
    BuildNavigator();
    BuildGrid();
    Button1 = new QPushButton(QStringLiteral("Έ&ξοδος"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(kExitGeometry);
    // Enter in a field must not close the window and drop the row.
    Button1->setAutoDefault(false);
    widgets::SetCancelButton(this, Button1);
    connect(Button1, &QPushButton::clicked, this, &TForm10::Button1Click);
    SetTabOrder();

    FormCreate();
}

TForm10::~TForm10() {
    FormClose();
}

void TForm10::BuildFields() {
    int number = 1;
    int markNumber = int(std::size(kFieldRows)) + 1;
    int y = kFirstRowY;
    for (const FieldRow& row : kFieldRows) {
        captions_.append(MakeCaption(this, number, QString::fromUtf8(row.caption), y));
        auto* field = new widgets::DBEdit(this);
        field->setObjectName(QStringLiteral("DBEdit%1").arg(number));
        field->setGeometry(kFieldX, y, row.width, kFieldHeight);
        field->setDataSource(DataSource1);
        field->setDataField(QLatin1String(row.column));
        fields_.append(field);
        if (row.mandatory) {
            MakeMandatoryMark(this, markNumber++, kFieldX + row.width + 4, y);
        }
        ++number;
        y += kRowStep;
    }
}

void TForm10::BuildNavigator() {
    DBNavigator1 = new widgets::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setGeometry(kNavigatorGeometry);
    DBNavigator1->setDataSource(DataSource1);
}

void TForm10::BuildGrid() {
    DBGrid1 = new widgets::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(kGridGeometry);
    DBGrid1->setDataSource(DataSource1);
    for (const GridColumn& column : kGridColumns) {
        DBGrid1->addColumn(QLatin1String(column.column), QString::fromUtf8(column.title),
                           column.width, column.alignment);
    }
    DBGrid1->setColumnsResizable(true);
}

// The fields top to bottom, then Έξοδος, then the navigator.
void TForm10::SetTabOrder() {
    QList<QWidget*> chain(fields_.cbegin(), fields_.cend());
    chain.append(Button1);
    const widgets::NavigatorButton buttons[] = {
        widgets::NavigatorButton::First,  widgets::NavigatorButton::Prior,
        widgets::NavigatorButton::Next,   widgets::NavigatorButton::Last,
        widgets::NavigatorButton::Insert, widgets::NavigatorButton::Delete,
        widgets::NavigatorButton::Post};
    for (widgets::NavigatorButton which : buttons) {
        chain.append(DBNavigator1->button(which));
    }
    for (int i = 1; i < chain.size(); ++i) {
        setTabOrder(chain.at(i - 1), chain.at(i));
    }
    fields_.first()->setFocus();
}

// A database that cannot be opened is reported, and the window opens
// without data; Έξοδος still closes it.
void TForm10::FormCreate() {
    try {
        ADOConnection1.close();
        ADOConnection1.setConnectionString(app().AppConnectionString);
        ADOConnection1.setCommandTimeout(0);
        ADOConnection1.setConnectionTimeout(0);
        ADOConnection1.setShareDenyNone(true);
        ADOConnection1.open();
        ADOTable1->close();
        ADOTable1->setTableName(kTable);
        ADOTable1->open();
        ADOTable1->setSort(kOrder);
        ADOTable1->first();
    } catch (const store::DatabaseError& error) {
        widgets::ShowStandardError(this, error.message());
    }
}

void TForm10::Button1Click() {
    close();
}

void TForm10::done(int result) {
    FormClose();
    QDialog::done(result);
}

// Closing the connection closes the table and drops a row still edited.
void TForm10::FormClose() {
    ADOConnection1.close();
}
