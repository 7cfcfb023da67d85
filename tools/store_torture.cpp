// Crash safety of the data store, measured. A child process posts rows
// through the store's data sets and commands the way the day table and the
// expenses window do, and reports each operation on a pipe once its Post,
// Delete or statement has returned. The parent kills the child with SIGKILL
// at a random moment, opens the file with the key as the program would after
// a crash, runs the integrity check and compares the tables with its own model
// of them: every reported operation must be there, nothing else may have
// changed, and the one operation in flight at the kill is either wholly
// applied or not at all. The next child goes on from that state.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <cerrno>
#include <chrono>
#include <functional>
#include <optional>
#include <random>
#include <stdexcept>
#include <vector>

#include "store/Command.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/DataSet.h"
#include "store/DatabaseError.h"
#include "store/Schema.h"

namespace {

using Clock = std::chrono::steady_clock;
// One stored row as text, NULL as nullopt: what the parent compares.
using Cells = QVector<std::optional<QString>>;

constexpr int kDayCount = 40;
constexpr int kFewestExpenses = 20;
constexpr int kMostExpenses = 80;
constexpr auto kChildStartLimit = std::chrono::seconds(60);
// A child that starts no operation for this long has hung.
constexpr auto kOperationLimit = std::chrono::seconds(60);
// The kill comes at a random moment after a random number of operations
// has begun, so that children post rows however slowly the disk syncs.
constexpr int kMostOperationsBeforeKill = 8;
const QChar kFieldSeparator = QLatin1Char('\t');
const QString kReadyLine = QStringLiteral("ready");
const QString kBeginLine = QStringLiteral("begin");
const QString kDoneLine = QStringLiteral("done");
const QStringList kExpenseColumns = {QStringLiteral("HMEROMHNIA"), QStringLiteral("POSO"),
                                     QStringLiteral("VAT"), QStringLiteral("PERIGRAFH")};

QTextStream& Err() {
    static QTextStream stream(stderr);
    return stream;
}

QString TortureDay(int index) {
    return QDate(2026, 3, 1).addDays(index).toString(Qt::ISODate);
}

// Every expense carries its own number in its description, so that the
// parent tells the rows of a table without a key apart, and sees a row
// stored twice.
QString ExpenseDescription(qint64 id, qint64 revision, const QString& filler) {
    return QStringLiteral("Έξοδο #%1 αλλαγή %2 %3").arg(id).arg(revision).arg(filler);
}

QString ExpenseIdOf(const QString& description) {
    static const QRegularExpression number(QStringLiteral("#(\\d+) "));
    const QRegularExpressionMatch match = number.match(description);
    return match.hasMatch() ? match.captured(1) : QString();
}

std::optional<QString> CellOf(const QVariant& value) {
    if (value.isNull()) {
        return std::nullopt;
    }
    return value.toString();
}

// ---------------------------------------------------------------------------
// The tables as the parent expects them.

struct TortureState {
    QMap<QString, Cells> days;
    QMap<QString, Cells> expenses;
};

// One operation as the child reports it: its kind and what it writes, enough
// for the parent to apply it to its model.
struct TortureOperation {
    QString kind;
    QStringList arguments;

    QString line() const { return (QStringList{kind} + arguments).join(kFieldSeparator); }

    static TortureOperation parse(const QStringList& fields) {
        return {fields.value(0), fields.mid(1)};
    }

    void applyTo(TortureState& state) const {
        const QString key = arguments.value(0);
        if (kind == QLatin1String("day-create")) {
            state.days.insert(key, Cells(int(store::SlotColumns().size())));
        } else if (kind == QLatin1String("day-slots")) {
            Cells& slotTexts = state.days[key];
            slotTexts.resize(int(store::SlotColumns().size()));
            for (int i = 1; i + 1 < arguments.size(); i += 2) {
                const QString& text = arguments.at(i + 1);
                slotTexts[arguments.at(i).toInt()] =
                    text.isEmpty() ? std::nullopt : std::optional<QString>(text);
            }
        } else if (kind == QLatin1String("day-delete")) {
            state.days.remove(key);
        } else if (kind == QLatin1String("expense-write")) {
            Cells row;
            for (const QString& value : arguments.mid(1)) {
                row.append(value);
            }
            state.expenses.insert(key, row);
        } else if (kind == QLatin1String("expense-delete")) {
            state.expenses.remove(key);
        } else {
            throw store::DatabaseError(QStringLiteral("unknown operation '%1'").arg(kind));
        }
    }
};

// ---------------------------------------------------------------------------
// The child: the store driven as the windows drive it.

void ReportLine(const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n =
            ::write(STDOUT_FILENO, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            ::_exit(4);
        }
        written += n;
    }
}

