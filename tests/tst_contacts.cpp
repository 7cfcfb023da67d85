// The contacts window against a real database file: its fields, navigator
// and grid, what is saved and what is dropped, and the order of the names.
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "TestSupport.h"
#include "contacts/Unit10.h"
#include "core/AppGlobals.h"
#include "store/Command.h"
#include "store/Connection.h"
#include "store/DataSet.h"
#include "widgets/DBEdit.h"
#include "widgets/DBGrid.h"
#include "widgets/DBNavigator.h"
#include "widgets/Messages.h"

using widgets::Answer;
using widgets::MessageRequest;

class TestContacts : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void fieldsAreLaidOutAndBound_data();
    void fieldsAreLaidOutAndBound();
    void gridColumns_data();
    void gridColumns();
    void windowFrameAndTabOrder();
    void navigatorButtonsInOrderWithTooltips();
    void emptyTableOpensEmptyAndTypingStartsARow();
    void insertAndPost();
    void changeIsSavedByMovingToAnotherRow_data();
    void changeIsSavedByMovingToAnotherRow();
    void changeIsDroppedByClosing_data();
    void changeIsDroppedByClosing();
    void enterInAFieldKeepsTheWindowAndTheChange();
    void untouchedInsertIsDropped_data();
    void untouchedInsertIsDropped();
    void deleteAsks_data();
    void deleteAsks();
    void refusedPostKeepsTheTypedValues();
    void namesAreInGreekOrder();
    void missingDatabaseOpensWithoutData();

private:
    std::unique_ptr<testsupport::TestDatabase> database_;
    std::unique_ptr<TForm10> form_;
    std::unique_ptr<testsupport::MessageLog> messages_;

    void addContacts(const QStringList& names);
    QStringList namesInDatabase();
    TForm10* openForm();
    widgets::DBEdit* field(int number) const;
    QAbstractButton* navigatorButton(const char* name) const;
    void clickGridRow(int row);
    void closeForm(const QString& how);
};

void TestContacts::init() {
    testsupport::ResetTestHooks();
    database_ = std::make_unique<testsupport::TestDatabase>();
    messages_ = std::make_unique<testsupport::MessageLog>();
}

void TestContacts::cleanup() {
    messages_.reset();
    form_.reset();
    database_.reset();
    testsupport::ResetTestHooks();
}

void TestContacts::addContacts(const QStringList& names) {
    testsupport::ExecuteForEach(
        database_->connection,
        QStringLiteral("INSERT INTO XRHSIMA_THLEFWNA (ONOMATEPWNYMO, "
                       "DIEYTHYNSH, THLEFWNO_1) VALUES (?, 'Οδός 1', '210')"),
        names);
}

QStringList TestContacts::namesInDatabase() {
    return testsupport::ColumnValues(
        database_->connection,
        QStringLiteral("SELECT ONOMATEPWNYMO FROM XRHSIMA_THLEFWNA ORDER BY rowid"));
}

TForm10* TestContacts::openForm() {
    form_ = std::make_unique<TForm10>();
    form_->show();
    return form_.get();
}

widgets::DBEdit* TestContacts::field(int number) const {
    return form_->findChild<widgets::DBEdit*>(QStringLiteral("DBEdit%1").arg(number));
}

QAbstractButton* TestContacts::navigatorButton(const char* name) const {
    return form_->findChild<QAbstractButton*>(QLatin1String(name));
}

void TestContacts::clickGridRow(int row) {
    testsupport::ClickRow(testsupport::FindControl<widgets::DBGrid>(form_.get(), "DBGrid1"), row);
}

void TestContacts::closeForm(const QString& how) {
    if (how == QLatin1String("exit button")) {
        testsupport::Click(form_.get(), "Button1");
    } else if (how == QLatin1String("Escape")) {
        QTest::keyClick(field(1), Qt::Key_Escape);
    } else if (how == QLatin1String("Alt+ξ")) {
        QTest::sendKeyEvent(QTest::Click, field(1), Qt::Key(QChar(u'Ξ').unicode()),
                            QStringLiteral("ξ"), Qt::AltModifier);
    } else {
        form_->close();
    }
    // An accelerator presses its button with a short animation.
    QTRY_VERIFY(!form_->isVisible());
}

