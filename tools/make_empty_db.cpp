// Writes the empty data.mdb that the program ships with: the six tables of
// the organizer, encrypted with the database password.
#include <QCoreApplication>
#include <QTextStream>

#include "store/DatabaseError.h"
#include "store/Schema.h"

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        QTextStream(stderr) << "usage: make-empty-db PATH\n";
        return 2;
    }
    try {
        store::CreateEmptyDatabase(arguments.at(1));
    } catch (const store::DatabaseError& error) {
        QTextStream(stderr) << "make-empty-db: " << error.message() << '\n';
        return 1;
    }
    return 0;
}