[[noreturn]] void WaitForTheKill() {
    for (;;) {
        ::pause();
    }
}

// What a child does: post rows; make faults the check must see; or only open
// the file, rolling back what the last child left half done, to be killed
// while it does so.
enum class ChildMode { Post, Misreport, Open };

class TortureChild {
public:
    TortureChild(const QString& dataDir, quint64 seed, qint64 serial, ChildMode mode)
        : connectionString_(store::BuildConnectionString(dataDir)),
          random_(seed),
          serial_(serial),
          mode_(mode) {
        expenses_.setConnection(&expensesConnection_);
        expenses_.setTableName(QStringLiteral("EKSODA"));
        day_.setConnection(&dayConnection_);
        day_.setUpdateTable(QStringLiteral("RANTEBOU"));
    }

    [[noreturn]] void run() {
        expensesConnection_.reopen(connectionString_);
        if (mode_ == ChildMode::Open) {
            ReportLine(kReadyLine);
            WaitForTheKill();
        }
        expenses_.open();
        expenses_.setSort(QStringLiteral("HMEROMHNIA DESC"));
        loadDays();
        // A keyed handle parked for the day table, so that the time after
        // "ready" goes to writing rather than to the key derivation.
        dayConnection_.reopen(connectionString_);
        dayConnection_.close();
        if (mode_ == ChildMode::Misreport) {
            misreportExpenses();
            ReportLine(kReadyLine);
            // Nothing more is written, so that the check finds the faults
            // as they were made.
            WaitForTheKill();
        }
        ReportLine(kReadyLine);
        for (;;) {
            runOneOperation();
        }
    }

private:
    int below(int bound) { return int(std::uniform_int_distribution<int>(0, bound - 1)(random_)); }

    QString nextText(const QString& prefix) {
        static const QString filler = QStringLiteral("αβγδεζηθικλμνξοπρστυφχψω ");
        QString text = QStringLiteral("%1 %2 ").arg(prefix).arg(serial_++);
        const int length = below(4) == 0 ? below(200) : below(20);
        for (int i = 0; i < length; ++i) {
            text.append(filler.at(below(int(filler.size()))));
        }
        return text.trimmed();
    }

    void loadDays() {
        store::Query known;
        known.setConnection(&expensesConnection_);
        known.setSql(QStringLiteral("SELECT HMEROMHNIA FROM RANTEBOU"));
        known.open();
        for (int row = 0; row < known.recordCount(); ++row) {
            days_.append(known.valueAt(row, 0).toString());
        }
    }

    void runOneOperation() {
        const int choice = below(100);
        if (choice < 10) {
            createDay();
        } else if (choice < 45) {
            days_.isEmpty() ? createDay() : editDaySlots();
        } else if (choice < 50) {
            days_.isEmpty() ? createDay() : deleteDay();
        } else if (choice < 65) {
            expenses_.recordCount() < kMostExpenses ? insertExpense() : deleteExpense();
        } else if (choice < 85) {
            expenses_.isEmpty() ? insertExpense() : editExpense();
        } else {
            expenses_.recordCount() > kFewestExpenses ? deleteExpense() : insertExpense();
        }
    }

    static void begin(const TortureOperation& operation) {
        ReportLine(kBeginLine + kFieldSeparator + operation.line());
    }