void TestContacts::fieldsAreLaidOutAndBound_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("mandatory");
    QTest::newRow("name") << 1 << "Όνοματεπώνυμο:"
                          << "ONOMATEPWNYMO" << 186 << true;
    QTest::newRow("address") << 2 << "Διεύθυνση:"
                             << "DIEYTHYNSH" << 186 << true;
    QTest::newRow("phone 1") << 3 << "Τηλέφωνο 1:"
                             << "THLEFWNO_1" << 85 << true;
    QTest::newRow("phone 2") << 4 << "Τηλέφωνο 2:"
                             << "THLEFWNO_2" << 85 << false;
    QTest::newRow("fax") << 5 << "Fax:"
                         << "FAX" << 85 << false;
    QTest::newRow("email") << 6 << "Email:"
                           << "EMAIL" << 146 << false;
    QTest::newRow("description") << 7 << "Περιγραφή:"
                                 << "PERIGRAFH" << 186 << false;
}

void TestContacts::fieldsAreLaidOutAndBound() {
    QFETCH(int, number);
    QFETCH(QString, caption);
    QFETCH(QString, column);
    QFETCH(int, width);
    QFETCH(bool, mandatory);
    store::Execute(database_->connection,
                   QStringLiteral("INSERT INTO XRHSIMA_THLEFWNA (%1) VALUES ('τιμή')").arg(column));
    openForm();
    widgets::DBEdit* edit = field(number);
    QVERIFY(edit != nullptr);
    QCOMPARE(edit->dataField(), column);
    QCOMPARE(edit->text(), QStringLiteral("τιμή"));
    QCOMPARE(edit->width(), width);
    QCOMPARE(edit->maxLength(), 255);
    QLabel* label = nullptr;
    QLabel* mark = nullptr;
    for (QLabel* candidate : form_->findChildren<QLabel*>()) {
        if (candidate->geometry().center().y() != edit->geometry().center().y()) {
            continue;
        }
        if (candidate->geometry().right() < edit->x()) {
            label = candidate;
        } else if (candidate->x() > edit->geometry().right()) {
            mark = candidate;
        }
    }
    QVERIFY(label != nullptr);
    QCOMPARE(label->text(), caption);
    QVERIFY(label->font().bold());
    QVERIFY(label->alignment() & Qt::AlignRight);
    QCOMPARE(mark != nullptr, mandatory);
    if (mark != nullptr) {
        QCOMPARE(mark->text(), QStringLiteral("*"));
        QCOMPARE(mark->palette().color(QPalette::WindowText), QColor(Qt::red));
    }
}

void TestContacts::gridColumns_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("value");
    QTest::newRow("name") << 0 << "Ονοματεπώνυμο" << 170 << int(Qt::AlignLeft) << "Άννα";
    QTest::newRow("address") << 1 << "Διεύθυνση" << 190 << int(Qt::AlignLeft) << "Οδός 1";
    QTest::newRow("phone 1") << 2 << "Τηλέφωνο 1" << 85 << int(Qt::AlignHCenter) << "210";
    QTest::newRow("phone 2") << 3 << "Τηλέφωνο 2" << 85 << int(Qt::AlignHCenter) << "";
    QTest::newRow("fax") << 4 << "Fax" << 85 << int(Qt::AlignHCenter) << "";
    QTest::newRow("email") << 5 << "Email" << 160 << int(Qt::AlignLeft) << "";
    QTest::newRow("description") << 6 << "Περιγραφή" << 170 << int(Qt::AlignLeft) << "";
}

void TestContacts::gridColumns() {
    QFETCH(int, column);
    QFETCH(QString, title);
    QFETCH(int, width);
    QFETCH(int, alignment);
    QFETCH(QString, value);
    addContacts({"Άννα"});
    openForm();
    auto* grid = form_->findChild<widgets::DBGrid*>(QStringLiteral("DBGrid1"));
    QCOMPARE(grid->size(), QSize(990, 306));
    QCOMPARE(grid->model()->columnCount(), 7);
    QCOMPARE(grid->model()->headerData(column, Qt::Horizontal).toString(), title);
    QCOMPARE(grid->columnWidth(column), width);
    QCOMPARE(grid->horizontalHeader()->sectionResizeMode(column), QHeaderView::Interactive);
    const QModelIndex cell = grid->model()->index(0, column);
    QCOMPARE(cell.data().toString(), value);
    QCOMPARE(cell.data(Qt::TextAlignmentRole).toInt() & int(Qt::AlignHorizontal_Mask), alignment);
}