    // As the calendar does before it opens a day: the hidden statement that
    // makes the day's row.
    void createDay() {
        QString date;
        do {
            date = TortureDay(below(kDayCount));
        } while (days_.contains(date) && days_.size() < kDayCount);
        if (days_.contains(date)) {
            editDaySlots();
            return;
        }
        dayConnection_.reopen(connectionString_);
        store::Command command(&dayConnection_);
        command.setCommandText(QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES(?)"));
        command.setParameters({date});
        begin({QStringLiteral("day-create"), {date}});
        command.execute();
        ReportLine(kDoneLine);
        dayConnection_.close();
        days_.append(date);
    }

    // As the day table opens a day: a fresh connection and the day's row.
    void openDay(const QString& date) {
        dayConnection_.reopen(connectionString_);
        day_.close();
        day_.setSql(QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=?"));
        day_.setParameters({date});
        day_.open();
        if (day_.isEmpty()) {
            throw store::DatabaseError(QStringLiteral("the day %1 has no row").arg(date));
        }
    }

    void closeDay() {
        day_.close();
        dayConnection_.close();
    }

    // Typing into a few slots, emptying some, then one Post.
    void editDaySlots() {
        const QString date = days_.at(below(int(days_.size())));
        openDay(date);
        TortureOperation operation{QStringLiteral("day-slots"), {date}};
        const int count = 1 + below(3);
        for (int i = 0; i < count; ++i) {
            const int slot = below(int(store::SlotColumns().size()));
            const QString text = below(5) == 0 ? QString() : nextText(QStringLiteral("Ραντεβού"));
            day_.setValue(store::SlotColumns().at(slot),
                          text.isEmpty() ? QVariant() : QVariant(text));
            operation.arguments << QString::number(slot) << text;
        }
        begin(operation);
        day_.post();
        ReportLine(kDoneLine);
        closeDay();
    }

    void deleteDay() {
        const QString date = days_.takeAt(below(int(days_.size())));
        openDay(date);
        begin({QStringLiteral("day-delete"), {date}});
        day_.deleteRecord();
        ReportLine(kDoneLine);
        closeDay();
    }

    // The expenses window: one table, its rows sorted, new rows typed in.
    // Types new values into the current row and returns them.
    QStringList typeExpense(qint64 id) {
        const QStringList values = {
            TortureDay(below(kDayCount)), QString::number(below(10'000'000)),
            QString::number(below(2'400'000)),
            ExpenseDescription(id, serial_++, nextText(QStringLiteral("Αγορά")))};
        expenses_.setValue(kExpenseColumns.at(0), values.at(0));
        expenses_.setValue(kExpenseColumns.at(1), values.at(1).toLongLong());
        expenses_.setValue(kExpenseColumns.at(2), values.at(2).toLongLong());
        expenses_.setValue(kExpenseColumns.at(3), values.at(3));
        return values;
    }

    void writeExpense(qint64 id) {
        const QStringList values = typeExpense(id);
        begin({QStringLiteral("expense-write"), QStringList{QString::number(id)} + values});
        expenses_.post();
        ReportLine(kDoneLine);
    }

    // Faults the check must see: a row reported posted but dropped, and a
    // row posted but never reported.
    void misreportExpenses() {
        const qint64 dropped = serial_++;
        expenses_.insert();
        const QStringList values = typeExpense(dropped);
        expenses_.cancel();
        begin({QStringLiteral("expense-write"), QStringList{QString::number(dropped)} + values});
        ReportLine(kDoneLine);
        expenses_.insert();
        typeExpense(serial_++);
        expenses_.post();
    }

    void insertExpense() {
        expenses_.insert();
        writeExpense(serial_++);
    }

    void editExpense() {
        expenses_.moveTo(below(expenses_.recordCount()));
        writeExpense(ExpenseIdOf(expenses_.asString(kExpenseColumns.at(3))).toLongLong());
    }

    void deleteExpense() {
        expenses_.moveTo(below(expenses_.recordCount()));
        const QString id = ExpenseIdOf(expenses_.asString(kExpenseColumns.at(3)));
        begin({QStringLiteral("expense-delete"), {id}});
        expenses_.deleteRecord();
        ReportLine(kDoneLine);
    }

    QString connectionString_;
    std::mt19937_64 random_;
    qint64 serial_;
    store::Connection expensesConnection_;
    store::Table expenses_;
    store::Connection dayConnection_;
    store::Query day_;
    QStringList days_;
    ChildMode mode_;
};

// ---------------------------------------------------------------------------
// The parent: reading the file after a crash.

class DamagedFile : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

void ReadRows(store::Connection& connection, const QString& sql,
              const std::function<void(const Cells&)>& take) {
    store::Query query;
    query.setConnection(&connection);
    query.setSql(sql);
    query.open();
    for (int row = 0; row < query.recordCount(); ++row) {
        Cells cells;
        for (int column = 0; column < query.fieldCount(); ++column) {
            cells.append(CellOf(query.valueAt(row, column)));
        }
        take(cells);
    }
}

// Opens the file through the store, which rolls back what the killed child
// left half done, checks it and reads both tables.
TortureState ReadStoredState(const QString& connectionString) {
    TortureState state;
    store::Connection connection;
    try {
        connection.reopen(connectionString);
        const QString check =
            store::ScalarQuery(connection, QStringLiteral("PRAGMA integrity_check")).toString();
        if (check != QLatin1String("ok")) {
            throw DamagedFile(check.toStdString());
        }
        ReadRows(connection, QStringLiteral("SELECT * FROM RANTEBOU"), [&](const Cells& cells) {
            state.days.insert(cells.value(0).value_or(QString()), cells.mid(1));
        });
        ReadRows(connection,
                 QStringLiteral("SELECT %1 FROM EKSODA").arg(kExpenseColumns.join(u',')),
                 [&](const Cells& cells) {
                     QString id = ExpenseIdOf(cells.value(3).value_or(QString()));
                     while (state.expenses.contains(id)) {
                         id += QStringLiteral("+twice");
                     }
                     state.expenses.insert(id, cells);
                 });
    } catch (const store::DatabaseError& error) {
        throw DamagedFile(error.message().toStdString());
    }
    // The handle goes back to the pool and serves the next check: the engine
    // looks for a journal left by a crash at every read, however old the
    // handle, and the key derivation of a fresh open is the dearest part of
    // a check under the sanitizers. The children never inherit it: its file
    // is closed on exec and it holds no lock while idle.
    connection.close();
    return state;
}

struct Differences {
    int lost = 0;
    int unexpected = 0;
    QStringList details;

    bool none() const { return lost == 0 && unexpected == 0; }
};

void CompareTable(const QString& table, const QMap<QString, Cells>& expected,
                  const QMap<QString, Cells>& stored, Differences& differences) {
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        if (!stored.contains(it.key()) || stored.value(it.key()) != it.value()) {
            ++differences.lost;
            differences.details.append(
                QStringLiteral("%1 row %2 lost or changed").arg(table, it.key()));
        }
    }
    for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
        if (!expected.contains(it.key())) {
            ++differences.unexpected;
            differences.details.append(QStringLiteral("%1 row %2 unexpected").arg(table, it.key()));
        }
    }
}

Differences Compare(const TortureState& expected, const TortureState& stored) {
    Differences differences;
    CompareTable(QStringLiteral("RANTEBOU"), expected.days, stored.days, differences);
    CompareTable(QStringLiteral("EKSODA"), expected.expenses, stored.expenses, differences);
    return differences;
}

// ---------------------------------------------------------------------------
// The parent: running and killing the children.

class ChildProcess {
public:
    ChildProcess(const QByteArray& program, const QList<QByteArray>& arguments) {
        QList<QByteArray> owned = QList<QByteArray>{program} + arguments;
        std::vector<char*> argv;
        for (QByteArray& argument : owned) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            throw std::runtime_error("cannot make a pipe");
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(fds[1], STDOUT_FILENO);
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            ::execv(argv.front(), argv.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        if (pid_ < 0) {
            ::close(fds[0]);
            throw std::runtime_error("cannot start a child");
        }
        readFd_ = fds[0];
    }

    ~ChildProcess() {
        if (readFd_ >= 0) {
            ::close(readFd_);
        }
    }

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Reads what the child reports until the deadline; false at end of file.
    bool readUntil(Clock::time_point deadline) {
        for (;;) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() < 0) {
                return true;
            }
            pollfd entry{readFd_, POLLIN, 0};
            const int ready = ::poll(&entry, 1, int(left.count()));
            if (ready > 0 && !readAvailable()) {
                return false;
            }
        }
    }

    // Waits until the child has reported count lines that start with
    // first; false when it did not by the deadline.
    bool waitForLines(const QString& first, int count, Clock::time_point deadline) {
        while (linesStartingWith(first) < count && Clock::now() < deadline) {
            if (!readUntil(std::min(deadline, Clock::now() + std::chrono::milliseconds(10)))) {
                break;
            }
        }
        return linesStartingWith(first) >= count;
    }

    // Kills the child, reads what it wrote before it died and returns its
    // wait status.
    int killAndReap() {
        ::kill(pid_, SIGKILL);
        while (readAvailable()) {
        }
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        return status;
    }

    int linesStartingWith(const QString& first) const {
        int count = 0;
        for (const QString& line : lines()) {
            count += line.section(kFieldSeparator, 0, 0) == first ? 1 : 0;
        }
        return count;
    }

    QStringList lines() const {
        QStringList lines = QString::fromUtf8(received_).split(QLatin1Char('\n'));
        // A line cut short by the kill was never reported.
        lines.removeLast();
        return lines;
    }