void TestContacts::windowFrameAndTabOrder() {
    openForm();
    QCOMPARE(form_->objectName(), QStringLiteral("TForm10"));
    QCOMPARE(form_->windowTitle(), QStringLiteral("Επαφές"));
    QCOMPARE(form_->size(), QSize(1010, 639));
    QCOMPARE(form_->palette().color(QPalette::Window), QColor(255, 251, 240));
    QCOMPARE(form_->findChild<QPushButton*>(QStringLiteral("Button1"))->text(),
             QStringLiteral("Έ&ξοδος"));
    const QStringList expected = {"DBEdit1", "DBEdit2", "DBEdit3",  "DBEdit4",  "DBEdit5",
                                  "DBEdit6", "DBEdit7", "Button1",  "nbFirst",  "nbPrior",
                                  "nbNext",  "nbLast",  "nbInsert", "nbDelete", "nbPost"};
    QStringList chain;
    QWidget* widget = field(1);
    for (int i = 0; i < expected.size(); ++i) {
        chain.append(widget->objectName());
        widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus)) {
            widget = widget->nextInFocusChain();
        }
    }
    QCOMPARE(chain, expected);
    QCOMPARE(form_->focusWidget(), field(1));
}

void TestContacts::navigatorButtonsInOrderWithTooltips() {
    openForm();
    auto* navigator = form_->findChild<widgets::DBNavigator*>(QStringLiteral("DBNavigator1"));
    QVERIFY(navigator != nullptr);
    const QList<QPair<QString, QString>> expected = {
        {"nbFirst", "First record"}, {"nbPrior", "Prior record"},   {"nbNext", "Next record"},
        {"nbLast", "Last record"},   {"nbInsert", "Insert record"}, {"nbDelete", "Delete record"},
        {"nbPost", "Post edit"}};
    QList<QPair<QString, QString>> shown;
    QList<QToolButton*> buttons = navigator->findChildren<QToolButton*>();
    std::sort(buttons.begin(), buttons.end(),
              [](QToolButton* a, QToolButton* b) { return a->x() < b->x(); });
    for (QToolButton* button : buttons) {
        if (button->isVisible()) {
            shown.append({button->objectName(), button->toolTip()});
        }
    }
    QCOMPARE(shown, expected);
    // Below the fields, above the grid.
    auto* grid = form_->findChild<widgets::DBGrid*>(QStringLiteral("DBGrid1"));
    QVERIFY(navigator->geometry().top() > field(7)->geometry().bottom());
    QVERIFY(navigator->geometry().bottom() < grid->geometry().top());
}

void TestContacts::emptyTableOpensEmptyAndTypingStartsARow() {
    openForm();
    for (int number = 1; number <= 7; ++number) {
        QCOMPARE(field(number)->text(), QString());
    }
    for (const char* name : {"nbFirst", "nbPrior", "nbNext", "nbLast", "nbDelete", "nbPost"}) {
        QVERIFY2(!navigatorButton(name)->isEnabled(), name);
    }
    QVERIFY(navigatorButton("nbInsert")->isEnabled());
    testsupport::TypeText(field(3), QStringLiteral("2101234567"));
    QVERIFY(navigatorButton("nbPost")->isEnabled());
    testsupport::TypeText(field(1), QStringLiteral("Μαρία"));
    QTest::mouseClick(navigatorButton("nbPost"), Qt::LeftButton);
    QCOMPARE(namesInDatabase(), QStringList{"Μαρία"});
    QCOMPARE(store::ScalarQuery(database_->connection, QStringLiteral("SELECT THLEFWNO_1 FROM "
                                                                      "XRHSIMA_THLEFWNA"))
                 .toString(),
             QStringLiteral("2101234567"));
    QVERIFY(navigatorButton("nbDelete")->isEnabled());
    QVERIFY(!navigatorButton("nbPost")->isEnabled());
}

void TestContacts::insertAndPost() {
    addContacts({"Βασίλης"});
    openForm();
    QTest::mouseClick(navigatorButton("nbInsert"), Qt::LeftButton);
    QCOMPARE(field(1)->text(), QString());
    const QStringList typed = {"Ελένη Ζαφειρίου", "Ναυαρίνου 5",      "2310111222", "6977000111",
                               "2310111223",      "eleni@example.gr", "Συνάδελφος"};
    for (int number = 1; number <= 7; ++number) {
        testsupport::TypeText(field(number), typed.at(number - 1));
    }
    QTest::mouseClick(navigatorButton("nbPost"), Qt::LeftButton);
    QVERIFY(messages_->requests.isEmpty());
    store::Query row;
    testsupport::OpenQuery(row, database_->connection,
                           QStringLiteral("SELECT * FROM XRHSIMA_THLEFWNA WHERE ONOMATEPWNYMO = ?"),
                           {typed.first()});
    QCOMPARE(row.recordCount(), 1);
    for (int column = 0; column < 7; ++column) {
        QCOMPARE(row.asString(column), typed.at(column));
    }
    auto* grid = form_->findChild<widgets::DBGrid*>(QStringLiteral("DBGrid1"));
    QCOMPARE(grid->model()->rowCount(), 2);
}