private:
    bool readAvailable() {
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(readFd_, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            received_.append(buffer, n);
            return true;
        }
    }

    pid_t pid_ = -1;
    int readFd_ = -1;
    QByteArray received_;
};

struct TortureOptions {
    int kills = 1000;
    quint64 seed = 0;
    int maxDelayMs = 40;
    QString dataDir;
    QString emptyDatabase = QStringLiteral(ORGANIZER_EMPTY_DB);
    bool misreport = false;
    bool killRecovery = false;
};

struct TortureFigures {
    int kills = 0;
    qint64 posted = 0;
    int inFlightApplied = 0;
    int inFlightNotApplied = 0;
    int lost = 0;
    int unexpected = 0;
    int damaged = 0;
    int childFailures = 0;
    int openingChildren = 0;
    int killedWhileOpening = 0;
    int journalsLeft = 0;

    bool clean() const {
        return lost == 0 && unexpected == 0 && damaged == 0 && childFailures == 0;
    }
};

class TortureRun {
public:
    TortureRun(const TortureOptions& options, const QString& dataDir)
        : options_(options),
          dataDir_(dataDir),
          connectionString_(store::BuildConnectionString(dataDir)),
          program_(QFile::encodeName(QCoreApplication::applicationFilePath())),
          random_(options.seed) {}

    // A damaged file or a failed child ends the run; lost rows are counted
    // and the run goes on from what is stored.
    TortureFigures run() {
        for (int kill = 0;
             kill < options_.kills && figures_.damaged == 0 && figures_.childFailures == 0;
             ++kill) {
            runOneChild(kill);
        }
        return figures_;
    }

private:
    QList<QByteArray> childArguments(int kill, const QByteArray& mode) {
        QList<QByteArray> arguments = {"--child",
                                       "--data-dir",
                                       QFile::encodeName(dataDir_),
                                       "--seed",
                                       QByteArray::number(quint64(random_())),
                                       "--serial",
                                       QByteArray::number((qint64(kill) + 1) * 1'000'000)};
        if (!mode.isEmpty()) {
            arguments.append(mode);
        }
        return arguments;
    }

    std::chrono::microseconds randomDelay(std::chrono::microseconds longest) {
        return std::chrono::microseconds(
            std::uniform_int_distribution<qint64>(0, longest.count())(random_));
    }

    void requireKilled(int kill, int status) {
        if (!WIFSIGNALED(status) || WTERMSIG(status) != SIGKILL) {
            ++figures_.childFailures;
            Err() << "kill " << kill << ": the child ended by itself (status " << status << ")\n";
        }
    }

    void runOneChild(int kill) {
        ChildProcess child(program_,
                           childArguments(kill, options_.misreport ? "--misreport" : QByteArray()));
        const Clock::time_point started = Clock::now();
        if (!child.waitForLines(kReadyLine, 1, started + kChildStartLimit)) {
            ++figures_.childFailures;
            Err() << "kill " << kill << ": the child did not get ready\n";
        }
        if (openTime_.count() == 0) {
            openTime_ =
                std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started);
        }
        waitForRandomMoment(kill, child);
        const int status = child.killAndReap();
        ++figures_.kills;
        requireKilled(kill, status);
        std::optional<TortureOperation> inFlight = takeReported(child.lines());
        if (options_.killRecovery && std::uniform_int_distribution<int>(0, 3)(random_) == 0) {
            killOpeningChild(kill);
        }
        check(kill, inFlight);
    }

    // After a random number of operations has begun, a random delay as long
    // as two operations take at most, so that the kill falls anywhere in
    // one however slowly the disk syncs.
    void waitForRandomMoment(int kill, ChildProcess& child) {
        // A misreporting child starts none.
        const int operations = options_.misreport ? 0
                                                  : std::uniform_int_distribution<int>(
                                                        0, kMostOperationsBeforeKill)(random_);
        const Clock::time_point ready = Clock::now();
        if (!child.waitForLines(kBeginLine, operations, ready + kOperationLimit)) {
            ++figures_.childFailures;
            Err() << "kill " << kill << ": the child stopped before its operation " << operations
                  << '\n';
        }
        if (operations > 0) {
            operationTime_ =
                std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - ready) /
                operations;
        }
        const auto longest = std::max<std::chrono::microseconds>(
            std::chrono::milliseconds(options_.maxDelayMs), 2 * operationTime_);
        child.readUntil(Clock::now() + randomDelay(longest));
    }

    // A program killed while it opens the file, rolling back what the killed
    // one left half done, must leave the file as it would have found it.
    // The moment is drawn from the time the last such child needed to open.
    void killOpeningChild(int kill) {
        ChildProcess child(program_, childArguments(kill, "--open-only"));
        const Clock::time_point started = Clock::now();
        const bool opened = child.waitForLines(kReadyLine, 1, started + randomDelay(openTime_));
        if (opened) {
            openTime_ =
                std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started);
        }
        const int status = child.killAndReap();
        ++figures_.openingChildren;
        requireKilled(kill, status);
        if (!opened) {
            ++figures_.killedWhileOpening;
            if (QFile::exists(dataDir_ + QStringLiteral("/data.mdb-journal"))) {
                ++figures_.journalsLeft;
            }
        }
    }

    // Applies the operations the child reported done to the model; returns
    // the one it had begun but not reported.
    std::optional<TortureOperation> takeReported(const QStringList& lines) {
        std::optional<TortureOperation> pending;
        for (const QString& line : lines) {
            const QStringList fields = line.split(kFieldSeparator);
            if (fields.first() == kBeginLine) {
                pending = TortureOperation::parse(fields.mid(1));
            } else if (fields.first() == kDoneLine && pending) {
                pending->applyTo(expected_);
                ++figures_.posted;
                pending.reset();
            }
        }
        return pending;
    }

    void check(int kill, const std::optional<TortureOperation>& inFlight) {
        TortureState stored;
        try {
            stored = ReadStoredState(connectionString_);
        } catch (const DamagedFile& damage) {
            ++figures_.damaged;
            Err() << "kill " << kill << ": damaged file: " << damage.what() << '\n';
            return;
        }
        Differences differences = Compare(expected_, stored);
        if (inFlight) {
            TortureState applied = expected_;
            inFlight->applyTo(applied);
            const Differences ifApplied = Compare(applied, stored);
            if (ifApplied.none()) {
                ++figures_.inFlightApplied;
                differences = ifApplied;
            } else if (differences.none()) {
                ++figures_.inFlightNotApplied;
            } else if (ifApplied.details.size() < differences.details.size()) {
                differences = ifApplied;
            }
        }
        if (!differences.none()) {
            figures_.lost += differences.lost;
            figures_.unexpected += differences.unexpected;
            Err() << "kill " << kill << ": " << differences.details.join(QLatin1String("; "))
                  << '\n';
        }
        // Later kills are measured from what is stored now.
        expected_ = stored;
    }

    TortureOptions options_;
    QString dataDir_;
    QString connectionString_;
    QByteArray program_;
    std::mt19937_64 random_;
    TortureState expected_;
    TortureFigures figures_;
    // How long a child needs from its start until the file is open.
    std::chrono::microseconds openTime_{0};
    // How long one operation of the last child took on average.
    std::chrono::microseconds operationTime_{0};
};

void PrintFigures(const TortureFigures& figures, qint64 elapsedMs) {
    QTextStream out(stdout);
    out << "kills: " << figures.kills << '\n'
        << "operations posted: " << figures.posted << '\n'
        << "operations in flight at a kill: "
        << figures.inFlightApplied + figures.inFlightNotApplied << " (applied "
        << figures.inFlightApplied << ", not applied " << figures.inFlightNotApplied << ")\n"
        << "lost or changed rows: " << figures.lost << '\n'
        << "unexpected rows: " << figures.unexpected << '\n'
        << "damaged files: " << figures.damaged << '\n'
        << "children killed while opening the file: " << figures.killedWhileOpening << " of "
        << figures.openingChildren << " (a journal was left behind by " << figures.journalsLeft
        << ")\n"
        << "children that failed: " << figures.childFailures << '\n'
        << "run time: " << QString::number(double(elapsedMs) / 1000.0, 'f', 1) << " s\n";
}