void TestContacts::changeIsSavedByMovingToAnotherRow_data() {
    QTest::addColumn<QString>("move");
    QTest::newRow("navigator") << "navigator";
    QTest::newRow("grid click") << "grid";
}

void TestContacts::changeIsSavedByMovingToAnotherRow() {
    QFETCH(QString, move);
    addContacts({"Άλφα", "Βήτα"});
    openForm();
    field(2)->selectAll();
    testsupport::TypeText(field(2), QStringLiteral("Νέα οδός 9"));
    if (move == QLatin1String("navigator")) {
        QTest::mouseClick(navigatorButton("nbNext"), Qt::LeftButton);
    } else {
        clickGridRow(1);
    }
    QCOMPARE(field(1)->text(), QStringLiteral("Βήτα"));
    QCOMPARE(store::ScalarQuery(database_->connection,
                                QStringLiteral("SELECT DIEYTHYNSH FROM XRHSIMA_THLEFWNA "
                                               "WHERE ONOMATEPWNYMO = 'Άλφα'"))
                 .toString(),
             QStringLiteral("Νέα οδός 9"));
}

void TestContacts::changeIsDroppedByClosing_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("exit button") << "exit button";
    QTest::newRow("Escape") << "Escape";
    QTest::newRow("Alt+ξ") << "Alt+ξ";
    QTest::newRow("close box") << "close box";
}

void TestContacts::changeIsDroppedByClosing() {
    QFETCH(QString, how);
    addContacts({"Άλφα"});
    openForm();
    testsupport::TypeText(field(1), QStringLiteral("Ωμέγα"));
    closeForm(how);
    QCOMPARE(namesInDatabase(), QStringList{"Άλφα"});
    QCOMPARE(field(1)->text(), QString());
    QVERIFY(messages_->requests.isEmpty());
}

// The window has no default button: Enter must not close it and drop what
// was typed.
void TestContacts::enterInAFieldKeepsTheWindowAndTheChange() {
    addContacts({"Άλφα", "Βήτα"});
    openForm();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    testsupport::TypeText(field(4), QStringLiteral("6944000000"));
    QTest::keyClick(field(4), Qt::Key_Return);
    QTest::keyClick(field(4), Qt::Key_Enter);
    QVERIFY(form_->isVisible());
    QCOMPARE(field(4)->text(), QStringLiteral("6944000000"));
    QTest::mouseClick(navigatorButton("nbNext"), Qt::LeftButton);
    QCOMPARE(store::ScalarQuery(database_->connection, QStringLiteral("SELECT THLEFWNO_2 FROM "
                                                                      "XRHSIMA_THLEFWNA WHERE "
                                                                      "ONOMATEPWNYMO = 'Άλφα'"))
                 .toString(),
             QStringLiteral("6944000000"));
}

void TestContacts::untouchedInsertIsDropped_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("moving away") << "move";
    QTest::newRow("posting nothing") << "post";
    QTest::newRow("closing") << "close";
}

void TestContacts::untouchedInsertIsDropped() {
    QFETCH(QString, how);
    addContacts({"Άλφα", "Βήτα"});
    openForm();
    QTest::mouseClick(navigatorButton("nbNext"), Qt::LeftButton);
    QTest::mouseClick(navigatorButton("nbInsert"), Qt::LeftButton);
    if (how == QLatin1String("move")) {
        QTest::mouseClick(navigatorButton("nbPrior"), Qt::LeftButton);
        QCOMPARE(field(1)->text(), QStringLiteral("Άλφα"));
        auto* grid = form_->findChild<widgets::DBGrid*>(QStringLiteral("DBGrid1"));
        QCOMPARE(grid->model()->rowCount(), 2);
    } else if (how == QLatin1String("post")) {
        QTest::mouseClick(navigatorButton("nbPost"), Qt::LeftButton);
    } else {
        closeForm(QStringLiteral("exit button"));
    }
    QCOMPARE(namesInDatabase(), (QStringList{"Άλφα", "Βήτα"}));
}

void TestContacts::deleteAsks_data() {
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QString>("shown");
    QTest::newRow("OK deletes the last row, the previous shows")
        << Answer::Ok << QStringList{"Άλφα", "Βήτα"} << "Βήτα";
    QTest::newRow("Cancel keeps the row")
        << Answer::Cancel << QStringList{"Άλφα", "Βήτα", "Γάμμα"} << "Γάμμα";
}

void TestContacts::deleteAsks() {
    QFETCH(Answer, answer);
    QFETCH(QStringList, left);
    QFETCH(QString, shown);
    addContacts({"Άλφα", "Βήτα", "Γάμμα"});
    openForm();
    QTest::mouseClick(navigatorButton("nbLast"), Qt::LeftButton);
    messages_->answer = answer;
    QTest::mouseClick(navigatorButton("nbDelete"), Qt::LeftButton);
    QCOMPARE(messages_->requests.size(), 1);
    QCOMPARE(messages_->requests.first().text, QStringLiteral("Delete record?"));
    QCOMPARE(namesInDatabase(), left);
    QCOMPARE(field(1)->text(), shown);
}

void TestContacts::refusedPostKeepsTheTypedValues() {
    store::Execute(database_->connection,
                   QStringLiteral("CREATE TRIGGER needs_address BEFORE INSERT ON XRHSIMA_THLEFWNA "
                                  "WHEN NEW.DIEYTHYNSH IS NULL "
                                  "BEGIN SELECT RAISE(ABORT, 'DIEYTHYNSH may not be NULL'); END"));
    openForm();
    QTest::mouseClick(navigatorButton("nbInsert"), Qt::LeftButton);
    testsupport::TypeText(field(1), QStringLiteral("Κώστας"));
    testsupport::TypeText(field(3), QStringLiteral("2105556667"));
    QTest::mouseClick(navigatorButton("nbPost"), Qt::LeftButton);
    QCOMPARE(messages_->requests.size(), 1);
    QCOMPARE(messages_->requests.first().text, QStringLiteral("DIEYTHYNSH may not be NULL"));
    QCOMPARE(messages_->requests.first().icon, widgets::MessageIcon::Error);
    QVERIFY(form_->isVisible());
    QCOMPARE(field(1)->text(), QStringLiteral("Κώστας"));
    QCOMPARE(field(3)->text(), QStringLiteral("2105556667"));
    QVERIFY(namesInDatabase().isEmpty());
    testsupport::TypeText(field(2), QStringLiteral("Πατησίων 20"));
    QTest::mouseClick(navigatorButton("nbPost"), Qt::LeftButton);
    QCOMPARE(messages_->requests.size(), 1);
    QCOMPARE(namesInDatabase(), QStringList{"Κώστας"});
}

void TestContacts::namesAreInGreekOrder() {
    // Letters decide before accents and letter case; Greek names come before
    // Latin ones.
    const QStringList expected = {"αλέξης", "Άννα",   "Βασίλης", "γιώργος", "Ελένη",
                                  "Έλλη",   "Ωραίος", "Adams",   "baker",   "Zoe"};
    QStringList shuffled = expected;
    std::reverse(shuffled.begin(), shuffled.end());
    shuffled.swapItemsAt(2, 7);
    addContacts(shuffled);
    openForm();
    auto* grid = form_->findChild<widgets::DBGrid*>(QStringLiteral("DBGrid1"));
    QStringList shown;
    for (int row = 0; row < grid->model()->rowCount(); ++row) {
        shown.append(grid->model()->index(row, 0).data().toString());
    }
    QCOMPARE(shown, expected);
    QCOMPARE(field(1)->text(), expected.first());
}

void TestContacts::missingDatabaseOpensWithoutData() {
    QVERIFY(QFile::remove(database_->work.databasePath()));
    form_ = std::make_unique<TForm10>();
    QCOMPARE(messages_->requests.size(), 1);
    QCOMPARE(messages_->requests.first().caption, kApplicationTitle);
    QVERIFY(!messages_->requests.first().text.isEmpty());
    QCOMPARE(field(1)->text(), QString());
    QVERIFY(field(1)->isReadOnly());
    for (auto* button : form_->findChildren<QToolButton*>()) {
        QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
    }
    bool stillUp = true;
    const auto contacts = testsupport::AnswerNextWindow<TForm10>([&stillUp](TForm10* form) {
        testsupport::Click(form, "Button1");
        stillUp = form->isVisible();
    });
    form_->exec();
    VERIFY_MODAL(contacts);
    QVERIFY(!stillUp);
    QVERIFY(!QFile::exists(database_->work.databasePath()));
}

QTEST_MAIN(TestContacts)
#include "tst_contacts.moc"