// The folder the run works in holds a fresh copy of the shipped empty file;
// a folder named by the user must not hold a data.mdb already.
QString PrepareDataDir(const TortureOptions& options, QTemporaryDir& temporary) {
    QString dir = options.dataDir;
    if (dir.isEmpty()) {
        if (!temporary.isValid()) {
            throw std::runtime_error("cannot make a temporary folder");
        }
        dir = temporary.path();
    }
    dir = QDir(dir).absolutePath();
    QDir().mkpath(dir);
    const QString database = dir + QLatin1Char('/') + store::kDatabaseFileName;
    if (QFile::exists(database)) {
        throw std::runtime_error(QFile::encodeName(database).toStdString() + " exists already");
    }
    if (!QFile::copy(options.emptyDatabase, database)) {
        throw std::runtime_error("cannot copy " +
                                 QFile::encodeName(options.emptyDatabase).toStdString());
    }
    QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner);
    return dir;
}

int RunParent(const TortureOptions& options) {
    QTemporaryDir temporary;
    const QString dataDir = PrepareDataDir(options, temporary);
    QTextStream(stdout) << "seed " << options.seed << ", data in " << dataDir << '\n';
    QElapsedTimer timer;
    timer.start();
    TortureRun run(options, dataDir);
    const TortureFigures figures = run.run();
    PrintFigures(figures, timer.elapsed());
    return figures.clean() ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Kills a process posting rows to data.mdb at random moments and checks "
                       "that the file stays whole and keeps every posted row."));
    parser.addHelpOption();
    const QCommandLineOption kills(QStringLiteral("kills"), QStringLiteral("Kills to make."),
                                   QStringLiteral("N"), QStringLiteral("1000"));
    const QCommandLineOption seed(
        QStringLiteral("seed"), QStringLiteral("Seed of the random choices."), QStringLiteral("S"));
    const QCommandLineOption dataDir(
        QStringLiteral("data-dir"),
        QStringLiteral("Folder to work in (kept afterwards); a temporary one by default."),
        QStringLiteral("DIR"));
    const QCommandLineOption maxDelay(QStringLiteral("max-delay-ms"),
                                      QStringLiteral("Longest wait for the kill once the chosen "
                                                     "operation has begun (at least the time of "
                                                     "two operations)."),
                                      QStringLiteral("MS"), QStringLiteral("40"));
    const QCommandLineOption emptyDatabase(QStringLiteral("empty-db"),
                                           QStringLiteral("The shipped empty data.mdb."),
                                           QStringLiteral("PATH"));
    QCommandLineOption child(QStringLiteral("child"));
    QCommandLineOption serial(QStringLiteral("serial"), QString(), QStringLiteral("N"));
    // Shows that the check sees faults: each child reports a row it never
    // writes and writes one it never reports.
    QCommandLineOption misreport(QStringLiteral("misreport"));
    QCommandLineOption openOnly(QStringLiteral("open-only"));
    for (QCommandLineOption* hidden : {&child, &serial, &misreport, &openOnly}) {
        hidden->setFlags(QCommandLineOption::HiddenFromHelp);
    }
    const QCommandLineOption killRecovery(
        QStringLiteral("kill-recovery"),
        QStringLiteral("After one kill in four, kill a second child while it opens the file and "
                       "rolls back what the first left half done."));
    parser.addOptions({kills, seed, dataDir, maxDelay, emptyDatabase, killRecovery, child, serial,
                       misreport, openOnly});
    parser.process(application);

    try {
        if (parser.isSet(child)) {
            TortureChild(parser.value(dataDir), parser.value(seed).toULongLong(),
                         parser.value(serial).toLongLong(),
                         parser.isSet(misreport)  ? ChildMode::Misreport
                         : parser.isSet(openOnly) ? ChildMode::Open
                                                  : ChildMode::Post)
                .run();
        }
        TortureOptions options;
        options.kills = parser.value(kills).toInt();
        options.seed =
            parser.isSet(seed) ? parser.value(seed).toULongLong() : quint64(std::random_device()());
        options.maxDelayMs = qMax(1, parser.value(maxDelay).toInt());
        options.dataDir = parser.value(dataDir);
        options.misreport = parser.isSet(misreport);
        options.killRecovery = parser.isSet(killRecovery);
        if (parser.isSet(emptyDatabase)) {
            options.emptyDatabase = parser.value(emptyDatabase);
        }
        return RunParent(options);
    } catch (const store::DatabaseError& error) {
        Err() << "store-torture: " << error.message() << '\n';
    } catch (const std::exception& error) {
        Err() << "store-torture: " << error.what() << '\n';
    }
    return 3;
}
